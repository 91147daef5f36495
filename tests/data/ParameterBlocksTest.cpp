#include "ParameterBlocks.h"
#include "Errors.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
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
    return u"<no error>"_s;
}

}  // namespace

TEST(DatabaseParameterBlock, holdsVersionUserNameAndPasswordOnly)
{
    const QByteArray block = buildDatabaseParameterBlock({u"user_name=SYSDBA"_s, u"password=quietbolt"_s});
    EXPECT_EQ(block, bytes({1, 28, 6}) + "SYSDBA" + bytes({29, 9}) + "quietbolt");
}

TEST(DatabaseParameterBlock, namesMatchWithoutCaseWithOrWithoutPrefixAndSkipEmptyLines)
{
    const QByteArray block =
        buildDatabaseParameterBlock({QString(), u"ISC_DPB_User_Name=a"_s, QString(), u"Password="_s});
    EXPECT_EQ(block, bytes({1, 28, 1}) + "a" + bytes({29, 0}));
}

TEST(DatabaseParameterBlock, refusesAnUnknownName)
{
    EXPECT_EQ(messageOf([] { buildDatabaseParameterBlock({u"lc_ctype=UTF8"_s}); }),
              u"DPB Constant (isc_dpb_lc_ctype) is unknown"_s);
}

TEST(TransactionParameterBlock, ofTheTargetTransactionIsExactlyFourBytes)
{
    EXPECT_EQ(buildTransactionParameterBlock({u"read_committed"_s, u"rec_version"_s, u"nowait"_s}),
              bytes({3, 15, 17, 7}));
}

TEST(TransactionParameterBlock, ofTheReadTransactionAddsRead)
{
    EXPECT_EQ(buildTransactionParameterBlock({u"read_committed"_s, u"rec_version"_s, u"nowait"_s, u"read"_s}),
              bytes({3, 15, 17, 7, 8}));
}

TEST(TransactionParameterBlock, emptyListGivesEmptyBlockAndBlankLinesAreSkipped)
{
    EXPECT_TRUE(buildTransactionParameterBlock({}).isEmpty());
    EXPECT_EQ(buildTransactionParameterBlock({u"   "_s, u"ISC_TPB_Wait"_s}), bytes({3, 6}));
}

TEST(TransactionParameterBlock, tableLocksCarryTheTableNameAndWaitTimeFourBytes)
{
    EXPECT_EQ(buildTransactionParameterBlock({u"lock_write=T_STOK"_s, u"wait_time=5"_s}),
              bytes({3, 11, 6}) + "T_STOK" + bytes({23, 4, 5, 0, 0, 0}));
}

TEST(TransactionParameterBlock, refusesUnsupportedAndUnknownNames)
{
    for (const char* name : {"verb_time", "commit_time", "autocommit"}) {
        EXPECT_EQ(messageOf([&] { buildTransactionParameterBlock({QString::fromLatin1(name)}); }),
                  u"TPB Constant (isc_tpb_%1) is unsupported"_s.arg(QLatin1String(name)));
    }
    EXPECT_EQ(messageOf([] { buildTransactionParameterBlock({u"isc_tpb_fast"_s}); }),
              u"TPB Constant (isc_tpb_fast) is unknown"_s);
}
