// The real Korvat_Kontrol program: its exit codes and what it prints.
#include "CarriedDatabases.h"
#include "TestWorkspace.h"

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
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(ProgramTest, exitsZeroOnACorrectCarryOverAndNamesTheCountsAndTotals)
{
    const korvat::test::TestWorkspace workspace;
    korvat::test::createCarryOverSource(workspace.sourcePath);
    korvat::test::createCarriedTarget(workspace.sourcePath, workspace.targetPath);

    const ProgramRun run = runProgram({u"--stok-bakiyesi"_s, workspace.sourcePath, workspace.targetPath});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QRegularExpression(u"Stok kartları\\s+4\\s+4\\s+0\\s+0"_s)))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QRegularExpression(u"Bakiye toplamı\\s+65,5\\s+65,5\\s+eşit"_s)))
        << run.out.toStdString();
}

TEST(ProgramTest, exitsTwoWithATurkishMessageWhenADatabaseIsMissing)
{
    korvat::test::TempFolder folder;
    const ProgramRun run = runProgram({folder.filePath(u"YOK.FDB"_s), folder.filePath(u"HEDEF.FDB"_s)});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.startsWith(u"HATA: Dosya bulunamadı"_s)) << run.err.toStdString();
}

TEST(ProgramTest, exitsTwoWithATurkishMessageWhenASourceIsOfAnOlderStructure)
{
    const korvat::test::TestWorkspace workspace;
    korvat::test::createCarryOverSource(workspace.sourcePath);
    korvat::test::createCarriedTarget(workspace.sourcePath, workspace.targetPath);
    korvat::test::markOlderStructure(workspace.sourcePath);

    const ProgramRun run = runProgram({workspace.sourcePath, workspace.targetPath});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(u"Firebird'ün daha eski bir sürümüyle oluşturulmuş"_s))
        << run.err.toStdString();
}

TEST(ProgramTest, exitsTwoWithATurkishMessageWhenAnotherProgramHoldsTheTarget)
{
    const korvat::test::TestWorkspace workspace;
    korvat::test::createCarryOverSource(workspace.sourcePath);
    korvat::test::createCarriedTarget(workspace.sourcePath, workspace.targetPath);
    const korvat::test::TestDatabase held = workspace.attachTarget();  // this process's engine keeps it open

    const ProgramRun run = runProgram({workspace.sourcePath, workspace.targetPath});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(u"Dosya bu bilgisayarda başka bir programda açık"_s))
        << run.err.toStdString();
}

}  // namespace
