#include "DataTestSupport.h"
#include "DatabaseUser.h"
#include "TestDatabase.h"

using namespace korvat;
using namespace korvat::test;

namespace {

class TransactionOnTarget : public ::testing::Test {
protected:
    qint64 committedGroups() { return target.committedCount(u"T_GRUBU"_s); }

    NewTarget target;
};

}  // namespace

TEST_F(TransactionOnTarget, startsWithTheFourByteBlock)
{
    target.openAndStart();
    EXPECT_TRUE(target.transaction->inTransaction());
    EXPECT_EQ(target.transaction->parameterBlock(), QByteArray("\x03\x0f\x11\x07", 4));
}

TEST_F(TransactionOnTarget, wordsEveryMisuse)
{
    EXPECT_EQ(errorMessage([&] { target.transaction->start(); }),
              u"Cannot perform operation -- DB is not open"_s);
    EXPECT_EQ(errorMessage([&] { target.transaction->commit(); }), u"Transaction is not active"_s);
    EXPECT_EQ(errorMessage([&] { target.transaction->commitRetaining(); }), u"Transaction is not active"_s);
    EXPECT_EQ(errorMessage([&] { target.transaction->rollback(); }), u"Transaction is not active"_s);

    target.openAndStart();
    EXPECT_EQ(errorMessage([&] { target.transaction->start(); }), u"Transaction is active"_s);

    Transaction lonely(u"Lonely"_s, target.client);
    EXPECT_EQ(errorMessage([&] { lonely.start(); }), u"No databases are listed in transaction component"_s);
}

TEST_F(TransactionOnTarget, commitRetainingKeepsTheHandleAndTheUsers)
{
    target.openAndStart();
    RecordingUser user(*target.transaction);
    const isc_tr_handle before = *target.transaction->handle();
    target.run(u"insert into T_GRUBU (GRUBU_ID, GRUBU) values (1, 'A')"_s);

    target.transaction->commitRetaining();
    EXPECT_TRUE(target.transaction->inTransaction());
    EXPECT_EQ(*target.transaction->handle(), before);
    EXPECT_EQ(user.closes, 0);
    EXPECT_EQ(committedGroups(), 1);

    // Still usable afterwards.
    target.run(u"insert into T_GRUBU (GRUBU_ID, GRUBU) values (2, 'B')"_s);
    target.transaction->commitRetaining();
    EXPECT_EQ(committedGroups(), 2);
}

TEST_F(TransactionOnTarget, commitClosesUsersAndEndsTheTransaction)
{
    target.openWithPendingGroup();
    RecordingUser user(*target.transaction);
    target.transaction->commit();
    EXPECT_EQ(user.closes, 1);
    EXPECT_FALSE(target.transaction->inTransaction());
    EXPECT_EQ(committedGroups(), 1);
}

TEST_F(TransactionOnTarget, rollbackAndSetActiveFalseLoseThePendingRows)
{
    target.openWithPendingGroup();
    target.transaction->rollback();
    EXPECT_EQ(committedGroups(), 0);

    target.transaction->setActive(true);
    EXPECT_TRUE(target.transaction->inTransaction());
    target.transaction->setActive(true);  // already active: nothing happens
    target.run(u"insert into T_GRUBU (GRUBU_ID) values (2)"_s);
    target.transaction->setActive(false);
    EXPECT_FALSE(target.transaction->inTransaction());
    EXPECT_EQ(committedGroups(), 0);
}

TEST_F(TransactionOnTarget, aTwoLineServerErrorIsJoinedWithoutItsFinalPeriod)
{
    target.attachTarget().exec(u"insert into T_GRUBU (GRUBU_ID) values (1)"_s);
    target.openAndStart();
    try {
        target.run(u"insert into T_GRUBU (GRUBU_ID) values (1)"_s);
        FAIL() << "a duplicate key was accepted";
    } catch (const ServerError& error) {
        const QStringList lines = error.message().split(u"\r\n"_s);
        ASSERT_GE(lines.size(), 2) << error.message().toStdString();
        EXPECT_TRUE(lines[0].startsWith(u"violation of PRIMARY or UNIQUE KEY"_s));
        EXPECT_FALSE(error.message().contains(QLatin1Char('\n') + u"\r\n"_s));
        EXPECT_FALSE(error.message().endsWith(QLatin1Char('.')));
        EXPECT_EQ(error.sqlCode(), -803);
        EXPECT_EQ(error.engineCode(), 335544665L);
    }
    // A failed statement leaves the transaction as it was.
    EXPECT_TRUE(target.transaction->inTransaction());
}

TEST_F(TransactionOnTarget, aConflictingWriteFailsAtOnceUnderNowait)
{
    TestDatabase other = target.attachTarget();
    other.exec(u"insert into T_GRUBU (GRUBU_ID, GRUBU) values (1, 'A')"_s);
    TestTransaction holding = other.begin();
    holding.exec(u"update T_GRUBU set GRUBU = 'B' where GRUBU_ID = 1"_s);

    target.openAndStart();
    try {
        target.run(u"update T_GRUBU set GRUBU = 'C' where GRUBU_ID = 1"_s);
        FAIL() << "wrote over a row that another transaction holds";
    } catch (const ServerError& error) {
        // The server's update conflict, raised at once rather than after a wait.
        EXPECT_TRUE(error.message().contains(u"update conflicts with concurrent update"_s))
            << error.message().toStdString();
    }
    holding.rollback();
}
