// The free statement against real databases: what an opening entry sends is
// read back from the file, so every binding rule is checked by the server.
#include "FreeStatement.h"
#include "ClientCallCounts.h"
#include "ClientLibrary.h"
#include "Connection.h"
#include "DataTestSupport.h"
#include "Errors.h"
#include "ParameterBinding.h"
#include "TestDatabase.h"
#include "Transaction.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <ctime>
#include <functional>
#include <optional>
#include <string_view>

using namespace korvat;
using korvat::test::callsTo;
using korvat::test::NewTarget;
using korvat::test::SchemaOptions;

namespace {

const QDateTime kPickerValue(QDate(2024, 1, 2), QTime(21, 57, 33, 446));

class FreeStatementTest : public ::testing::Test {
protected:
    explicit FreeStatementTest(const SchemaOptions& options = {}) : target(options) { target.openAndStart(); }

    // The opening stock entry as the stock transfer writes it.
    void fillStockEntry(const QString& stokId, double giren, std::optional<double> fiyat)
    {
        qry.close();
        qry.clearText();
        qry.addLine(u"insert into t_stok_hareket (stok_id,turu_id,kayit_id,fiyat,tarih,giren) "_s);
        qry.addLine(u"values (:stok_id,:turu_id,:kayit_id,:fiyat,:tarih,:giren) "_s);
        qry.paramByName(u"stok_id"_s).setAsString(stokId);
        qry.paramByName(u"turu_id"_s).setAsString(u"8"_s);
        qry.paramByName(u"kayit_id"_s).setAsString(u"1"_s);
        qry.paramByName(u"tarih"_s).setAsDateTime(QDateTime(kPickerValue.date(), QTime(0, 0)));
        qry.paramByName(u"giren"_s).setAsFloat(giren);
        if (fiyat)
            qry.paramByName(u"fiyat"_s).setAsFloat(*fiyat);
    }

    void setText(const QString& line)
    {
        qry.clearText();
        qry.addLine(line);
    }

    QList<QVariantList> committedRows(const QString& select)
    {
        transaction.commitRetaining();
        return target.committed(select);
    }

    NewTarget target;
    Transaction& transaction = *target.transaction;
    FreeStatement qry{u"qry"_s, *target.connection, transaction, RegionalSettings()};
};

class FreeStatementNotNullTest : public FreeStatementTest {
protected:
    FreeStatementNotNullTest() : FreeStatementTest(SchemaOptions{.movementColumnsNotNull = true}) { }
};

const QString kStockRows =
    u"select stok_id, turu_id, kayit_id, fiyat, tarih, giren from t_stok_hareket order by id"_s;

}  // namespace

TEST_F(FreeStatementTest, openingStockEntryInsertsTheRowWithTheServerConvertingTexts)
{
    fillStockEntry(u"1234"_s, 12.5, 3.75);
    qry.execute();

    const auto rows = committedRows(kStockRows);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0], QVariant(1234));
    EXPECT_EQ(rows[0][1], QVariant(8));
    EXPECT_EQ(rows[0][2], QVariant(1));
    EXPECT_EQ(rows[0][3], QVariant(3.75));
    EXPECT_EQ(rows[0][4].toDateTime(), QDateTime(QDate(2024, 1, 2), QTime(0, 0)));
    EXPECT_EQ(rows[0][5], QVariant(12.5));
}

TEST_F(FreeStatementTest, successiveEntriesShareNoValueAndAnEmptyTextIsNull)
{
    fillStockEntry(u"1"_s, 5, 9.5);
    qry.execute();
    fillStockEntry(QString(), -3, std::nullopt);
    qry.execute();

    const auto rows = committedRows(kStockRows);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][3], QVariant(9.5));
    EXPECT_TRUE(rows[1][0].isNull()) << "empty text for an INTEGER column";
    EXPECT_TRUE(rows[1][3].isNull()) << "fiyat of the previous entry carried over";
    EXPECT_EQ(rows[1][5], QVariant(-3.0));
}

TEST_F(FreeStatementTest, dateAndTimeKeepsWholeSecondsAndADateColumnTheDateAlone)
{
    target.attachTarget().exec(u"create table t_gun (gun date, zaman timestamp, saat time)"_s);
    setText(u"insert into t_gun values (:deger, :Deger, :DEGER)"_s);
    ASSERT_EQ(qry.params().size(), 1u) << "one name, three positions";
    qry.paramByName(u"deger"_s).setAsDateTime(kPickerValue);
    qry.execute();

    const auto rows = committedRows(u"select gun, zaman, saat from t_gun"_s);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0].toDate(), QDate(2024, 1, 2));
    EXPECT_EQ(rows[0][1].toDateTime(), QDateTime(QDate(2024, 1, 2), QTime(21, 57, 33)));
    EXPECT_EQ(rows[0][2].toTime(), QTime(21, 57, 33));
}

TEST_F(FreeStatementTest, textForDateColumnsIsReadAsADateAndTime)
{
    target.attachTarget().exec(u"create table t_gun (gun date, zaman timestamp)"_s);
    setText(u"insert into t_gun values (:gun, :zaman)"_s);
    qry.paramByName(u"gun"_s).setAsString(u"2024-03-05"_s);
    qry.paramByName(u"zaman"_s).setAsString(u" 2024-03-05 10:20:30 "_s);
    qry.execute();
    qry.paramByName(u"gun"_s).setAsString(u"31.02.x"_s);
    EXPECT_EQ(korvat::test::errorMessage([&] { qry.execute(); }),
              u"'31.02.x' is not a valid date and time"_s);

    const auto rows = committedRows(u"select gun, zaman from t_gun"_s);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0].toDate(), QDate(2024, 3, 5));
    EXPECT_EQ(rows[0][1].toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(10, 20, 30)));
}

TEST(ReadDateTimeText, acceptsTheLocaleShortFormsAndATimeAlone)
{
    const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    EXPECT_EQ(readDateTimeText(u"05.03.2024 10:20", turkish), QDateTime(QDate(2024, 3, 5), QTime(10, 20)));
    EXPECT_EQ(readDateTimeText(u"5.03.2024", turkish), QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
    EXPECT_EQ(readDateTimeText(u"21:57:33", turkish), QDateTime(QDate(1899, 12, 30), QTime(21, 57, 33)));
    EXPECT_EQ(readDateTimeText(u"", turkish), std::nullopt);
}

TEST(EncodeTimestamp, reckonsAsTheClientLibraryDoes)
{
    for (const int year : {1, 2, 100, 1582, 1858, 1899, 1900, 2000, 2024, 2100, 9999})
        for (int month = 1; month <= 12; ++month)
            for (const int day : {1, 28}) {
                const QDateTime value(QDate(year, month, day), QTime(23, 59, 58));
                std::tm parts{};
                parts.tm_year = year - 1900;
                parts.tm_mon = month - 1;
                parts.tm_mday = day;
                parts.tm_hour = 23;
                parts.tm_min = 59;
                parts.tm_sec = 58;
                ISC_TIMESTAMP expected{};
                ::isc_encode_timestamp(&parts, &expected);
                const ISC_TIMESTAMP ours = encodeTimestamp(value);
                EXPECT_EQ(ours.timestamp_date, expected.timestamp_date) << year << '-' << month << '-' << day;
                EXPECT_EQ(ours.timestamp_time, expected.timestamp_time);
            }
}

TEST_F(FreeStatementTest, reexecutingTheSameTextBindsTheNewValuesByTheDescribedColumn)
{
    target.attachTarget().exec(u"create table t_ad (ad varchar(5))"_s);
    setText(u"insert into t_ad values (:ad)"_s);
    qry.paramByName(u"ad"_s).setAsString(u"ab"_s);
    qry.execute();
    qry.paramByName(u"ad"_s).setAsString(QString::fromUtf8("Şekér"));
    qry.execute();
    ASSERT_TRUE(qry.isPrepared());

    qry.paramByName(u"ad"_s).setAsString(u"abcdef"_s);
    EXPECT_EQ(korvat::test::errorMessage([&] { qry.execute(); }),
              u"Trying to store a string of length 6 into a field that can only contain 5"_s);

    const auto rows = committedRows(u"select ad from t_ad order by ad"_s);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][0].toString(), u"ab"_s);
    EXPECT_EQ(rows[1][0].toString(), QString::fromUtf8("Şekér"));
}

TEST_F(FreeStatementTest, aLineAddedLaterKeepsTheValuesOfLikeNamedParameters)
{
    qry.addLine(u"insert into t_stok_hareket (stok_id, turu_id) values (:stok_id, "_s);
    qry.paramByName(u"STOK_ID"_s).setAsString(u"5"_s);
    qry.addLine(u":turu_id)"_s);
    qry.paramByName(u"turu_id"_s).setAsString(u"8"_s);
    qry.execute();

    const auto rows = committedRows(kStockRows);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0], QVariant(5));
    EXPECT_EQ(rows[0][1], QVariant(8));
}

TEST_F(FreeStatementTest, unknownParameterNamesTheObjectAndTheNameAsWritten)
{
    fillStockEntry(u"1"_s, 1, std::nullopt);
    EXPECT_EQ(korvat::test::errorMessage([&] { qry.paramByName(u"Miktar"_s); }),
              u"qry: Parameter 'Miktar' not found"_s);
    EXPECT_FALSE(qry.isPrepared());
}

TEST_F(FreeStatementTest, lookupInATextWithoutParametersPreparesItFirst)
{
    setText(u"delete from t_yok"_s);
    EXPECT_THROW(qry.paramByName(u"x"_s), ServerError);

    setText(u"delete from t_stok_hareket"_s);
    EXPECT_EQ(korvat::test::errorMessage([&] { qry.paramByName(u"x"_s); }),
              u"qry: Parameter 'x' not found"_s);
    EXPECT_TRUE(qry.isPrepared());
}

TEST_F(FreeStatementTest, emptyOrBlankTextIsAnEmptyStatement)
{
    EXPECT_EQ(korvat::test::errorMessage([&] { qry.execute(); }), u"Empty SQL Statement"_s);
    setText(u"   "_s);
    EXPECT_EQ(korvat::test::errorMessage([&] { qry.execute(); }), u"Empty SQL Statement"_s);
}

TEST_F(FreeStatementNotNullTest, refusedInsertRaisesTheServerErrorAndKeepsTextAndValues)
{
    fillStockEntry(u"7"_s, 2, std::nullopt);
    EXPECT_THROW(qry.execute(), ServerError);
    EXPECT_EQ(qry.text().size(), 2);
    EXPECT_EQ(std::get<QString>(qry.paramByName(u"stok_id"_s).value()), u"7"_s);

    qry.paramByName(u"fiyat"_s).setAsFloat(1.5);
    qry.execute();
    const auto rows = committedRows(kStockRows);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0], QVariant(7));
}

TEST_F(FreeStatementTest, executeStartsAnInactiveTransactionWhichStaysActive)
{
    transaction.commit();
    fillStockEntry(u"3"_s, 1, std::nullopt);
    qry.execute();
    EXPECT_TRUE(transaction.inTransaction());
    EXPECT_EQ(committedRows(kStockRows).size(), 1);
}

TEST_F(FreeStatementTest, aCommitClosesTheStatementAndTheNextExecutePreparesAgain)
{
    fillStockEntry(u"4"_s, 1, std::nullopt);
    qry.execute();
    transaction.commit();
    EXPECT_FALSE(qry.isPrepared());

    qry.execute();
    EXPECT_TRUE(qry.isPrepared());
    EXPECT_EQ(committedRows(kStockRows).size(), 2);
}

TEST(FreeStatementCalls, aTextSetAgainForEveryRowKeepsItsHandleAndItsKindIsAskedOnce)
{
    client_calls::enable();  // before the library below is loaded
    NewTarget target;
    target.openAndStart();
    FreeStatement qry(u"qry"_s, *target.connection, *target.transaction, RegionalSettings());
    const quint64 handlesBefore = callsTo("isc_dsql_alloc_statement2");
    const quint64 infoBefore = callsTo("isc_dsql_sql_info");
    for (int row = 1; row <= 3; ++row) {
        for (const char* text : {"insert into t_stok_hareket (stok_id) values (:stok_id)",
                                 "select gen_id(t_stok_stok_id_gen, 1) from rdb$database"}) {
            qry.close();
            qry.clearText();
            qry.addLine(QString::fromLatin1(text));
            if (qry.params().size() == 1)
                qry.paramByName(u"stok_id"_s).setAsString(QString::number(row));
            qry.execute();
        }
    }
    EXPECT_EQ(callsTo("isc_dsql_alloc_statement2") - handlesBefore, 1u);
    // An insert has no column to ask about; the select's kind is asked once.
    EXPECT_EQ(callsTo("isc_dsql_sql_info") - infoBefore, 1u);
}
