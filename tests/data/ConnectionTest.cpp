#include "DataTestSupport.h"
#include "DatabaseUser.h"
#include "SqlDescriptorArea.h"
#include "TestDatabase.h"

#include <QDir>

using namespace korvat;
using namespace korvat::test;

TEST(Connection, attachesReadsTheDialectAndDetaches)
{
    NewTarget target;
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
    NewTarget target(SchemaOptions{.dialect = 1});
    target.openAndStart();
    EXPECT_EQ(target.connection->sqlDialect(), 1);

    // Dialect 1 divides integers into a double; dialect 3 would keep an integer.
    Statement statement(*target.connection, *target.transaction);
    statement.prepare(u"select 1/2 from rdb$database"_s);
    EXPECT_EQ(baseType(statement.output().var(0)), SQL_DOUBLE);
}

TEST(Connection, refusesToAttachTwiceOrWithoutAName)
{
    NewTarget target;
    target.connection->open();
    EXPECT_EQ(errorMessage([&] { target.connection->open(); }),
              u"Cannot perform operation -- DB is currently open"_s);
    EXPECT_EQ(errorMessage([&] { target.connection->setDatabaseName(u"/x.fdb"_s); }),
              u"Cannot perform operation -- DB is currently open"_s);
    EXPECT_EQ(errorMessage([&] { target.connection->setDatabaseName(target.targetPath); }), u"<no error>"_s);
    target.connection->close();

    target.connection->setDatabaseName(QString());
    EXPECT_EQ(errorMessage([&] { target.connection->open(); }), u"Database name is missing"_s);
}

TEST(Connection, aMissingFileGivesTheServersLinesAndStaysDetached)
{
    TempFolder folder;
    TargetSide target(folder.filePath(u"missing.fdb"_s));
    try {
        target.connection->open();
        FAIL() << "attached a file that does not exist";
    } catch (const ServerError& error) {
        EXPECT_TRUE(error.message().contains(u"missing.fdb"_s));
        EXPECT_TRUE(error.message().contains(u"\r\n"_s));
        EXPECT_FALSE(error.message().endsWith(QLatin1Char('.')));
        EXPECT_NE(error.sqlCode(), 0);
    }
    EXPECT_FALSE(target.connection->connected());
}

TEST(Connection, aFileOfAnOlderStructureIsExplainedInTurkishAndStaysDetached)
{
    TempFolder folder;
    const QString path = folder.filePath(u"ESKI.FDB"_s);
    TestDatabase::create(path).detach();
    markOlderStructure(path);
    TargetSide target(path);
    target.connection->setLocalServerPort(1);  // no server there either
    try {
        target.connection->open();
        FAIL() << "attached a file of an older structure";
    } catch (const OlderFileError& error) {
        EXPECT_EQ(error.message(),
                  u"%1 dosyası Firebird'ün daha eski bir sürümüyle oluşturulmuş (disk yapısı 11.0); bu "
                  "programın Firebird 3 motoru onu açamıyor.\r\nDosyayı, onu oluşturan Firebird sürümünün "
                  "sunucusu üzerinden açın ya da o sürümün gbak programıyla yedeğini alıp bu sürümün gbak "
                  "programıyla geri yükleyerek dönüştürün"_s.arg(path));
    }
    EXPECT_FALSE(target.connection->connected());
}

TEST(Connection, attachesThroughAFolderWithTurkishLetters)
{
    TempFolder folder;
    const QString turkishFolder = folder.filePath(u"Masaüstü"_s);
    ASSERT_TRUE(QDir().mkpath(turkishFolder));
    const QString path = turkishFolder + u"/KORVAT.FDB"_s;
    TargetSide target(path);  // loading the client prepares the process for such names
    TestDatabase::create(path).detach();

    target.connection->open();
    EXPECT_TRUE(target.connection->connected());
}

TEST(Connection, detachClosesItsUsersAndCommitsTheDefaultTransaction)
{
    NewTarget target;
    target.openAndStart();
    RecordingUser user(*target.connection);
    target.run(u"insert into T_GRUBU (GRUBU_ID, GRUBU) values (7, 'Kuruyemiş')"_s);

    target.connection->close();
    EXPECT_EQ(user.closes, 1);
    EXPECT_FALSE(target.transaction->inTransaction());

    const auto rows = target.committed(u"select GRUBU from T_GRUBU where GRUBU_ID = 7"_s);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0].toString(), u"Kuruyemiş"_s);
}

TEST(Connection, aTerminationSignalLeavesTheAttachmentToTheProgram)
{
    NewTarget target;
    target.openWithPendingGroup();

    // What the client library's own handler of SIGINT and SIGTERM does,
    // run here at once instead of a moment after a signal.
    fb_shutdown(0, fb_shutrsn_signal);

    target.transaction->commit();
    EXPECT_EQ(target.committedCount(u"T_GRUBU"_s), 1);
}

TEST(Connection, aServerErrorNamesATurkishFileNameReadably)
{
    TempFolder folder;
    const QString path = folder.filePath(u"Müşteri Şubesi/yıl sonu.fdb"_s);
    TargetSide target(path);
    const QString message = errorMessage([&] { target.connection->open(); });
    EXPECT_TRUE(message.contains(path)) << message.toStdString();
}
