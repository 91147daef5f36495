// Firebird's own backup through the services API, restored by gbak into a
// new file that must hold what the database held.
#include "DatabaseBackup.h"
#include "DataTestSupport.h"
#include "LoopbackServer.h"

#include <QFile>
#include <QProcess>
#include <QUuid>

using namespace korvat;
using namespace korvat::test;

namespace {

// Restores a backup file with gbak; the restored file's group names.
QList<QVariantList> restoredGroups(const QString& backup, const QString& restored)
{
    QProcess gbak;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"LC_ALL"_s, u"C.UTF-8"_s);  // Firebird's tools need plain case rules
    gbak.setProcessEnvironment(environment);
    gbak.setProcessChannelMode(QProcess::MergedChannels);
    gbak.start(u"gbak"_s,
               {u"-c"_s, u"-user"_s, u"SYSDBA"_s, u"-password"_s, u"quietbolt"_s, backup, restored});
    EXPECT_TRUE(gbak.waitForFinished(60000));
    EXPECT_EQ(gbak.exitCode(), 0) << gbak.readAll().toStdString();
    return TestDatabase::attach(restored).query(u"select GRUBU from T_GRUBU order by GRUBU_ID"_s);
}

void backUp(Connection& connection, const QString& file)
{
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    DatabaseBackup(connection).writeTo(out);
}

}  // namespace

TEST(DatabaseBackup, aLocalFileIsBackedUpThroughTheEmbeddedEngineWhileAttached)
{
    TestWorkspace workspace;
    addGroup(workspace.createTarget(), 1, {{u"GRUBU"_s, u"Şarküteri"_s}});
    TargetSide target(workspace.targetPath);
    target.openAndStart();
    target.run(
        u"insert into T_GRUBU (GRUBU_ID, GRUBU) values (2, 'bekleyen')"_s);  // pending: not in the backup

    backUp(*target.connection, workspace.path(u"yedek.fbk"_s));
    EXPECT_EQ(restoredGroups(workspace.path(u"yedek.fbk"_s), workspace.path(u"geri.fdb"_s)),
              (QList<QVariantList>{{u"Şarküteri"_s}}));
}

TEST(DatabaseBackup, aFileOnAServerComesBackThroughTheService)
{
    TestWorkspace workspace;
    LoopbackServer& server = loopbackServer();
    const QString file = u"b%1.fdb"_s.arg(QUuid::createUuid().toString(QUuid::Id128));
    const QString remote = server.createDatabase(file);
    addGroup(TestDatabase::attach(remote), 1, {{u"GRUBU"_s, u"Meyve"_s}});
    TargetSide target(remote);
    target.openAndStart();

    backUp(*target.connection, workspace.path(u"yedek.fbk"_s));
    EXPECT_EQ(restoredGroups(workspace.path(u"yedek.fbk"_s), workspace.path(u"geri.fdb"_s)),
              (QList<QVariantList>{{u"Meyve"_s}}));
}

TEST(DatabaseBackup, aDeviceThatRefusesTheBytesIsAnError)
{
    TestWorkspace workspace;
    workspace.createTarget().detach();
    TargetSide target(workspace.targetPath);
    target.openAndStart();
    QFile readOnly(workspace.targetPath);
    ASSERT_TRUE(readOnly.open(QIODevice::ReadOnly));
    EXPECT_THROW(DatabaseBackup(*target.connection).writeTo(readOnly), LayerError);
}
