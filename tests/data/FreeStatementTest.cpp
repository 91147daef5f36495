// The free statement against real databases: what an opening entry sends is
// read back from the file, so every binding rule is checked by the server.
#include "ClientCallCounts.h"
#include "ClientLibrary.h"
#include "Connection.h"
#include "Errors.h"
#include "DataTestSupport.h"
#include "FreeStatement.h"
#include "ParameterBinding.h"
#include "TestDatabase.h"
#include "Transaction.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <ctime>
#include <string_view>
#include <functional>
#include <optional>

using namespace korvat;
using korvat::test::SchemaOptions;
using korvat::test::TempFolder;
using korvat::test::TestDatabase;

namespace {

const QDateTime kPickerValue(QDate(2024, 1, 2), QTime(21, 57, 33, 446));

class FreeStatementTest : public ::testing::Test {
protected:
    explicit FreeStatementTest(const SchemaOptions& options = {})
        : db(TestDatabase::create(folder.filePath(QStringLiteral("target.fdb")), options))
    {
        connection.setParams({QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=quietbolt")});
        connection.open();
        transaction.setParams(
            {QStringLiteral("read_committed"), QStringLiteral("rec_version"), QStringLiteral("nowait")});
        connection.setDefaultTransaction(&transaction);
        transaction.start();
    }

    // The opening stock entry as the stock transfer writes it.
    void fillStockEntry(const QString& stokId, double giren, std::optional<double> fiyat)
    {
        qry.close();
        qry.clearText();
        qry.addLine(QStringLiteral("insert into t_stok_hareket (stok_id,turu_id,kayit_id,fiyat,tarih,giren) "));
        qry.addLine(QStringLiteral("values (:stok_id,:turu_id,:kayit_id,:fiyat,:tarih,:giren) "));
        qry.paramByName(QStringLiteral("stok_id")).setAsString(stokId);
        qry.paramByName(QStringLiteral("turu_id")).setAsString(QStringLiteral("8"));
        qry.paramByName(QStringLiteral("kayit_id")).setAsString(QStringLiteral("1"));
        qry.paramByName(QStringLiteral("tarih")).setAsDateTime(QDateTime(kPickerValue.date(), QTime(0, 0)));
        qry.paramByName(QStringLiteral("giren")).setAsFloat(giren);
        if (fiyat)
            qry.paramByName(QStringLiteral("fiyat")).setAsFloat(*fiyat);
    }

    void setText(const QString& line)
    {
        qry.clearText();
        qry.addLine(line);
    }

    QList<QVariantList> committedRows(const QString& select)
    {
        transaction.commitRetaining();
        return db.query(select);
    }

    TempFolder folder;
    TestDatabase db;
    std::shared_ptr<ClientLibrary> client = ClientLibrary::load();
    Connection connection{QStringLiteral("IBDatabase2"), client, db.name()};
    Transaction transaction{QStringLiteral("IBTransaction1"), client};
    FreeStatement qry{QStringLiteral("qry"), connection, transaction, RegionalSettings()};
};

class FreeStatementNotNullTest : public FreeStatementTest {
protected:
    FreeStatementNotNullTest() : FreeStatementTest(notNull()) {}
    static SchemaOptions notNull()
    {
        SchemaOptions options;
        options.movementColumnsNotNull = true;
        return options;
    }
};

const QString kStockRows = QStringLiteral(
    "select stok_id, turu_id, kayit_id, fiyat, tarih, giren from t_stok_hareket order by id");

}  // namespace

TEST_F(FreeStatementTest, openingStockEntryInsertsTheRowWithTheServerConvertingTexts)
{
    fillStockEntry(QStringLiteral("1234"), 12.5, 3.75);
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
    fillStockEntry(QStringLiteral("1"), 5, 9.5);
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
    db.exec(QStringLiteral("create table t_gun (gun date, zaman timestamp, saat time)"));
    setText(QStringLiteral("insert into t_gun values (:deger, :Deger, :DEGER)"));
    ASSERT_EQ(qry.params().size(), 1u) << "one name, three positions";
    qry.paramByName(QStringLiteral("deger")).setAsDateTime(kPickerValue);
    qry.execute();

    const auto rows = committedRows(QStringLiteral("select gun, zaman, saat from t_gun"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0].toDate(), QDate(2024, 1, 2));
    EXPECT_EQ(rows[0][1].toDateTime(), QDateTime(QDate(2024, 1, 2), QTime(21, 57, 33)));
    EXPECT_EQ(rows[0][2].toTime(), QTime(21, 57, 33));
}

TEST_F(FreeStatementTest, textForDateColumnsIsReadAsADateAndTime)
{
    db.exec(QStringLiteral("create table t_gun (gun date, zaman timestamp)"));
    setText(QStringLiteral("insert into t_gun values (:gun, :zaman)"));
    qry.paramByName(QStringLiteral("gun")).setAsString(QStringLiteral("2024-03-05"));
    qry.paramByName(QStringLiteral("zaman")).setAsString(QStringLiteral(" 2024-03-05 10:20:30 "));
    qry.execute();
    qry.paramByName(QStringLiteral("gun")).setAsString(QStringLiteral("31.02.x"));
    EXPECT_EQ(korvat::test::errorMessage([&] { qry.execute(); }), QStringLiteral("'31.02.x' is not a valid date and time"));

    const auto rows = committedRows(QStringLiteral("select gun, zaman from t_gun"));
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
    db.exec(QStringLiteral("create table t_ad (ad varchar(5))"));
    setText(QStringLiteral("insert into t_ad values (:ad)"));
    qry.paramByName(QStringLiteral("ad")).setAsString(QStringLiteral("ab"));
    qry.execute();
    qry.paramByName(QStringLiteral("ad")).setAsString(QString::fromUtf8("Şekér"));
    qry.execute();
    ASSERT_TRUE(qry.isPrepared());

    qry.paramByName(QStringLiteral("ad")).setAsString(QStringLiteral("abcdef"));
    EXPECT_EQ(korvat::test::errorMessage([&] { qry.execute(); }),
              QStringLiteral("Trying to store a string of length 6 into a field that can only contain 5"));

    const auto rows = committedRows(QStringLiteral("select ad from t_ad order by ad"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][0].toString(), QStringLiteral("ab"));
    EXPECT_EQ(rows[1][0].toString(), QString::fromUtf8("Şekér"));
}

TEST_F(FreeStatementTest, aLineAddedLaterKeepsTheValuesOfLikeNamedParameters)
{
    qry.addLine(QStringLiteral("insert into t_stok_hareket (stok_id, turu_id) values (:stok_id, "));
    qry.paramByName(QStringLiteral("STOK_ID")).setAsString(QStringLiteral("5"));
    qry.addLine(QStringLiteral(":turu_id)"));
    qry.paramByName(QStringLiteral("turu_id")).setAsString(QStringLiteral("8"));
    qry.execute();

    const auto rows = committedRows(kStockRows);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0], QVariant(5));
    EXPECT_EQ(rows[0][1], QVariant(8));
}

TEST_F(FreeStatementTest, unknownParameterNamesTheObjectAndTheNameAsWritten)
{
    fillStockEntry(QStringLiteral("1"), 1, std::nullopt);
    EXPECT_EQ(korvat::test::errorMessage([&] { qry.paramByName(QStringLiteral("Miktar")); }),
              QStringLiteral("qry: Parameter 'Miktar' not found"));
    EXPECT_FALSE(qry.isPrepared());
}

TEST_F(FreeStatementTest, lookupInATextWithoutParametersPreparesItFirst)
{
    setText(QStringLiteral("delete from t_yok"));
    EXPECT_THROW(qry.paramByName(QStringLiteral("x")), ServerError);

    setText(QStringLiteral("delete from t_stok_hareket"));
    EXPECT_EQ(korvat::test::errorMessage([&] { qry.paramByName(QStringLiteral("x")); }),
              QStringLiteral("qry: Parameter 'x' not found"));
    EXPECT_TRUE(qry.isPrepared());
}

TEST_F(FreeStatementTest, emptyOrBlankTextIsAnEmptyStatement)
{
    EXPECT_EQ(korvat::test::errorMessage([&] { qry.execute(); }), QStringLiteral("Empty SQL Statement"));
    setText(QStringLiteral("   "));
    EXPECT_EQ(korvat::test::errorMessage([&] { qry.execute(); }), QStringLiteral("Empty SQL Statement"));
}

TEST_F(FreeStatementNotNullTest, refusedInsertRaisesTheServerErrorAndKeepsTextAndValues)
{
    fillStockEntry(QStringLiteral("7"), 2, std::nullopt);
    EXPECT_THROW(qry.execute(), ServerError);
    EXPECT_EQ(qry.text().size(), 2);
    EXPECT_EQ(std::get<QString>(qry.paramByName(QStringLiteral("stok_id")).value()), QStringLiteral("7"));

    qry.paramByName(QStringLiteral("fiyat")).setAsFloat(1.5);
    qry.execute();
    const auto rows = committedRows(kStockRows);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0], QVariant(7));
}

TEST_F(FreeStatementTest, executeStartsAnInactiveTransactionWhichStaysActive)
{
    transaction.commit();
    fillStockEntry(QStringLiteral("3"), 1, std::nullopt);
    qry.execute();
    EXPECT_TRUE(transaction.inTransaction());
    EXPECT_EQ(committedRows(kStockRows).size(), 1);
}

TEST_F(FreeStatementTest, aCommitClosesTheStatementAndTheNextExecutePreparesAgain)
{
    fillStockEntry(QStringLiteral("4"), 1, std::nullopt);
    qry.execute();
    transaction.commit();
    EXPECT_FALSE(qry.isPrepared());

    qry.execute();
    EXPECT_TRUE(qry.isPrepared());
    EXPECT_EQ(committedRows(kStockRows).size(), 2);
}

namespace {

quint64 callsTo(std::string_view entryPoint)
{
    for (const auto& [name, count] : client_calls::counts())
        if (name == entryPoint)
            return count;
    return 0;
}

}  // namespace

TEST(FreeStatementCalls, aTextSetAgainForEveryRowKeepsItsHandleAndItsKindIsAskedOnce)
{
    client_calls::enable();  // before the library below is loaded
    TempFolder folder;
    const TestDatabase db = TestDatabase::create(folder.filePath(QStringLiteral("target.fdb")));
    test::TargetSide target(db.name());
    target.openAndStart();
    FreeStatement qry(QStringLiteral("qry"), *target.connection, *target.transaction, RegionalSettings());
    const quint64 handlesBefore = callsTo("isc_dsql_alloc_statement2");
    const quint64 infoBefore = callsTo("isc_dsql_sql_info");
    for (int row = 1; row <= 3; ++row) {
        for (const char* text : {"insert into t_stok_hareket (stok_id) values (:stok_id)",
                                 "select gen_id(t_stok_stok_id_gen, 1) from rdb$database"}) {
            qry.close();
            qry.clearText();
            qry.addLine(QString::fromLatin1(text));
            if (qry.params().size() == 1)
                qry.paramByName(QStringLiteral("stok_id")).setAsString(QString::number(row));
            qry.execute();
        }
    }
    EXPECT_EQ(callsTo("isc_dsql_alloc_statement2") - handlesBefore, 1u);
    // An insert has no column to ask about; the select's kind is asked once.
    EXPECT_EQ(callsTo("isc_dsql_sql_info") - infoBefore, 1u);
}
