#include "CarriedDatabases.h"

#include "MasterRows.h"

using namespace Qt::StringLiterals;

namespace korvat::test {

namespace {

const QString kStok = QString::fromLatin1(kStokTable);
const QString kCari = QString::fromLatin1(kCariTable);
const QString kGrubu = QString::fromLatin1(kGrubuTable);

// The columns a transfer copies: every one but the key and those it leaves empty.
QStringList copiedColumns(const QString& table)
{
    QStringList columns = tableDef(table).columnNames();
    const QStringList notCopied = {u"GRUBU_ID"_s, u"STOK_ID"_s,   u"STOK_TIPI_ID"_s, u"GIREN"_s,
                                   u"CIKAN"_s,    u"ENVANTER"_s,  u"MALIYET"_s,      u"SATIS_FIYATI_2"_s,
                                   u"SON_ALIS"_s, u"SON_SATIS"_s, u"CARI_ID"_s,      u"BORC"_s,
                                   u"ALACAK"_s,   u"BAKIYE"_s};
    for (const QString& column : notCopied)
        columns.removeAll(column);
    return columns;
}

void card(TestDatabase& db, int id, const char* code, const QString& title, QVariant stock,
          QVariant lastPurchase, QVariant purchase, QVariant cost, int active = 1)
{
    addCard(db, id,
            {{u"STOK_KODU"_s, QString::fromUtf8(code)},
             {u"STOK_ADI"_s, title},
             {u"GRUBU"_s, u"İçecekler"_s},
             {u"SATIS_FIYATI"_s, 12.5 + id},
             {u"KDV"_s, 20.0},
             {u"ENVANTER"_s, stock},
             {u"SON_ALIS"_s, lastPurchase},
             {u"ALIS_FIYATI"_s, purchase},
             {u"MALIYET"_s, cost},
             {u"SIRA_NO"_s, id}},
            active);
}

void account(TestDatabase& db, int id, const char* code, const QString& title, QVariant balance,
             int active = 1)
{
    addAccount(db, id,
               {{u"CARI_KODU"_s, QString::fromLatin1(code)},
                {u"CARI_ADI"_s, title},
                {u"TELEFON"_s, u"0216 555 00 0%1"_s.arg(id)},
                {u"BAKIYE"_s, balance}},
               active);
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
    const QList<QVariantList> rows = source.query(u"select %1 from %2 %3 order by %4"_s.arg(
        (copied + extra).join(QLatin1Char(',')), table, where, key));
    const QString insert = u"insert into %1 (%2,%3) values (?%4)"_s.arg(
        table, key, copied.join(QLatin1Char(',')), u",?"_s.repeated(copied.size()));
    QList<QPair<int, QVariantList>> carried;
    int newKey = 100;
    for (const QVariantList& row : rows) {
        target.exec(insert, QVariantList{newKey} + row.mid(0, copied.size()));
        carried.append({newKey++, row.mid(copied.size())});
    }
    return carried;
}

}  // namespace

void createCarryOverSource(const QString& path, const QString& characterSet)
{
    TestDatabase db = TestDatabase::create(path, SchemaOptions{.characterSet = characterSet});
    addGroup(db, 1, {{u"GRUBU"_s, u"İçecekler"_s}, {u"SIRA_NO"_s, 1}, {u"KISA_YOL"_s, u"F1"_s}});
    addGroup(db, 2, {{u"GRUBU"_s, u"Şarküteri"_s}, {u"SIRA_NO"_s, 2}});
    addGroup(db, 3, {{u"GRUBU"_s, u"Temizlik"_s}});
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
    TestDatabase target =
        TestDatabase::create(targetPath, SchemaOptions{.characterSet = options.characterSet});

    // Rows of the target's own, opened a year earlier.
    const QDateTime lastYear(kCarryOverDate.addYears(-1), QTime(0, 0));
    addGroup(target, 1, {{u"GRUBU"_s, u"Eski Grup"_s}});
    addCard(target, 1, {{u"STOK_KODU"_s, u"ESKI-1"_s}});
    addAccount(target, 1, {{u"CARI_KODU"_s, u"ESKI-C"_s}});
    target.exec(
        u"insert into T_STOK_HAREKET (STOK_ID,TURU_ID,KAYIT_ID,FIYAT,TARIH,GIREN) values (1,8,1,2.0,?,3.0)"_s,
        {lastYear});
    target.exec(u"insert into T_DEKONT_HAREKET (CARI_ID,TURU_ID,TARIH,GIREN,CIKAN) values (1,1,?,5.0,0.0)"_s,
                {lastYear});

    carry(source, target, kGrubu, u"GRUBU_ID"_s, QString(), {});
    const auto cards = carry(source, target, kStok, u"STOK_ID"_s, u"where AKTIFLIK = 1"_s,
                             {u"ENVANTER"_s, u"SON_ALIS"_s, u"ALIS_FIYATI"_s, u"MALIYET"_s});
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
    const auto accounts = carry(source, target, kCari, u"CARI_ID"_s, u"where AKTIFLIK = 1"_s, {u"BAKIYE"_s});
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
        .scalar(u"select %1 from %2 where %3 = ?"_s.arg(cards ? u"STOK_ID"_s : u"CARI_ID"_s, table,
                                                        cards ? u"STOK_KODU"_s : u"CARI_KODU"_s),
                {code})
        .toInt();
}

}  // namespace korvat::test
