#include "Errors.h"
#include "ParameterBlocks.h"

#include <gtest/gtest.h>

using namespace korvat;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray block;
    for (int value : values)
        block.append(char(value));
    return block;
}

QString messageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const DataError& error) {
        return error.message();
    }
    return QStringLiteral("<no error>");
}

}  // namespace

TEST(DatabaseParameterBlock, holdsVersionUserNameAndPasswordOnly)
{
    const QByteArray block = buildDatabaseParameterBlock(
        {QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=quietbolt")});
    EXPECT_EQ(block, bytes({1, 28, 6}) + "SYSDBA" + bytes({29, 9}) + "quietbolt");
}

TEST(DatabaseParameterBlock, namesMatchWithoutCaseWithOrWithoutPrefixAndSkipEmptyLines)
{
    const QByteArray block = buildDatabaseParameterBlock(
        {QString(), QStringLiteral("ISC_DPB_User_Name=a"), QString(), QStringLiteral("Password=")});
    EXPECT_EQ(block, bytes({1, 28, 1}) + "a" + bytes({29, 0}));
}

TEST(DatabaseParameterBlock, refusesAnUnknownName)
{
    EXPECT_EQ(messageOf([] { buildDatabaseParameterBlock({QStringLiteral("lc_ctype=UTF8")}); }),
              QStringLiteral("DPB Constant (isc_dpb_lc_ctype) is unknown"));
}

TEST(TransactionParameterBlock, ofTheTargetTransactionIsExactlyFourBytes)
{
    EXPECT_EQ(buildTransactionParameterBlock({QStringLiteral("read_committed"),
                                              QStringLiteral("rec_version"),
                                              QStringLiteral("nowait")}),
              bytes({3, 15, 17, 7}));
}

TEST(TransactionParameterBlock, ofTheReadTransactionAddsRead)
{
    EXPECT_EQ(buildTransactionParameterBlock({QStringLiteral("read_committed"),
                                              QStringLiteral("rec_version"),
                                              QStringLiteral("nowait"), QStringLiteral("read")}),
              bytes({3, 15, 17, 7, 8}));
}

TEST(TransactionParameterBlock, emptyListGivesEmptyBlockAndBlankLinesAreSkipped)
{
    EXPECT_TRUE(buildTransactionParameterBlock({}).isEmpty());
    EXPECT_EQ(buildTransactionParameterBlock({QStringLiteral("   "), QStringLiteral("ISC_TPB_Wait")}),
              bytes({3, 6}));
}

TEST(TransactionParameterBlock, tableLocksCarryTheTableNameAndWaitTimeFourBytes)
{
    EXPECT_EQ(buildTransactionParameterBlock({QStringLiteral("lock_write=T_STOK"),
                                              QStringLiteral("wait_time=5")}),
              bytes({3, 11, 6}) + "T_STOK" + bytes({23, 4, 5, 0, 0, 0}));
}

TEST(TransactionParameterBlock, refusesUnsupportedAndUnknownNames)
{
    for (const char* name : {"verb_time", "commit_time", "autocommit"}) {
        EXPECT_EQ(messageOf([&] { buildTransactionParameterBlock({QString::fromLatin1(name)}); }),
                  QStringLiteral("TPB Constant (isc_tpb_%1) is unsupported").arg(QLatin1String(name)));
    }
    EXPECT_EQ(messageOf([] { buildTransactionParameterBlock({QStringLiteral("isc_tpb_fast")}); }),
              QStringLiteral("TPB Constant (isc_tpb_fast) is unknown"));
}
