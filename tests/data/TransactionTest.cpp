#include "DataTestSupport.h"
#include "DatabaseUser.h"
#include "TestDatabase.h"

using namespace korvat;
using namespace korvat::test;

namespace {

class TransactionOnTarget : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = folder.filePath(QStringLiteral("target.fdb"));
        TestDatabase::create(path).detach();
        target = std::make_unique<TargetSide>(path);
    }

    qint64 committedGroups()
    {
        return TestDatabase::attach(path).rowCount(QStringLiteral("T_GRUBU"));
    }

    TempFolder folder;
    QString path;
    std::unique_ptr<TargetSide> target;
};

}  // namespace

TEST_F(TransactionOnTarget, startsWithTheFourByteBlock)
{
    target->openAndStart();
    EXPECT_TRUE(target->transaction->inTransaction());
    EXPECT_EQ(target->transaction->parameterBlock(), QByteArray("\x03\x0f\x11\x07", 4));
}

TEST_F(TransactionOnTarget, wordsEveryMisuse)
{
    EXPECT_EQ(errorMessage([&] { target->transaction->start(); }),
              QStringLiteral("Cannot perform operation -- DB is not open"));
    EXPECT_EQ(errorMessage([&] { target->transaction->commit(); }),
              QStringLiteral("Transaction is not active"));
    EXPECT_EQ(errorMessage([&] { target->transaction->commitRetaining(); }),
              QStringLiteral("Transaction is not active"));
    EXPECT_EQ(errorMessage([&] { target->transaction->rollback(); }),
              QStringLiteral("Transaction is not active"));

    target->openAndStart();
    EXPECT_EQ(errorMessage([&] { target->transaction->start(); }),
              QStringLiteral("Transaction is active"));

    Transaction lonely(QStringLiteral("Lonely"), target->client);
    EXPECT_EQ(errorMessage([&] { lonely.start(); }),
              QStringLiteral("No databases are listed in transaction component"));
}

TEST_F(TransactionOnTarget, commitRetainingKeepsTheHandleAndTheUsers)
{
    target->openAndStart();
    RecordingUser user;
    target->transaction->addUser(&user);
    const isc_tr_handle before = *target->transaction->handle();
    target->run(QStringLiteral("insert into T_GRUBU (GRUBU_ID, GRUBU) values (1, 'A')"));

    target->transaction->commitRetaining();
    EXPECT_TRUE(target->transaction->inTransaction());
    EXPECT_EQ(*target->transaction->handle(), before);
    EXPECT_EQ(user.closes, 0);
    EXPECT_EQ(committedGroups(), 1);

    // Still usable afterwards.
    target->run(QStringLiteral("insert into T_GRUBU (GRUBU_ID, GRUBU) values (2, 'B')"));
    target->transaction->commitRetaining();
    EXPECT_EQ(committedGroups(), 2);
    target->transaction->removeUser(&user);
}

TEST_F(TransactionOnTarget, commitClosesUsersAndEndsTheTransaction)
{
    target->openAndStart();
    RecordingUser user;
    target->transaction->addUser(&user);
    target->run(QStringLiteral("insert into T_GRUBU (GRUBU_ID) values (1)"));
    target->transaction->commit();
    target->transaction->removeUser(&user);
    EXPECT_EQ(user.closes, 1);
    EXPECT_FALSE(target->transaction->inTransaction());
    EXPECT_EQ(committedGroups(), 1);
}

TEST_F(TransactionOnTarget, rollbackAndSetActiveFalseLoseThePendingRows)
{
    target->openAndStart();
    target->run(QStringLiteral("insert into T_GRUBU (GRUBU_ID) values (1)"));
    target->transaction->rollback();
    EXPECT_EQ(committedGroups(), 0);

    target->transaction->setActive(true);
    EXPECT_TRUE(target->transaction->inTransaction());
    target->transaction->setActive(true);  // already active: nothing happens
    target->run(QStringLiteral("insert into T_GRUBU (GRUBU_ID) values (2)"));
    target->transaction->setActive(false);
    EXPECT_FALSE(target->transaction->inTransaction());
    EXPECT_EQ(committedGroups(), 0);
}

TEST_F(TransactionOnTarget, aTwoLineServerErrorIsJoinedWithoutItsFinalPeriod)
{
    TestDatabase::attach(path).exec(QStringLiteral("insert into T_GRUBU (GRUBU_ID) values (1)"));
    target->openAndStart();
    try {
        target->run(QStringLiteral("insert into T_GRUBU (GRUBU_ID) values (1)"));
        FAIL() << "a duplicate key was accepted";
    } catch (const ServerError& error) {
        const QStringList lines = error.message().split(QStringLiteral("\r\n"));
        ASSERT_GE(lines.size(), 2) << error.message().toStdString();
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral("violation of PRIMARY or UNIQUE KEY")));
        EXPECT_FALSE(error.message().contains(QLatin1Char('\n') + QStringLiteral("\r\n")));
        EXPECT_FALSE(error.message().endsWith(QLatin1Char('.')));
        EXPECT_EQ(error.sqlCode(), -803);
        EXPECT_EQ(error.engineCode(), 335544665L);
    }
    // A failed statement leaves the transaction as it was.
    EXPECT_TRUE(target->transaction->inTransaction());
}

TEST_F(TransactionOnTarget, aConflictingWriteFailsAtOnceUnderNowait)
{
    TestDatabase other = TestDatabase::attach(path);
    other.exec(QStringLiteral("insert into T_GRUBU (GRUBU_ID, GRUBU) values (1, 'A')"));
    TestTransaction holding = other.begin();
    holding.exec(QStringLiteral("update T_GRUBU set GRUBU = 'B' where GRUBU_ID = 1"));

    target->openAndStart();
    try {
        target->run(QStringLiteral("update T_GRUBU set GRUBU = 'C' where GRUBU_ID = 1"));
        FAIL() << "wrote over a row that another transaction holds";
    } catch (const ServerError& error) {
        // The server's update conflict, raised at once rather than after a wait.
        EXPECT_TRUE(error.message().contains(QStringLiteral("update conflicts with concurrent update")))
            << error.message().toStdString();
    }
    holding.rollback();
}
