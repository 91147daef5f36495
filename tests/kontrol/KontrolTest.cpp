// The checks of Korvat_Kontrol in process, against a correctly carried target
// spoiled in one way per test: each fault is found, and reported once.
#include "CarriedDatabases.h"
#include "Kontrol.h"
#include "LoopbackServer.h"

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
        text += (korvat::kontrol::differenceLabel(d.kind, d.area) + QStringLiteral(": ") + d.code + QStringLiteral(" ")
                 + d.field + QStringLiteral(" «") + d.sourceValue + QStringLiteral("» «") + d.targetValue
                 + QStringLiteral("»\n"))
                    .toStdString();
    return text;
}

class KontrolTest : public ::testing::Test {
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
        TestDatabase::attach(targetPath).exec(sql, parameters);
    }

    int key(const char* table, const char* code)
    {
        TestDatabase target = TestDatabase::attach(targetPath);
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

    korvat::test::TempFolder folder;
    QString sourcePath = folder.filePath(QStringLiteral("KAYNAK.FDB"));
    QString targetPath = folder.filePath(QStringLiteral("HEDEF.FDB"));
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

TEST_F(KontrolTest, aMissingCardIsFound)
{
    const int card = key("T_STOK", "PY-02");
    spoil(QStringLiteral("delete from T_STOK_HAREKET where STOK_ID = ?"), {card});
    spoil(QStringLiteral("delete from T_STOK where STOK_ID = ?"), {card});
    expectOnly(DifferenceKind::Missing, Area::Cards, QStringLiteral("PY-02"));
}

TEST_F(KontrolTest, aChangedPriceIsFoundWithBothValues)
{
    spoil(QStringLiteral("update T_STOK set SATIS_FIYATI = 99 where STOK_KODU = 'SM-03'"));
    expectOnly(DifferenceKind::FieldDiffers, Area::Cards, QStringLiteral("SM-03"), QStringLiteral("SATIS_FIYATI"));
    const Difference found = check().differences.front();
    EXPECT_EQ(found.sourceValue, QStringLiteral("15,5"));
    EXPECT_EQ(found.targetValue, QStringLiteral("99"));
}

TEST_F(KontrolTest, aCardCarriedTwiceIsReportedAsSuchWithItsSecondEntry)
{
    const int card = key("T_STOK", "SU-05");
    spoil(QStringLiteral("insert into T_STOK (STOK_ID,STOK_KODU,STOK_ADI,GRUBU,SATIS_FIYATI,KDV,ALIS_FIYATI,SIRA_NO,AKTIFLIK) "
                         "select 500,STOK_KODU,STOK_ADI,GRUBU,SATIS_FIYATI,KDV,ALIS_FIYATI,SIRA_NO,AKTIFLIK "
                         "from T_STOK where STOK_ID = ?"),
          {card});
    spoil(QStringLiteral("insert into T_STOK_HAREKET (STOK_ID,TURU_ID,KAYIT_ID,FIYAT,TARIH,GIREN) "
                         "select 500,TURU_ID,KAYIT_ID,FIYAT,TARIH,GIREN from T_STOK_HAREKET where STOK_ID = ?"),
          {card});
    expectOnly(DifferenceKind::CarriedTwice, Area::Cards, QStringLiteral("SU-05"), QStringLiteral("anahtar"));
}

TEST_F(KontrolTest, anEntryOnAnotherCardIsOneDifference)
{
    // ÇY-01's entry written on the target's own card.
    spoil(QStringLiteral("update T_STOK_HAREKET set STOK_ID = 1 where STOK_ID = ?"), {key("T_STOK", "ÇY-01")});
    expectOnly(DifferenceKind::EntryOnWrongRow, Area::Cards, QStringLiteral("ÇY-01"), QStringLiteral("STOK_ID"));
}

TEST_F(KontrolTest, aWrongBalanceIsFound)
{
    spoil(QStringLiteral("update T_DEKONT_HAREKET set CIKAN = 80 where CARI_ID = ?"), {key("T_CARI", "C001")});
    expectOnly(DifferenceKind::WrongBalance, Area::Accounts, QStringLiteral("C001"), QStringLiteral("BAKIYE"));
}

TEST_F(KontrolTest, anInactiveCarriedAccountIsFound)
{
    spoil(QStringLiteral("update T_CARI set AKTIFLIK = 0 where CARI_KODU = 'C002'"));
    expectOnly(DifferenceKind::Inactive, Area::Accounts, QStringLiteral("C002"), QStringLiteral("AKTIFLIK"));
}

TEST_F(KontrolTest, aMissingGroupIsFound)
{
    spoil(QStringLiteral("delete from T_GRUBU where GRUBU = ?"), {QStringLiteral("Şarküteri")});
    expectOnly(DifferenceKind::Missing, Area::Groups, QStringLiteral("Şarküteri"));
}

TEST_F(KontrolTest, aZeroBalanceWhoseEntryTheTargetRefusedChecksClean)
{
    spoil(QStringLiteral("delete from T_DEKONT_HAREKET where CARI_ID = ?"), {key("T_CARI", "C003")});
    const Outcome outcome = check();
    EXPECT_TRUE(outcome.differences.empty()) << listed(outcome);
}

TEST_F(KontrolTest, withPositiveStocksOnlyTheOtherCardsNeedNoEntry)
{
    korvat::test::createCarriedTarget(sourcePath, folder.filePath(QStringLiteral("POZITIF.FDB")), {true});
    options.target = folder.filePath(QStringLiteral("POZITIF.FDB"));
    options.stockEntries = StockEntries::PositiveOnly;
    const Outcome outcome = check();
    EXPECT_TRUE(outcome.differences.empty()) << listed(outcome);
    EXPECT_EQ(outcome.totals.stockEntries.expected, 2);
}

TEST_F(KontrolTest, aTargetOnAServerIsCheckedThroughIt)
{
    korvat::test::LoopbackServer& server = korvat::test::loopbackServer();
    server.start();
    const QString local = server.databasePath(QStringLiteral("kontrol-hedef.fdb"));
    QFile::remove(local);
    options.target = server.remoteName(local);
    korvat::test::createCarriedTarget(sourcePath, options.target);
    TestDatabase::attach(options.target).exec(QStringLiteral("delete from T_GRUBU where GRUBU = ?"), {QStringLiteral("Temizlik")});
    EXPECT_EQ(run(), korvat::kontrol::Differs) << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Eksik grup: Temizlik"))) << out.toStdString();
}

TEST_F(KontrolTest, everyDifferenceGoesToTheCsvThoughOnlyAScreenfulIsPrinted)
{
    spoil(QStringLiteral("update T_STOK set STOK_ADI = 'Başka, \"ad\"' where STOK_KODU in ('ÇY-01', 'SU-05')"));
    options.csvPath = folder.filePath(QStringLiteral("farklar.csv"));
    options.shownDifferences = 1;
    EXPECT_EQ(run(), korvat::kontrol::Differs);
    EXPECT_TRUE(out.contains(QStringLiteral("… ve 1 fark daha"))) << out.toStdString();
    const QStringList lines = QString::fromUtf8(korvat::test::fileContents(options.csvPath)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1], QStringLiteral("Farklı alan (stok kartı),ÇY-01,\"Başka, \"\"ad\"\"\",STOK_ADI,"
                                       "Çaykur Rize Turist,\"Başka, \"\"ad\"\"\""));
}

TEST_F(KontrolTest, aFileThatIsNoDatabaseStopsTheCheckAndNeitherFileChanges)
{
    options.target = folder.filePath(QStringLiteral("NOT.FDB"));
    {
        QFile file(options.target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(16384, 'x'));
    }
    const QByteArray source = korvat::test::fileContents(sourcePath);
    const QByteArray target = korvat::test::fileContents(options.target);
    EXPECT_EQ(run(), korvat::kontrol::CouldNotCheck);
    EXPECT_TRUE(err.startsWith(QStringLiteral("HATA: Hedef veritabanı açılamadı"))) << err.toStdString();
    EXPECT_EQ(korvat::test::fileContents(sourcePath), source);
    EXPECT_EQ(korvat::test::fileContents(options.target), target);
}

TEST_F(KontrolTest, aMissingTableStopsTheCheckAndNeitherFileChanges)
{
    spoil(QStringLiteral("drop table T_DEKONT_HAREKET"));
    const QByteArray source = korvat::test::fileContents(sourcePath);
    const QByteArray target = korvat::test::fileContents(targetPath);
    EXPECT_EQ(run(), korvat::kontrol::CouldNotCheck);
    EXPECT_TRUE(err.contains(QStringLiteral("T_DEKONT_HAREKET tablosu"))) << err.toStdString();
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(korvat::test::fileContents(sourcePath), source);
    EXPECT_EQ(korvat::test::fileContents(targetPath), target);
}

}  // namespace
