#include "DataTestSupport.h"
#include "DatabaseUser.h"
#include "SqlDescriptorArea.h"
#include "TestDatabase.h"

#include <QDir>

using namespace korvat;
using namespace korvat::test;

TEST(Connection, attachesReadsTheDialectAndDetaches)
{
    TempFolder folder;
    const QString path = folder.filePath(QStringLiteral("target.fdb"));
    TestDatabase::create(path).detach();

    TargetSide target(path);
    target.connection->open();
    EXPECT_TRUE(target.connection->connected());
    EXPECT_EQ(target.connection->databaseSqlDialect(), 3);
    EXPECT_EQ(target.connection->sqlDialect(), 3);
    target.connection->close();
    EXPECT_FALSE(target.connection->connected());
    target.connection->close();  // detaching a detached connection does nothing
}

TEST(Connection, aDialectOneDatabaseIsUsedInDialectOne)
{
    TempFolder folder;
    const QString path = folder.filePath(QStringLiteral("d1.fdb"));
    TestDatabase::create(path, SchemaOptions{.dialect = 1}).detach();

    TargetSide target(path);
    target.openAndStart();
    EXPECT_EQ(target.connection->sqlDialect(), 1);

    // Dialect 1 divides integers into a double; dialect 3 would keep an integer.
    Statement statement(*target.connection, *target.transaction);
    statement.prepare(QStringLiteral("select 1/2 from rdb$database"));
    EXPECT_EQ(baseType(statement.output().var(0)), SQL_DOUBLE);
}

TEST(Connection, refusesToAttachTwiceOrWithoutAName)
{
    TempFolder folder;
    const QString path = folder.filePath(QStringLiteral("target.fdb"));
    TestDatabase::create(path).detach();

    TargetSide target(path);
    target.connection->open();
    EXPECT_EQ(errorMessage([&] { target.connection->open(); }),
              QStringLiteral("Cannot perform operation -- DB is currently open"));
    EXPECT_EQ(errorMessage([&] { target.connection->setDatabaseName(QStringLiteral("/x.fdb")); }),
              QStringLiteral("Cannot perform operation -- DB is currently open"));
    EXPECT_EQ(errorMessage([&] { target.connection->setDatabaseName(path); }),
              QStringLiteral("<no error>"));
    target.connection->close();

    target.connection->setDatabaseName(QString());
    EXPECT_EQ(errorMessage([&] { target.connection->open(); }),
              QStringLiteral("Database name is missing"));
}

TEST(Connection, aMissingFileGivesTheServersLinesAndStaysDetached)
{
    TempFolder folder;
    TargetSide target(folder.filePath(QStringLiteral("missing.fdb")));
    try {
        target.connection->open();
        FAIL() << "attached a file that does not exist";
    } catch (const ServerError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("missing.fdb")));
        EXPECT_TRUE(error.message().contains(QStringLiteral("\r\n")));
        EXPECT_FALSE(error.message().endsWith(QLatin1Char('.')));
        EXPECT_NE(error.sqlCode(), 0);
    }
    EXPECT_FALSE(target.connection->connected());
}

TEST(Connection, attachesThroughAFolderWithTurkishLetters)
{
    TempFolder folder;
    const QString turkishFolder = folder.filePath(QStringLiteral("Masaüstü"));
    ASSERT_TRUE(QDir().mkpath(turkishFolder));
    const QString path = turkishFolder + QStringLiteral("/KORVAT.FDB");
    TargetSide target(path);  // loading the client prepares the process for such names
    TestDatabase::create(path).detach();

    target.connection->open();
    EXPECT_TRUE(target.connection->connected());
}

TEST(Connection, detachClosesItsUsersAndCommitsTheDefaultTransaction)
{
    TempFolder folder;
    const QString path = folder.filePath(QStringLiteral("target.fdb"));
    TestDatabase::create(path).detach();

    TargetSide target(path);
    target.openAndStart();
    RecordingUser user;
    target.connection->addUser(&user);
    target.run(QStringLiteral("insert into T_GRUBU (GRUBU_ID, GRUBU) values (7, 'Kuruyemiş')"));

    target.connection->close();
    target.connection->removeUser(&user);
    EXPECT_EQ(user.closes, 1);
    EXPECT_FALSE(target.transaction->inTransaction());

    TestDatabase check = TestDatabase::attach(path);
    const auto rows = check.query(QStringLiteral("select GRUBU from T_GRUBU where GRUBU_ID = 7"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0].toString(), QStringLiteral("Kuruyemiş"));
}

TEST(Connection, aTerminationSignalLeavesTheAttachmentToTheProgram)
{
    TempFolder folder;
    const QString path = folder.filePath(QStringLiteral("target.fdb"));
    TestDatabase::create(path).detach();
    TargetSide target(path);
    target.openAndStart();
    target.run(QStringLiteral("insert into T_GRUBU (GRUBU_ID) values (1)"));

    // What the client library's own handler of SIGINT and SIGTERM does,
    // run here at once instead of a moment after a signal.
    fb_shutdown(0, fb_shutrsn_signal);

    target.transaction->commit();
    EXPECT_EQ(TestDatabase::attach(path).rowCount(QStringLiteral("T_GRUBU")), 1);
}

TEST(Connection, aServerErrorNamesATurkishFileNameReadably)
{
    TempFolder folder;
    const QString path = folder.filePath(QStringLiteral("Müşteri Şubesi/yıl sonu.fdb"));
    TargetSide target(path);
    const QString message = errorMessage([&] { target.connection->open(); });
    EXPECT_TRUE(message.contains(path)) << message.toStdString();
}
