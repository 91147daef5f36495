// What only a server shows: remote names, passwords, and a server that goes
// away under a connection.
#include "DataTestSupport.h"
#include "LoopbackServer.h"
#include "TestDatabase.h"

#include <QUuid>

using namespace korvat;
using namespace korvat::test;

namespace {

class ThroughTheServer : public ::testing::Test, protected TestWorkspace {
protected:
    void SetUp() override
    {
        const QString file = u"t%1.fdb"_s.arg(QUuid::createUuid().toString(QUuid::Id128));
        targetPath = server().createDatabase(file);
        localPath = server().databasePath(file);
    }

    static LoopbackServer& server() { return loopbackServer(); }

    qint64 committedGroups()
    {
        server().start();
        return committedCount(u"T_GRUBU"_s);
    }

    QString localPath;
};

}  // namespace

TEST_F(ThroughTheServer, attachesARemoteName)
{
    TargetSide target(targetPath);
    target.openAndStart();
    EXPECT_EQ(target.connection->sqlDialect(), 3);
    target.run(u"insert into T_GRUBU (GRUBU_ID) values (1)"_s);
    target.connection->close();
    EXPECT_EQ(committedGroups(), 1);
}

TEST_F(ThroughTheServer, aWrongPasswordIsRefusedAndLeavesTheConnectionDetached)
{
    TargetSide target(targetPath);
    target.connection->setParams({u"user_name=SYSDBA"_s, u"password=wrong"_s});
    try {
        target.connection->open();
        FAIL() << "attached with a wrong password";
    } catch (const ServerError& error) {
        EXPECT_TRUE(error.message().contains(u"password"_s)) << error.message().toStdString();
        EXPECT_FALSE(error.message().endsWith(QLatin1Char('.')));
    }
    EXPECT_FALSE(target.connection->connected());
}

TEST_F(ThroughTheServer, aMissingFileIsRefused)
{
    TargetSide target(server().remoteName(server().databasePath(u"yok.fdb"_s)));
    EXPECT_THROW(target.connection->open(), ServerError);
    EXPECT_FALSE(target.connection->connected());
}

TEST_F(ThroughTheServer, aMissingPermissionIsItsOwnKindOfError)
{
    attachTarget().exec(u"create or alter user KIRACI password 'kiraci'"_s);
    TargetSide target(targetPath);
    target.connection->setParams({u"user_name=KIRACI"_s, u"password=kiraci"_s});
    target.openAndStart();
    try {
        target.run(u"select * from T_GRUBU"_s);
        FAIL() << "read a table without permission";
    } catch (const NoPermissionError& error) {
        EXPECT_EQ(error.sqlCode(), -551);
    }
}

TEST_F(ThroughTheServer, aLostConnectionAtCommitClosesTheConnectionBeforeTheError)
{
    TargetSide target(targetPath);
    target.openWithPendingGroup();
    server().kill();

    try {
        target.transaction->commit();
        FAIL() << "committed on a server that is gone";
    } catch (const ConnectionLostError& error) {
        EXPECT_EQ(error.sqlCode(), -902);
    }
    EXPECT_FALSE(target.connection->connected());
    EXPECT_FALSE(target.transaction->inTransaction());
    EXPECT_EQ(committedGroups(), 0);

    // The same connection attaches again once the server is back.
    target.connection->open();
    EXPECT_TRUE(target.connection->connected());
}

TEST_F(ThroughTheServer, aForcedCommitThatFailsAtDetachIsReportedAfterTheDetach)
{
    TargetSide target(targetPath);
    target.openWithPendingGroup();
    server().kill();

    EXPECT_THROW(target.connection->close(), ServerError);
    EXPECT_FALSE(target.connection->connected());
    EXPECT_FALSE(target.transaction->inTransaction());
    EXPECT_EQ(committedGroups(), 0);
}

TEST_F(ThroughTheServer, aFileTheServerHoldsIsReachedThroughItByItsPlainPath)
{
    TestDatabase held = attachTarget();  // the server keeps the file open
    TargetSide target(localPath);
    target.connection->setLocalServerPort(server().port());
    target.openAndStart();
    EXPECT_EQ(target.connection->databaseName(), localPath);
    target.run(u"insert into T_GRUBU (GRUBU_ID) values (1)"_s);
    target.transaction->commit();
    EXPECT_EQ(held.rowCount(u"T_GRUBU"_s), 1);
}

TEST_F(ThroughTheServer, aFileOfAnOlderStructureIsTriedThroughTheLocalServerBeforeItIsExplained)
{
    client_calls::enable();  // before the library of the connection below is loaded
    markOlderStructure(localPath);
    TargetSide target(localPath);
    target.connection->setLocalServerPort(server().port());
    const quint64 attachesBefore = callsTo("isc_attach_database");
    EXPECT_THROW(target.connection->open(), OlderFileError);  // this server's version refuses it too
    EXPECT_EQ(callsTo("isc_attach_database") - attachesBefore, 2u);
    EXPECT_FALSE(target.connection->connected());
}
