// The checks of Korvat_Kontrol in process, against a correctly carried target
// spoiled in one way per test: each fault is found, and reported once.
#include "Kontrol.h"
#include "CarriedDatabases.h"
#include "LoopbackServer.h"
#include "TestWorkspace.h"

#include <QFile>
#include <gtest/gtest.h>

using korvat::kontrol::Area;
using korvat::kontrol::Difference;
using korvat::kontrol::DifferenceKind;
using korvat::kontrol::Options;
using korvat::kontrol::Outcome;
using korvat::kontrol::StockEntries;
using korvat::test::TestDatabase;

namespace {

std::string listed(const Outcome& outcome)
{
    std::string text;
    for (const Difference& d : outcome.differences)
        text += (korvat::kontrol::differenceLabel(d.kind, d.area) + u": "_s + d.code + u" "_s + d.field +
                 u" «"_s + d.sourceValue + u"» «"_s + d.targetValue + u"»\n"_s)
                    .toStdString();
    return text;
}

class KontrolTest : public ::testing::Test, protected korvat::test::TestWorkspace {
protected:
    void SetUp() override
    {
        korvat::test::createCarryOverSource(sourcePath);
        korvat::test::createCarriedTarget(sourcePath, targetPath);
        options.source = sourcePath;
        options.target = targetPath;
        options.stockEntries = StockEntries::All;
    }

    Outcome check()
    {
        QString progress;
        QTextStream stream(&progress);
        return korvat::kontrol::checkDatabases(options, stream);
    }

    // Runs the whole check as the program does; output and errors kept.
    int run()
    {
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        return korvat::kontrol::runKontrol(options, outStream, errStream);
    }

    void spoil(const QString& sql, const QVariantList& parameters = {})
    {
        attachTarget().exec(sql, parameters);
    }

    int key(const char* table, const char* code)
    {
        TestDatabase target = attachTarget();
        return korvat::test::targetKey(target, QString::fromLatin1(table), QString::fromUtf8(code));
    }

    // The check finds exactly one difference, of this kind, on this code.
    void expectOnly(DifferenceKind kind, Area area, const QString& code, const QString& field = {})
    {
        const Outcome outcome = check();
        ASSERT_EQ(outcome.differences.size(), 1u) << listed(outcome);
        const Difference& found = outcome.differences.front();
        EXPECT_EQ(found.kind, kind) << listed(outcome);
        EXPECT_EQ(found.area, area) << listed(outcome);
        EXPECT_EQ(found.code, code) << listed(outcome);
        EXPECT_EQ(found.field, field) << listed(outcome);
    }

    Options options;
    QString out, err;
};

TEST_F(KontrolTest, aCorrectlyCarriedTargetChecksCleanOnTheDateOfItsNewestOpeningEntries)
{
    const Outcome outcome = check();
    EXPECT_TRUE(outcome.differences.empty()) << listed(outcome);
    EXPECT_EQ(outcome.date, korvat::test::kCarryOverDate);
    EXPECT_EQ(outcome.totals.cards.found, 4);
    EXPECT_EQ(outcome.totals.accounts.found, 4);
    EXPECT_EQ(outcome.totals.sourceStock, 31.0);
    EXPECT_EQ(outcome.totals.targetBalance, 65.5);
}

TEST_F(KontrolTest, aWin1254SourceCarriedIntoAUtf8TargetChecksClean)
{
    QFile::remove(sourcePath);
    QFile::remove(targetPath);
    korvat::test::createCarryOverSource(sourcePath, u"WIN1254"_s);
    korvat::test::createCarriedTarget(sourcePath, targetPath, {.characterSet = u"UTF8"_s});
    const Outcome outcome = check();
    EXPECT_TRUE(outcome.differences.empty()) << listed(outcome);
}

TEST_F(KontrolTest, aMissingCardIsFound)
{
    const int card = key("T_STOK", "PY-02");
    spoil(u"delete from T_STOK_HAREKET where STOK_ID = ?"_s, {card});
    spoil(u"delete from T_STOK where STOK_ID = ?"_s, {card});
    expectOnly(DifferenceKind::Missing, Area::Cards, u"PY-02"_s);
}

TEST_F(KontrolTest, aChangedPriceIsFoundWithBothValues)
{
    spoil(u"update T_STOK set SATIS_FIYATI = 99 where STOK_KODU = 'SM-03'"_s);
    expectOnly(DifferenceKind::FieldDiffers, Area::Cards, u"SM-03"_s, u"SATIS_FIYATI"_s);
    const Difference found = check().differences.front();
    EXPECT_EQ(found.sourceValue, u"15,5"_s);
    EXPECT_EQ(found.targetValue, u"99"_s);
}

TEST_F(KontrolTest, aCardCarriedTwiceIsReportedAsSuchWithItsSecondEntry)
{
    const int card = key("T_STOK", "SU-05");
    spoil(u"insert into T_STOK "
          u"(STOK_ID,STOK_KODU,STOK_ADI,GRUBU,SATIS_FIYATI,KDV,ALIS_FIYATI,SIRA_NO,AKTIFLIK) "
          "select 500,STOK_KODU,STOK_ADI,GRUBU,SATIS_FIYATI,KDV,ALIS_FIYATI,SIRA_NO,AKTIFLIK "
          "from T_STOK where STOK_ID = ?"_s,
          {card});
    spoil(u"insert into T_STOK_HAREKET (STOK_ID,TURU_ID,KAYIT_ID,FIYAT,TARIH,GIREN) "
          "select 500,TURU_ID,KAYIT_ID,FIYAT,TARIH,GIREN from T_STOK_HAREKET where STOK_ID = ?"_s,
          {card});
    expectOnly(DifferenceKind::CarriedTwice, Area::Cards, u"SU-05"_s, u"anahtar"_s);
}

TEST_F(KontrolTest, anEntryOnAnotherCardIsOneDifference)
{
    // ÇY-01's entry written on the target's own card.
    spoil(u"update T_STOK_HAREKET set STOK_ID = 1 where STOK_ID = ?"_s, {key("T_STOK", "ÇY-01")});
    expectOnly(DifferenceKind::EntryOnWrongRow, Area::Cards, u"ÇY-01"_s, u"STOK_ID"_s);
}

TEST_F(KontrolTest, aWrongBalanceIsFound)
{
    spoil(u"update T_DEKONT_HAREKET set CIKAN = 80 where CARI_ID = ?"_s, {key("T_CARI", "C001")});
    expectOnly(DifferenceKind::WrongBalance, Area::Accounts, u"C001"_s, u"BAKIYE"_s);
}

TEST_F(KontrolTest, anInactiveCarriedAccountIsFound)
{
    spoil(u"update T_CARI set AKTIFLIK = 0 where CARI_KODU = 'C002'"_s);
    expectOnly(DifferenceKind::Inactive, Area::Accounts, u"C002"_s, u"AKTIFLIK"_s);
}

TEST_F(KontrolTest, aMissingGroupIsFound)
{
    spoil(u"delete from T_GRUBU where GRUBU = ?"_s, {u"Şarküteri"_s});
    expectOnly(DifferenceKind::Missing, Area::Groups, u"Şarküteri"_s);
}

TEST_F(KontrolTest, aZeroBalanceWhoseEntryTheTargetRefusedChecksClean)
{
    spoil(u"delete from T_DEKONT_HAREKET where CARI_ID = ?"_s, {key("T_CARI", "C003")});
    const Outcome outcome = check();
    EXPECT_TRUE(outcome.differences.empty()) << listed(outcome);
}

TEST_F(KontrolTest, withPositiveStocksOnlyTheOtherCardsNeedNoEntry)
{
    options.target = path(u"POZITIF.FDB"_s);
    korvat::test::createCarriedTarget(sourcePath, options.target, {true});
    options.stockEntries = StockEntries::PositiveOnly;
    const Outcome outcome = check();
    EXPECT_TRUE(outcome.differences.empty()) << listed(outcome);
    EXPECT_EQ(outcome.totals.stockEntries.expected, 2);
}

TEST_F(KontrolTest, aTargetOnAServerIsCheckedThroughIt)
{
    options.target = korvat::test::loopbackServer().unusedRemoteName(u"kontrol-hedef.fdb"_s);
    korvat::test::createCarriedTarget(sourcePath, options.target);
    TestDatabase::attach(options.target).exec(u"delete from T_GRUBU where GRUBU = ?"_s, {u"Temizlik"_s});
    EXPECT_EQ(run(), korvat::kontrol::Differs) << err.toStdString();
    EXPECT_TRUE(out.contains(u"Eksik grup: Temizlik"_s)) << out.toStdString();
}

TEST_F(KontrolTest, everyDifferenceGoesToTheCsvThoughOnlyAScreenfulIsPrinted)
{
    spoil(u"update T_STOK set STOK_ADI = 'Başka, \"ad\"' where STOK_KODU in ('ÇY-01', 'SU-05')"_s);
    options.csvPath = path(u"farklar.csv"_s);
    options.shownDifferences = 1;
    EXPECT_EQ(run(), korvat::kontrol::Differs);
    EXPECT_TRUE(out.contains(u"… ve 1 fark daha"_s)) << out.toStdString();
    const QStringList lines = QString::fromUtf8(korvat::test::fileContents(options.csvPath))
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1], u"Farklı alan (stok kartı),ÇY-01,\"Başka, \"\"ad\"\"\",STOK_ADI,"
                        "Çaykur Rize Turist,\"Başka, \"\"ad\"\"\""_s);
}

TEST_F(KontrolTest, aFileThatIsNoDatabaseStopsTheCheckAndNeitherFileChanges)
{
    options.target = path(u"NOT.FDB"_s);
    {
        QFile file(options.target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(16384, 'x'));
    }
    const QByteArray source = korvat::test::fileContents(sourcePath);
    const QByteArray target = korvat::test::fileContents(options.target);
    EXPECT_EQ(run(), korvat::kontrol::CouldNotCheck);
    EXPECT_TRUE(err.startsWith(u"HATA: Hedef veritabanı açılamadı"_s)) << err.toStdString();
    EXPECT_EQ(korvat::test::fileContents(sourcePath), source);
    EXPECT_EQ(korvat::test::fileContents(options.target), target);
}

TEST_F(KontrolTest, aMissingTableStopsTheCheckAndNeitherFileChanges)
{
    spoil(u"drop table T_DEKONT_HAREKET"_s);
    const QByteArray source = korvat::test::fileContents(sourcePath);
    const QByteArray target = korvat::test::fileContents(targetPath);
    EXPECT_EQ(run(), korvat::kontrol::CouldNotCheck);
    EXPECT_TRUE(err.contains(u"T_DEKONT_HAREKET tablosu"_s)) << err.toStdString();
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(korvat::test::fileContents(sourcePath), source);
    EXPECT_EQ(korvat::test::fileContents(targetPath), target);
}

}  // namespace
