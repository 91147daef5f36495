#include "CarriedDatabases.h"

using namespace Qt::StringLiterals;

namespace korvat::test {

namespace {

using Row = QList<QPair<QString, QVariant>>;

const QString kStok = QString::fromLatin1(kStokTable);
const QString kCari = QString::fromLatin1(kCariTable);
const QString kGrubu = QString::fromLatin1(kGrubuTable);
const QString kStokHareket = QString::fromLatin1(kStokHareketTable);
const QString kDekontHareket = QString::fromLatin1(kDekontHareketTable);

QString name(const char* text)
{
    return QString::fromLatin1(text);
}

// The columns a transfer copies: every one but the key and those it leaves empty.
QStringList copiedColumns(const QString& table)
{
    QStringList columns = tableDef(table).columnNames();
    const QStringList notCopied = {name("GRUBU_ID"), name("STOK_ID"), name("STOK_TIPI_ID"), name("GIREN"),
                                   name("CIKAN"), name("ENVANTER"), name("MALIYET"), name("SATIS_FIYATI_2"),
                                   name("SON_ALIS"), name("SON_SATIS"), name("CARI_ID"), name("BORC"),
                                   name("ALACAK"), name("BAKIYE")};
    for (const QString& column : notCopied)
        columns.removeAll(column);
    return columns;
}

void card(TestDatabase& db, int id, const char* code, const QString& title, QVariant stock, QVariant lastPurchase,
          QVariant purchase, QVariant cost, int active = 1)
{
    db.insertRow(kStok, Row{{name("STOK_ID"), id},        {name("STOK_KODU"), QString::fromUtf8(code)},
                            {name("STOK_ADI"), title},    {name("GRUBU"), u"İçecekler"_s},
                            {name("SATIS_FIYATI"), 12.5 + id}, {name("KDV"), 20.0},
                            {name("ENVANTER"), stock},    {name("SON_ALIS"), lastPurchase},
                            {name("ALIS_FIYATI"), purchase}, {name("MALIYET"), cost},
                            {name("SIRA_NO"), id},        {name("AKTIFLIK"), active}});
}

void account(TestDatabase& db, int id, const char* code, const QString& title, QVariant balance, int active = 1)
{
    db.insertRow(kCari, Row{{name("CARI_ID"), id},     {name("CARI_KODU"), QString::fromLatin1(code)},
                            {name("CARI_ADI"), title}, {name("TELEFON"), u"0216 555 00 0%1"_s.arg(id)},
                            {name("BAKIYE"), balance}, {name("AKTIFLIK"), active}});
}

double numberOrZero(const QVariant& value)
{
    return value.isNull() ? 0.0 : value.toDouble();
}

// Copies the source's rows of a table into the target under keys from 100.
// Returns, per carried row, its new key and the source row's values of `extra`.
QList<QPair<int, QVariantList>> carry(TestDatabase& source, TestDatabase& target, const QString& table,
                                      const QString& key, const QString& where, const QStringList& extra)
{
    const QStringList copied = copiedColumns(table);
    const QList<QVariantList> rows = source.query(
        u"select %1 from %2 %3 order by %4"_s.arg((copied + extra).join(QLatin1Char(',')), table, where, key));
    const QString insert = u"insert into %1 (%2,%3) values (?%4)"_s
                               .arg(table, key, copied.join(QLatin1Char(',')), u",?"_s.repeated(copied.size()));
    QList<QPair<int, QVariantList>> carried;
    int newKey = 100;
    for (const QVariantList& row : rows) {
        target.exec(insert, QVariantList{newKey} + row.mid(0, copied.size()));
        carried.append({newKey++, row.mid(copied.size())});
    }
    return carried;
}

}  // namespace

void createCarryOverSource(const QString& path)
{
    TestDatabase db = TestDatabase::create(path);
    db.insertRow(kGrubu, {{name("GRUBU_ID"), 1}, {name("GRUBU"), u"İçecekler"_s}, {name("SIRA_NO"), 1},
                          {name("KISA_YOL"), u"F1"_s}});
    db.insertRow(kGrubu, {{name("GRUBU_ID"), 2}, {name("GRUBU"), u"Şarküteri"_s}, {name("SIRA_NO"), 2}});
    db.insertRow(kGrubu, {{name("GRUBU_ID"), 3}, {name("GRUBU"), u"Temizlik"_s}});
    card(db, 1, "ÇY-01", u"Çaykur Rize Turist"_s, 10.0, 9.0, 8.0, 7.5);
    card(db, 2, "PY-02", u"Beyaz Peynir"_s, -3.0, 0.0, QVariant(), 60.25);
    card(db, 3, "SM-03", u"Simit"_s, 0.0, QVariant(), QVariant(), QVariant());
    card(db, 4, "KP-04", u"Pasif kart"_s, 5.0, 1.0, 1.0, 1.0, 0);
    card(db, 5, "SU-05", u"Su 5 lt"_s, 24.0, QVariant(), 5.5, QVariant());
    account(db, 1, "C001", u"Ahmet Yılmaz"_s, -84.5);
    account(db, 2, "C002", u"Ayşe Demir"_s, 150.0);
    account(db, 3, "C003", u"Mehmet Öztürk"_s, 0.0);
    account(db, 4, "C004", u"Fatma Şahin"_s, QVariant());
    account(db, 5, "C005", u"Pasif Cari"_s, 20.0, 0);
}

void createCarriedTarget(const QString& sourcePath, const QString& targetPath, const CarriedTarget& options)
{
    TestDatabase source = TestDatabase::attach(sourcePath);
    TestDatabase target = TestDatabase::create(targetPath);

    // Rows of the target's own, opened a year earlier.
    const QDateTime lastYear(kCarryOverDate.addYears(-1), QTime(0, 0));
    target.insertRow(kGrubu, {{name("GRUBU_ID"), 1}, {name("GRUBU"), u"Eski Grup"_s}});
    target.insertRow(kStok, {{name("STOK_ID"), 1}, {name("STOK_KODU"), u"ESKI-1"_s}, {name("AKTIFLIK"), 1}});
    target.insertRow(kCari, {{name("CARI_ID"), 1}, {name("CARI_KODU"), u"ESKI-C"_s}, {name("AKTIFLIK"), 1}});
    target.exec(u"insert into T_STOK_HAREKET (STOK_ID,TURU_ID,KAYIT_ID,FIYAT,TARIH,GIREN) values (1,8,1,2.0,?,3.0)"_s,
                {lastYear});
    target.exec(u"insert into T_DEKONT_HAREKET (CARI_ID,TURU_ID,TARIH,GIREN,CIKAN) values (1,1,?,5.0,0.0)"_s,
                {lastYear});

    carry(source, target, kGrubu, name("GRUBU_ID"), QString(), {});
    const auto cards = carry(source, target, kStok, name("STOK_ID"), u"where AKTIFLIK = 1"_s,
                             {name("ENVANTER"), name("SON_ALIS"), name("ALIS_FIYATI"), name("MALIYET")});
    for (const auto& [key, values] : cards) {
        const double stock = numberOrZero(values[0]);
        if (options.positiveStockOnly && !(stock > 0))
            continue;
        QVariant price;
        for (int i = 1; i <= 3 && price.isNull(); ++i)
            if (numberOrZero(values[i]) > 0)
                price = values[i];
        target.exec(u"insert into T_STOK_HAREKET (STOK_ID,TURU_ID,KAYIT_ID,FIYAT,TARIH,GIREN) "
                     "values (?,8,1,?,?,?)"_s,
                    {key, price, QDateTime(kCarryOverDate, QTime(0, 0)), stock});
    }
    const auto accounts = carry(source, target, kCari, name("CARI_ID"), u"where AKTIFLIK = 1"_s,
                                {name("BAKIYE")});
    for (const auto& [key, values] : accounts) {
        const double balance = numberOrZero(values[0]);
        const QVariant type = balance > 0 ? QVariant(1) : balance < 0 ? QVariant(2) : QVariant();
        const QVariant in = balance > 0 ? QVariant(balance) : balance < 0 ? QVariant(0.0) : QVariant();
        const QVariant out = balance > 0 ? QVariant(0.0) : balance < 0 ? QVariant(-balance) : QVariant();
        target.exec(u"insert into T_DEKONT_HAREKET (CARI_ID,TURU_ID,TARIH,GIREN,CIKAN) values (?,?,?,?,?)"_s,
                    {key, type, kAccountEntryTime, in, out});
    }
}

int targetKey(TestDatabase& target, const QString& table, const QString& code)
{
    const bool cards = table == kStok;
    return target
        .scalar(u"select %1 from %2 where %3 = ?"_s
                    .arg(cards ? name("STOK_ID") : name("CARI_ID"), table, cards ? name("STOK_KODU") : name("CARI_KODU")),
                {code})
        .toInt();
}

}  // namespace korvat::test
