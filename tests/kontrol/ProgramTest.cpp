// The real Korvat_Kontrol program: its exit codes and what it prints.
#include "CarriedDatabases.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ProgramRun runProgram(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(KORVAT_KONTROL_PROGRAM), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

TEST(ProgramTest, exitsZeroOnACorrectCarryOverAndNamesTheCountsAndTotals)
{
    korvat::test::TempFolder folder;
    const QString source = folder.filePath(QStringLiteral("KAYNAK.FDB"));
    const QString target = folder.filePath(QStringLiteral("HEDEF.FDB"));
    korvat::test::createCarryOverSource(source);
    korvat::test::createCarriedTarget(source, target);

    const ProgramRun run = runProgram({QStringLiteral("--stok-bakiyesi"), source, target});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QRegularExpression(QStringLiteral("Stok kartları\\s+4\\s+4\\s+0\\s+0"))))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QRegularExpression(QStringLiteral("Bakiye toplamı\\s+65,5\\s+65,5\\s+eşit"))))
        << run.out.toStdString();
}

TEST(ProgramTest, exitsTwoWithATurkishMessageWhenADatabaseIsMissing)
{
    korvat::test::TempFolder folder;
    const ProgramRun run = runProgram({folder.filePath(QStringLiteral("YOK.FDB")), folder.filePath(QStringLiteral("HEDEF.FDB"))});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("HATA: Dosya bulunamadı"))) << run.err.toStdString();
}

}  // namespace
