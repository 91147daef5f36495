#include "Holdings.h"

#include "PackedValues.h"
#include "ReadOnlyDatabase.h"

namespace korvat::kontrol {

namespace {

constexpr qint64 progressStep = 50000;

QStringList columnList(std::initializer_list<const char*> names)
{
    QStringList list;
    for (const char* name : names)
        list << QString::fromLatin1(name);
    return list;
}

QString selectOf(const QStringList& leading, const QStringList& columns, const QStringList& trailing,
                 const QString& table, const QString& rest = {})
{
    return QStringLiteral("select %1 from %2 %3")
        .arg((leading + columns + trailing).join(QLatin1Char(',')), table, rest);
}

// Reads a master table: optionally its key first, then the copied columns,
// then the source's amounts.
std::vector<MasterRow> readMaster(
    ReadOnlyDatabase& database, const QString& table, const QString& keyColumn, const QStringList& columns,
    const QStringList& amounts, const QString& rest, const QString& what, const Progress& progress,
    const std::function<void(MasterRow&, const SqlDescriptorArea&, int)>& extra = {})
{
    std::vector<MasterRow> rows;
    const bool keyed = !keyColumn.isEmpty();
    const QStringList leading = keyed ? QStringList{keyColumn} : QStringList{};
    const int first = keyed ? 1 : 0;
    database.select(table, selectOf(leading, columns, amounts, table, rest),
                    [&](const SqlDescriptorArea& area) {
                        MasterRow row;
                        if (keyed)
                            row.key = integerColumn(area, 0).value_or(0);
                        row.copied = packColumns(area, first, int(columns.size()));
                        row.code = packColumns(area, first, 1);
                        if (extra)
                            extra(row, area, first + int(columns.size()));
                        rows.push_back(std::move(row));
                        if (progress && rows.size() % progressStep == 0)
                            progress(what, qint64(rows.size()));
                    });
    return rows;
}

// The first positive of the last purchase price, the purchase price and the cost.
std::optional<double> openingPrice(const SqlDescriptorArea& area, int first)
{
    for (int index = first; index < first + 3; ++index)
        if (const std::optional<double> price = numberColumn(area, index); price && *price > 0)
            return price;
    return std::nullopt;
}

std::vector<Entry> readStockEntries(ReadOnlyDatabase& database)
{
    std::vector<Entry> entries;
    database.select(QStringLiteral("T_STOK_HAREKET"),
                    QStringLiteral("select ID, STOK_ID, TURU_ID, KAYIT_ID, FIYAT, TARIH, GIREN "
                                   "from T_STOK_HAREKET where TURU_ID = 8"),
                    [&](const SqlDescriptorArea& area) {
                        Entry entry;
                        entry.id = integerColumn(area, 0).value_or(0);
                        entry.owner = integerColumn(area, 1);
                        entry.type = valueColumn(area, 2);
                        entry.record = valueColumn(area, 3);
                        entry.price = valueColumn(area, 4);
                        entry.when = timestampColumn(area, 5);
                        entry.in = valueColumn(area, 6);
                        entries.push_back(std::move(entry));
                    });
    return entries;
}

std::vector<Entry> readAccountEntries(ReadOnlyDatabase& database)
{
    std::vector<Entry> entries;
    database.select(QStringLiteral("T_DEKONT_HAREKET"),
                    QStringLiteral("select ID, CARI_ID, TURU_ID, TARIH, GIREN, CIKAN from T_DEKONT_HAREKET"),
                    [&](const SqlDescriptorArea& area) {
                        Entry entry;
                        entry.id = integerColumn(area, 0).value_or(0);
                        entry.owner = integerColumn(area, 1);
                        entry.type = valueColumn(area, 2);
                        entry.when = timestampColumn(area, 3);
                        entry.in = valueColumn(area, 4);
                        entry.out = valueColumn(area, 5);
                        entries.push_back(std::move(entry));
                    });
    return entries;
}

const QString grubuTable = QStringLiteral("T_GRUBU");
const QString stokTable = QStringLiteral("T_STOK");
const QString cariTable = QStringLiteral("T_CARI");

}  // namespace

const QStringList& groupColumns()
{
    static const QStringList columns = columnList({"GRUBU", "SIRA_NO", "KISA_YOL"});
    return columns;
}

const QStringList& cardColumns()
{
    static const QStringList columns =
        columnList({"STOK_KODU",     "STOK_ADI",     "GRUBU",      "EK_MENU",       "SATIS_FIYATI",
                    "ALIS_FIYATI",   "SIRA_NO",      "RESIM_YERI", "BIRIM",         "STOK_TIPI",
                    "AKTIFLIK",      "BARKOD",       "KISA_YOL",   "KDV",           "SATIS_ISKONTO",
                    "ALIS_ISKONTO",  "A_KDV",        "S_KDV",      "ACIKLAMA",      "KAR_MARJI",
                    "YERLI_URUN_FT", "AGIRLIK_TIPI", "TERAZI_PLU", "KRITIK_SEVIYE", "BIRIM_AGIRLIK_FIYAT",
                    "AGIRLIK",       "KAPMANYA",     "KMP_M",      "KMP_M2"});
    return columns;
}

const QStringList& accountColumns()
{
    static const QStringList columns =
        columnList({"CARI_KODU", "CARI_ADI", "TELEFON", "TELEFON2", "VERGI_NO", "VERGI_DAIRESI", "ADRES",
                    "ADRES2", "ACIKLAMA", "AKTIFLIK"});
    return columns;
}

Holdings readSource(ReadOnlyDatabase& database, const Progress& progress)
{
    Holdings holdings;
    const QString active = QStringLiteral("where AKTIFLIK = 1 order by 1");
    holdings.groups = readMaster(database, grubuTable, QStringLiteral("GRUBU_ID"), groupColumns(), {},
                                 QStringLiteral("order by 1"), QStringLiteral("gruplar"), progress);
    holdings.cards = readMaster(database, stokTable, QStringLiteral("STOK_ID"), cardColumns(),
                                columnList({"ENVANTER", "SON_ALIS", "ALIS_FIYATI", "MALIYET"}), active,
                                QStringLiteral("stok kartları"), progress,
                                [](MasterRow& row, const SqlDescriptorArea& area, int at) {
                                    row.amount = numberColumn(area, at).value_or(0);
                                    row.price = openingPrice(area, at + 1);
                                });
    holdings.accounts = readMaster(database, cariTable, QStringLiteral("CARI_ID"), accountColumns(),
                                   columnList({"BAKIYE"}), active, QStringLiteral("cari hesaplar"), progress,
                                   [](MasterRow& row, const SqlDescriptorArea& area, int at) {
                                       row.amount = numberColumn(area, at).value_or(0);
                                   });
    return holdings;
}

Holdings readTarget(ReadOnlyDatabase& database, const Progress& progress)
{
    Holdings holdings;
    const QString byKey = QStringLiteral("order by 1");
    holdings.groups = readMaster(database, grubuTable, QStringLiteral("GRUBU_ID"), groupColumns(), {}, byKey,
                                 QStringLiteral("gruplar"), progress);
    holdings.cards = readMaster(database, stokTable, QStringLiteral("STOK_ID"), cardColumns(), {}, byKey,
                                QStringLiteral("stok kartları"), progress);
    holdings.accounts = readMaster(database, cariTable, QStringLiteral("CARI_ID"), accountColumns(), {},
                                   byKey, QStringLiteral("cari hesaplar"), progress);
    holdings.stockEntries = readStockEntries(database);
    holdings.accountEntries = readAccountEntries(database);
    return holdings;
}

}  // namespace korvat::kontrol
