// What only a server shows: remote names, passwords, and a server that goes
// away under a connection.
#include "DataTestSupport.h"
#include "LoopbackServer.h"
#include "TestDatabase.h"

#include <QUuid>

using namespace korvat;
using namespace korvat::test;

namespace {

class ThroughTheServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        server().start();
        const QString file = QStringLiteral("t%1.fdb").arg(QUuid::createUuid().toString(QUuid::Id128));
        localPath = server().databasePath(file);
        TestDatabase::create(server().remoteName(localPath)).detach();
    }

    static LoopbackServer& server() { return loopbackServer(); }
    QString remote() const { return server().remoteName(localPath); }

    qint64 committedGroups()
    {
        server().start();
        return TestDatabase::attach(remote()).rowCount(QStringLiteral("T_GRUBU"));
    }

    QString localPath;
};

}  // namespace

TEST_F(ThroughTheServer, attachesARemoteName)
{
    TargetSide target(remote());
    target.openAndStart();
    EXPECT_EQ(target.connection->sqlDialect(), 3);
    target.run(QStringLiteral("insert into T_GRUBU (GRUBU_ID) values (1)"));
    target.connection->close();
    EXPECT_EQ(committedGroups(), 1);
}

TEST_F(ThroughTheServer, aWrongPasswordIsRefusedAndLeavesTheConnectionDetached)
{
    TargetSide target(remote());
    target.connection->setParams({QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=wrong")});
    try {
        target.connection->open();
        FAIL() << "attached with a wrong password";
    } catch (const ServerError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("password"))) << error.message().toStdString();
        EXPECT_FALSE(error.message().endsWith(QLatin1Char('.')));
    }
    EXPECT_FALSE(target.connection->connected());
}

TEST_F(ThroughTheServer, aMissingFileIsRefused)
{
    TargetSide target(server().remoteName(server().databasePath(QStringLiteral("yok.fdb"))));
    EXPECT_THROW(target.connection->open(), ServerError);
    EXPECT_FALSE(target.connection->connected());
}

TEST_F(ThroughTheServer, aMissingPermissionIsItsOwnKindOfError)
{
    TestDatabase::attach(remote()).exec(
        QStringLiteral("create or alter user KIRACI password 'kiraci'"));
    TargetSide target(remote());
    target.connection->setParams({QStringLiteral("user_name=KIRACI"), QStringLiteral("password=kiraci")});
    target.openAndStart();
    try {
        target.run(QStringLiteral("select * from T_GRUBU"));
        FAIL() << "read a table without permission";
    } catch (const NoPermissionError& error) {
        EXPECT_EQ(error.sqlCode(), -551);
    }
}

TEST_F(ThroughTheServer, aLostConnectionAtCommitClosesTheConnectionBeforeTheError)
{
    TargetSide target(remote());
    target.openAndStart();
    target.run(QStringLiteral("insert into T_GRUBU (GRUBU_ID) values (1)"));
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
    TargetSide target(remote());
    target.openAndStart();
    target.run(QStringLiteral("insert into T_GRUBU (GRUBU_ID) values (1)"));
    server().kill();

    EXPECT_THROW(target.connection->close(), ServerError);
    EXPECT_FALSE(target.connection->connected());
    EXPECT_FALSE(target.transaction->inTransaction());
    EXPECT_EQ(committedGroups(), 0);
}

TEST_F(ThroughTheServer, aFileTheServerHoldsIsReachedThroughItByItsPlainPath)
{
    TestDatabase held = TestDatabase::attach(remote());  // the server keeps the file open
    TargetSide target(localPath);
    target.connection->setLocalServerPort(server().port());
    target.openAndStart();
    EXPECT_EQ(target.connection->databaseName(), localPath);
    target.run(QStringLiteral("insert into T_GRUBU (GRUBU_ID) values (1)"));
    target.transaction->commit();
    EXPECT_EQ(held.rowCount(QStringLiteral("T_GRUBU")), 1);
}
