#include "DataTestSupport.h"
#include "LoopbackServer.h"
#include "TestDatabase.h"
#include "u_dm.h"

#include <QDir>

using namespace korvat;
using namespace korvat::test;

namespace {

class DataModule : public ::testing::Test, protected TestWorkspace {
protected:
    void SetUp() override { createTarget().detach(); }
};

}  // namespace

TEST(DataModuleSettings, theDefaultTargetLivesInTheHomeFolder)
{
    EXPECT_EQ(TdmSettings::defaultTargetDatabaseName(), QDir::homePath() + u"/Korvat/KORVAT.FDB"_s);
}

TEST_F(DataModule, attachesTheDefaultTargetAndStartsItsTransaction)
{
    Tdm module(settings);
    EXPECT_FALSE(module.IBDatabase1.connected());
    EXPECT_EQ(module.IBDatabase1.databaseName(), u"D:\\Projeler\\Korvat\\KORVAT.FDB"_s);
    EXPECT_TRUE(module.IBDatabase2.connected());
    EXPECT_EQ(module.IBDatabase2.databaseName(), settings.defaultTarget);
    EXPECT_EQ(module.IBDatabase2.defaultTransaction(), &module.IBTransaction1);
    EXPECT_EQ(module.IBDatabase1.defaultTransaction(), nullptr);
    EXPECT_TRUE(module.IBTransaction1.inTransaction());
    EXPECT_FALSE(module.IBDatabase1.internalTransaction().inTransaction());

    const QByteArray connectionBlock = QByteArray("\x01\x1c\x06SYSDBA\x1d\x09quietbolt", 20);
    EXPECT_EQ(module.IBDatabase1.parameterBlock(), connectionBlock);
    EXPECT_EQ(module.IBDatabase2.parameterBlock(), connectionBlock);
    EXPECT_EQ(module.IBTransaction1.parameterBlock(), QByteArray("\x03\x0f\x11\x07", 4));
    EXPECT_EQ(module.IBDatabase1.internalTransaction().parameterBlock(),
              QByteArray("\x03\x0f\x11\x07\x08", 5));
}

TEST_F(DataModule, aMissingDefaultTargetEndsTheCreation)
{
    settings.defaultTarget = path(u"yok/KORVAT.FDB"_s);
    EXPECT_THROW(Tdm module(settings), ServerError);
}

TEST_F(DataModule, detachingTheTargetCommitsAndTheTransactionCanStartAgain)
{
    Tdm module(settings);
    insertPendingGroup(module, 1);
    module.IBDatabase2.setConnected(false);
    EXPECT_FALSE(module.IBTransaction1.inTransaction());
    EXPECT_EQ(committedCount(u"T_GRUBU"_s), 1);

    module.IBDatabase2.setConnected(true);
    module.IBTransaction1.setActive(true);
    EXPECT_TRUE(module.IBTransaction1.inTransaction());
}

TEST_F(DataModule, theEndOfTheProgramCommitsPendingRows)
{
    {
        Tdm module(settings);
        insertPendingGroup(module, 1);
        module.shutdown();
        EXPECT_FALSE(module.IBDatabase2.connected());
    }
    EXPECT_EQ(committedCount(u"T_GRUBU"_s), 1);

    {
        Tdm module(settings);
        insertPendingGroup(module, 2);
    }  // destroyed without an orderly shutdown: still committed
    EXPECT_EQ(committedCount(u"T_GRUBU"_s), 2);
}

TEST_F(DataModule, aSourceAttachedAndReadIsEndedAtShutdownToo)
{
    createSource().detach();
    Tdm& module = attachSource();
    module.IBDatabase1.internalTransaction().start();
    module.shutdown();
    EXPECT_FALSE(module.IBDatabase1.connected());
    EXPECT_FALSE(module.IBDatabase1.internalTransaction().inTransaction());
}

TEST_F(DataModule, aCommitThatFailsAtTheEndOfTheProgramIsRaised)
{
    LoopbackServer& server = loopbackServer();
    targetPath = settings.defaultTarget = server.createDatabase(u"shutdown.fdb"_s);

    Tdm module(settings);
    insertPendingGroup(module, 1);
    server.kill();
    EXPECT_THROW(module.shutdown(), ServerError);
    EXPECT_FALSE(module.IBDatabase2.connected());
    EXPECT_FALSE(module.IBTransaction1.inTransaction());

    server.start();
    EXPECT_EQ(committedCount(u"T_GRUBU"_s), 0);
}
