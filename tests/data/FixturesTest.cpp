// The fixtures are what every database test trusts, so they get tests of
// their own: what the builder writes must really be in the file, and the
// loopback server must really be a separate server that can be lost.
#include "LoopbackServer.h"
#include "TestDatabase.h"
#include "TestSchema.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QMap>
#include <QStringList>

#include <bit>
#include <cstdint>
#include <limits>

namespace korvat::test {
namespace {

// Column names of a table in table order, straight from the system tables.
QStringList storedColumns(TestDatabase& db, const QString& table)
{
    QStringList names;
    const auto rows = db.query(QStringLiteral("SELECT RDB$FIELD_NAME FROM RDB$RELATION_FIELDS "
                                              "WHERE RDB$RELATION_NAME = '%1' ORDER BY RDB$FIELD_POSITION")
                                   .arg(table));
    for (const auto& row : rows)
        names.append(row.at(0).toString().trimmed());
    return names;
}

// RDB$FIELDS type code and character length of one column.
QPair<int, int> storedType(TestDatabase& db, const QString& table, const QString& column)
{
    const auto rows = db.query(
        QStringLiteral("SELECT F.RDB$FIELD_TYPE, F.RDB$CHARACTER_LENGTH FROM RDB$RELATION_FIELDS R "
                       "JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = R.RDB$FIELD_SOURCE "
                       "WHERE R.RDB$RELATION_NAME = '%1' AND R.RDB$FIELD_NAME = '%2'")
            .arg(table, column));
    if (rows.size() != 1)
        return {-1, -1};
    return {rows[0][0].toInt(), rows[0][1].isNull() ? 0 : rows[0][1].toInt()};
}

constexpr int kSmallIntType = 7, kIntegerType = 8, kDoubleType = 27, kTimestampType = 35, kCharType = 14,
              kVarCharType = 37;

TEST(TestSchemaTest, ColumnsRenderTheirTypeDefaultAndKey)
{
    const TableDef cari = tableDef(QStringLiteral("t_cari"));
    EXPECT_EQ(cari.columns.first().sql(), QStringLiteral("CARI_ID INTEGER NOT NULL PRIMARY KEY"));
    EXPECT_EQ(cari.column(QStringLiteral("vergi_dairesi"))->sql(), QStringLiteral("VERGI_DAIRESI VARCHAR(30)"));
    EXPECT_EQ(cari.column(QStringLiteral("BORC"))->sql(), QStringLiteral("BORC DOUBLE PRECISION"));
    EXPECT_EQ(cari.generator, QString::fromLatin1(kCariGenerator));

    SchemaOptions options;
    options.cariWithDefaultAndComputed = true;
    const TableDef withDefault = tableDef(QStringLiteral("T_CARI"), options);
    EXPECT_EQ(withDefault.column(QStringLiteral("AKTIFLIK"))->sql(), QStringLiteral("AKTIFLIK SMALLINT DEFAULT 1"));
    EXPECT_EQ(withDefault.columns.size(), 15);
    EXPECT_EQ(withDefault.storedColumnNames(), cari.columnNames());
    EXPECT_THROW(tableDef(QStringLiteral("T_YOK")), std::invalid_argument);
}

// Each option changes its own table and nothing else.
TEST(TestSchemaTest, EachVariantChangesOnlyItsOwnTable)
{
    const auto ddlByTable = [](const SchemaOptions& options) {
        QMap<QString, QString> ddl;
        for (const TableDef& t : schemaTables(options))
            ddl.insert(t.name, t.createSql());
        return ddl;
    };
    const QMap<QString, QString> standard = ddlByTable({});
    ASSERT_EQ(standard.size(), 5);

    struct Variant {
        void (*apply)(SchemaOptions&);
        QStringList changedTables;
    };
    const Variant variants[] = {
        {[](SchemaOptions& o) { o.stokWithoutKmpM2 = true; }, {QStringLiteral("T_STOK")}},
        {[](SchemaOptions& o) { o.grubuAsChar = true; }, {QStringLiteral("T_GRUBU")}},
        {[](SchemaOptions& o) { o.cariWithDefaultAndComputed = true; }, {QStringLiteral("T_CARI")}},
        {[](SchemaOptions& o) { o.dekontRefusesInserts = true; }, {QStringLiteral("T_DEKONT_HAREKET")}},
        {[](SchemaOptions& o) { o.movementColumnsNotNull = true; },
         {QStringLiteral("T_STOK_HAREKET"), QStringLiteral("T_DEKONT_HAREKET")}},
    };
    for (const Variant& variant : variants) {
        SchemaOptions options;
        variant.apply(options);
        const QMap<QString, QString> changed = ddlByTable(options);
        for (auto it = standard.constBegin(); it != standard.constEnd(); ++it)
            EXPECT_EQ(changed.value(it.key()) != it.value(), variant.changedTables.contains(it.key()))
                << it.key().toStdString() << ": " << changed.value(it.key()).toStdString();
    }
    SchemaOptions wrongDialect;
    wrongDialect.dialect = 2;
    EXPECT_THROW(schemaStatements(wrongDialect), std::invalid_argument);
}

TEST(SqlLiteralTest, ValuesBecomeLiteralsBothDialectsRead)
{
    EXPECT_EQ(sqlLiteral(QVariant()), QStringLiteral("NULL"));
    EXPECT_EQ(sqlLiteral(QString::fromUtf8("Ali'nin 'dükkanı'")), QString::fromUtf8("'Ali''nin ''dükkanı'''"));
    EXPECT_EQ(sqlLiteral(QStringLiteral("")), QStringLiteral("''"));
    EXPECT_EQ(sqlLiteral(-32768), QStringLiteral("-32768"));
    EXPECT_EQ(sqlLiteral(qlonglong(9007199254740993LL)), QStringLiteral("9007199254740993"));
    EXPECT_EQ(sqlLiteral(0.1), QStringLiteral("1.0000000000000001e-01"));
    EXPECT_EQ(sqlLiteral(-2.5), QStringLiteral("-2.5000000000000000e+00"));
    EXPECT_EQ(sqlLiteral(QDate(2024, 3, 1)), QStringLiteral("'2024-03-01'"));
    EXPECT_EQ(sqlLiteral(QDateTime(QDate(2024, 3, 1), QTime(21, 57, 33, 446))),
              QStringLiteral("'2024-03-01 21:57:33.446'"));
    EXPECT_THROW(sqlLiteral(std::numeric_limits<double>::infinity()), std::invalid_argument);
    EXPECT_THROW(sqlLiteral(QVariant::fromValue(QStringList{QStringLiteral("a")})), std::invalid_argument);
}

TEST(TestDatabaseTest, TurkishTextIsStoredAsWindows1254BytesAndReadBackUnchanged)
{
    TempFolder folder;
    TestDatabase db = TestDatabase::create(folder.filePath(QStringLiteral("tr.fdb")));
    const QString text = QString::fromUtf8("Şeker Ğ İı");
    db.insertRow(QStringLiteral("T_GRUBU"), {{QStringLiteral("GRUBU_ID"), 1},
                                            {QStringLiteral("GRUBU"), text},
                                            {QStringLiteral("KISA_YOL"), QStringLiteral("O'Brien")}});

    const QByteArray expected = toWindows1254(text);
    ASSERT_EQ(expected.size(), 10);
    QStringList byteColumns;
    for (int i = 1; i <= expected.size(); ++i)
        byteColumns.append(QStringLiteral("ASCII_VAL(SUBSTRING(GRUBU FROM %1 FOR 1))").arg(i));
    const auto rows = db.query(QStringLiteral("SELECT GRUBU, KISA_YOL, OCTET_LENGTH(GRUBU), %1 FROM T_GRUBU")
                                   .arg(byteColumns.join(QStringLiteral(", "))));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0].toString(), text);
    EXPECT_EQ(rows[0][1].toString(), QStringLiteral("O'Brien"));
    EXPECT_EQ(rows[0][2].toInt(), 10);
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(rows[0][3 + i].toInt(), static_cast<unsigned char>(expected[i])) << "byte " << i;
    EXPECT_EQ(static_cast<unsigned char>(expected[0]), 0xDE);  // 'Ş' in Windows-1254
}

TEST(TestDatabaseTest, TextOutsideTheCodePageIsRefusedInsteadOfStoredAsQuestionMarks)
{
    EXPECT_THROW(toWindows1254(QString::fromUtf8("Жук")), std::invalid_argument);
}

TEST(TestDatabaseTest, CharColumnsKeepTheirPaddingVarCharColumnsDoNot)
{
    TempFolder folder;
    SchemaOptions asChar;
    asChar.grubuAsChar = true;
    TestDatabase padded = TestDatabase::create(folder.filePath(QStringLiteral("char.fdb")), asChar);
    TestDatabase plain = TestDatabase::create(folder.filePath(QStringLiteral("varchar.fdb")));
    for (TestDatabase* db : {&padded, &plain})
        db->insertRow(QStringLiteral("T_GRUBU"), {{QStringLiteral("GRUBU_ID"), 1}, {QStringLiteral("GRUBU"), QStringLiteral("Ab")}});

    EXPECT_EQ(padded.scalar(QStringLiteral("SELECT GRUBU FROM T_GRUBU")).toString(),
              QStringLiteral("Ab") + QString(38, QLatin1Char(' ')));
    EXPECT_EQ(plain.scalar(QStringLiteral("SELECT GRUBU FROM T_GRUBU")).toString(), QStringLiteral("Ab"));
    EXPECT_EQ(storedType(padded, QStringLiteral("T_GRUBU"), QStringLiteral("KISA_YOL")), qMakePair(kCharType, 20));
}

TEST(TestDatabaseTest, DialectOneDatabaseReallyHasDialectOneAndTheWholeSchema)
{
    TempFolder folder;
    SchemaOptions dialect1;
    dialect1.dialect = 1;
    TestDatabase db = TestDatabase::create(folder.filePath(QStringLiteral("d1.fdb")), dialect1);
    const auto settings = db.query(QStringLiteral("SELECT MON$SQL_DIALECT, MON$PAGE_SIZE, MON$FORCED_WRITES FROM MON$DATABASE"));
    ASSERT_EQ(settings.size(), 1);
    EXPECT_EQ(settings[0][0].toInt(), 1);
    EXPECT_EQ(settings[0][1].toInt(), 8192);
    EXPECT_EQ(settings[0][2].toInt(), 0);  // no fsync per commit in test files
    EXPECT_EQ(db.dialect(), 1);
    EXPECT_EQ(storedColumns(db, QStringLiteral("T_STOK")).size(), 39);
    EXPECT_EQ(storedType(db, QStringLiteral("T_STOK_HAREKET"), QStringLiteral("TARIH")).first, kTimestampType);

    TestDatabase db3 = TestDatabase::create(folder.filePath(QStringLiteral("d3.fdb")));
    EXPECT_EQ(db3.scalar(QStringLiteral("SELECT MON$SQL_DIALECT FROM MON$DATABASE")).toInt(), 3);
}

TEST(TestDatabaseTest, MasterTablesHaveTheirColumnsInTableOrderWithTheirTypes)
{
    TempFolder folder;
    TestDatabase db = TestDatabase::create(folder.filePath(QStringLiteral("order.fdb")));
    // Written out by hand rather than taken from TestSchema, so a slip there shows up here.
    const QStringList stok = QStringLiteral(
        "STOK_ID STOK_ADI SATIS_FIYATI ALIS_FIYATI GRUBU GRUBU_ID EK_MENU STOK_KODU SIRA_NO RESIM_YERI BIRIM "
        "STOK_TIPI STOK_TIPI_ID GIREN CIKAN ENVANTER AKTIFLIK MALIYET SATIS_FIYATI_2 BARKOD KISA_YOL KDV "
        "SATIS_ISKONTO ALIS_ISKONTO A_KDV S_KDV SON_ALIS SON_SATIS ACIKLAMA KAR_MARJI YERLI_URUN_FT AGIRLIK_TIPI "
        "TERAZI_PLU KRITIK_SEVIYE BIRIM_AGIRLIK_FIYAT AGIRLIK KAPMANYA KMP_M KMP_M2").split(QLatin1Char(' '));
    const QStringList cari = QStringLiteral("CARI_ID CARI_KODU CARI_ADI TELEFON BORC ALACAK BAKIYE TELEFON2 "
                                            "VERGI_NO VERGI_DAIRESI ADRES ADRES2 ACIKLAMA AKTIFLIK")
                                 .split(QLatin1Char(' '));
    EXPECT_EQ(storedColumns(db, QStringLiteral("T_STOK")), stok);
    EXPECT_EQ(storedColumns(db, QStringLiteral("T_CARI")), cari);
    EXPECT_EQ(storedColumns(db, QStringLiteral("T_GRUBU")),
              QStringLiteral("GRUBU_ID GRUBU SIRA_NO KISA_YOL").split(QLatin1Char(' ')));

    EXPECT_EQ(storedType(db, QStringLiteral("T_GRUBU"), QStringLiteral("GRUBU_ID")).first, kSmallIntType);
    EXPECT_EQ(storedType(db, QStringLiteral("T_GRUBU"), QStringLiteral("SIRA_NO")).first, kSmallIntType);
    EXPECT_EQ(storedType(db, QStringLiteral("T_STOK"), QStringLiteral("SIRA_NO")).first, kIntegerType);
    EXPECT_EQ(storedType(db, QStringLiteral("T_STOK"), QStringLiteral("ACIKLAMA")), qMakePair(kVarCharType, 75));
    EXPECT_EQ(storedType(db, QStringLiteral("T_CARI"), QStringLiteral("ACIKLAMA")), qMakePair(kVarCharType, 65));
    EXPECT_EQ(storedType(db, QStringLiteral("T_CARI"), QStringLiteral("BAKIYE")).first, kDoubleType);

    // Keys are NOT NULL primary keys, everything else of the master tables takes NULL.
    EXPECT_THROW(db.insertRow(QStringLiteral("T_CARI"), {{QStringLiteral("CARI_ID"), QVariant()}}), FirebirdError);
    db.insertRow(QStringLiteral("T_CARI"), {{QStringLiteral("CARI_ID"), 7}});
    EXPECT_THROW(db.insertRow(QStringLiteral("T_CARI"), {{QStringLiteral("CARI_ID"), 7}}), FirebirdError);
}

TEST(TestDatabaseTest, ValuesComeBackExactlyAsInserted)
{
    TempFolder folder;
    TestDatabase db = TestDatabase::create(folder.filePath(QStringLiteral("values.fdb")));
    // 755.16 and 448.91607574777692 are among the values that Firebird 3 reads
    // a few units off when they come as literals.
    const QList<double> doubles{0.1 + 0.2, 1e-300, -123456.789, std::numeric_limits<double>::max(),
                                std::numeric_limits<double>::denorm_min(), 0.0, 755.16, 448.91607574777692};
    for (int i = 0; i < doubles.size(); ++i)
        db.insertRow(QStringLiteral("T_STOK"), {{QStringLiteral("STOK_ID"), i + 1},
                                               {QStringLiteral("ENVANTER"), doubles[i]},
                                               {QStringLiteral("STOK_TIPI_ID"), -32768},
                                               {QStringLiteral("TERAZI_PLU"), 2147483647}});
    const auto rows = db.query(QStringLiteral("SELECT ENVANTER, STOK_TIPI_ID, TERAZI_PLU, BARKOD FROM T_STOK ORDER BY STOK_ID"));
    ASSERT_EQ(rows.size(), doubles.size());
    for (int i = 0; i < doubles.size(); ++i) {
        ASSERT_EQ(rows[i][0].typeId(), QMetaType::Double);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(rows[i][0].toDouble()), std::bit_cast<std::uint64_t>(doubles[i]))
            << "double " << doubles[i];
        EXPECT_EQ(rows[i][1].typeId(), QMetaType::Int);
        EXPECT_EQ(rows[i][1].toInt(), -32768);
        EXPECT_EQ(rows[i][2].toInt(), 2147483647);
        EXPECT_TRUE(rows[i][3].isNull());
    }

    const QDateTime at(QDate(2024, 2, 29), QTime(21, 57, 33, 446));
    db.insertRow(QStringLiteral("T_STOK_HAREKET"), {{QStringLiteral("STOK_ID"), QStringLiteral("12")},
                                                   {QStringLiteral("TURU_ID"), 8},
                                                   {QStringLiteral("TARIH"), at},
                                                   {QStringLiteral("FIYAT"), QVariant()}});
    const auto movement = db.query(QStringLiteral("SELECT ID, STOK_ID, TARIH, FIYAT, CAST(TARIH AS DATE) FROM T_STOK_HAREKET"));
    ASSERT_EQ(movement.size(), 1);
    EXPECT_EQ(movement[0][0].toInt(), 1);  // drawn by the trigger
    EXPECT_EQ(movement[0][1].toInt(), 12);
    EXPECT_EQ(movement[0][2].toDateTime(), at);
    EXPECT_TRUE(movement[0][3].isNull());
    EXPECT_EQ(movement[0][4].toDate(), QDate(2024, 2, 29));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM T_STOK")).typeId(), QMetaType::LongLong);

    // The same kinds as binary parameters.
    db.exec(QStringLiteral("INSERT INTO T_DEKONT_HAREKET (CARI_ID, TURU_ID, TARIH, GIREN, CIKAN) VALUES (?, ?, ?, ?, ?)"),
            {QStringLiteral("34"), QVariant(), at, 755.16, 0});
    const auto entry = db.query(QStringLiteral("SELECT CARI_ID, TURU_ID, TARIH, GIREN, CIKAN FROM T_DEKONT_HAREKET WHERE CARI_ID = ?"), {34});
    ASSERT_EQ(entry.size(), 1);
    EXPECT_TRUE(entry[0][1].isNull());
    EXPECT_EQ(entry[0][2].toDateTime(), at);
    EXPECT_EQ(entry[0][3].toDouble(), 755.16);
    EXPECT_EQ(entry[0][4].toDouble(), 0.0);
}

TEST(TestDatabaseTest, GeneratorsCanBeSetAndRead)
{
    TempFolder folder;
    TestDatabase db = TestDatabase::create(folder.filePath(QStringLiteral("gen.fdb")));
    EXPECT_EQ(db.generatorValue(QString::fromLatin1(kCariGenerator)), 0);
    db.setGenerator(QString::fromLatin1(kCariGenerator), 100);
    EXPECT_EQ(db.generatorValue(QString::fromLatin1(kCariGenerator)), 100);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT GEN_ID(T_CARI_CARI_ID_GEN, 1) FROM RDB$DATABASE")).toLongLong(), 101);
    EXPECT_EQ(db.generatorValue(QString::fromLatin1(kStokGenerator)), 0);
    EXPECT_EQ(db.generatorValue(QString::fromLatin1(kGrubuGenerator)), 0);
}

TEST(TestDatabaseTest, SchemaVariantsChangeWhatTheyName)
{
    TempFolder folder;
    SchemaOptions options;
    options.stokWithoutKmpM2 = true;
    options.movementColumnsNotNull = true;
    options.cariWithDefaultAndComputed = true;
    options.dekontRefusesInserts = true;
    TestDatabase db = TestDatabase::create(folder.filePath(QStringLiteral("variants.fdb")), options);

    const QStringList stok = storedColumns(db, QStringLiteral("T_STOK"));
    EXPECT_EQ(stok.size(), 38);
    EXPECT_EQ(stok.last(), QStringLiteral("KMP_M"));

    try {
        db.insertRow(QStringLiteral("T_STOK_HAREKET"), {{QStringLiteral("STOK_ID"), 1}, {QStringLiteral("FIYAT"), QVariant()}});
        ADD_FAILURE() << "NULL went into a NOT NULL movement column";
    } catch (const FirebirdError& e) {
        EXPECT_TRUE(e.hasEngineCode(kNotNullViolationCode)) << e.what();
    }
    try {
        db.insertRow(QStringLiteral("T_DEKONT_HAREKET"), {{QStringLiteral("CARI_ID"), 1}, {QStringLiteral("TURU_ID"), 1},
                                                         {QStringLiteral("TARIH"), QDateTime(QDate(2024, 1, 1), QTime(0, 0))},
                                                         {QStringLiteral("GIREN"), 1.0}, {QStringLiteral("CIKAN"), 0.0}});
        ADD_FAILURE() << "t_dekont_hareket took a row";
    } catch (const FirebirdError& e) {
        EXPECT_TRUE(e.hasEngineCode(kCheckConstraintCode)) << e.what();
    }

    db.insertRow(QStringLiteral("T_CARI"), {{QStringLiteral("CARI_ID"), 1}, {QStringLiteral("BORC"), 10.5}, {QStringLiteral("ALACAK"), 4.0}});
    const auto cari = db.query(QStringLiteral("SELECT AKTIFLIK, %1 FROM T_CARI").arg(QString::fromLatin1(kCariComputedColumn)));
    EXPECT_EQ(cari.at(0).at(0).toInt(), 1);
    EXPECT_DOUBLE_EQ(cari.at(0).at(1).toDouble(), 6.5);
    EXPECT_EQ(storedColumns(db, QStringLiteral("T_CARI")).last(), QString::fromLatin1(kCariComputedColumn));

    // The standard schema takes the NULLs and the account entries that the variants refuse.
    TestDatabase standard = TestDatabase::create(folder.filePath(QStringLiteral("standard.fdb")));
    standard.insertRow(QStringLiteral("T_STOK_HAREKET"), {{QStringLiteral("STOK_ID"), 1}, {QStringLiteral("FIYAT"), QVariant()}});
    standard.insertRow(QStringLiteral("T_DEKONT_HAREKET"), {{QStringLiteral("CARI_ID"), 1}, {QStringLiteral("TURU_ID"), QVariant()}});
    EXPECT_EQ(standard.rowCount(QStringLiteral("T_DEKONT_HAREKET")), 1);
    standard.insertRow(QStringLiteral("T_CARI"), {{QStringLiteral("CARI_ID"), 1}});
    EXPECT_TRUE(standard.scalar(QStringLiteral("SELECT AKTIFLIK FROM T_CARI")).isNull());
}

TEST(TestDatabaseTest, ErrorsCarryTheEngineText)
{
    TempFolder folder;
    TestDatabase db = TestDatabase::create(folder.filePath(QStringLiteral("err.fdb")));
    try {
        db.exec(QStringLiteral("INSERT INTO NO_SUCH_TABLE (A) VALUES (1)"));
        ADD_FAILURE() << "no error";
    } catch (const FirebirdError& e) {
        const QString message = QString::fromLocal8Bit(e.what());
        EXPECT_TRUE(message.contains(QStringLiteral("Table unknown"))) << e.what();
        EXPECT_TRUE(message.contains(QStringLiteral("NO_SUCH_TABLE"))) << e.what();
        EXPECT_EQ(e.sqlCode(), -204);
    }
}

TEST(TestDatabaseTest, OpenTransactionKeepsRowsFromOtherAttachmentsUntilCommitted)
{
    TempFolder folder;
    const QString path = folder.filePath(QStringLiteral("tx.fdb"));
    TestDatabase writer = TestDatabase::create(path);
    TestDatabase reader = TestDatabase::attach(path);
    writer.insertRow(QStringLiteral("T_GRUBU"), {{QStringLiteral("GRUBU_ID"), 1}, {QStringLiteral("SIRA_NO"), 1}});

    TestTransaction holder = writer.begin();
    holder.exec(QStringLiteral("UPDATE T_GRUBU SET SIRA_NO = 2"));
    holder.exec(QStringLiteral("INSERT INTO T_GRUBU (GRUBU_ID) VALUES (2)"));
    EXPECT_EQ(reader.rowCount(QStringLiteral("T_GRUBU")), 1);
    try {
        reader.exec(QStringLiteral("UPDATE T_GRUBU SET SIRA_NO = 3"));
        ADD_FAILURE() << "a locked row was updated";
    } catch (const FirebirdError& e) {
        EXPECT_TRUE(e.hasEngineCode(kLockConflictCode) || e.hasEngineCode(kUpdateConflictCode)) << e.what();
    }
    holder.commit();
    EXPECT_EQ(reader.rowCount(QStringLiteral("T_GRUBU")), 2);
}

TEST(TestDatabaseTest, RolledBackAndDroppedTransactionsLeaveNothing)
{
    TempFolder folder;
    TestDatabase db = TestDatabase::create(folder.filePath(QStringLiteral("rollback.fdb")));
    {
        TestTransaction dropped = db.begin();
        dropped.exec(QStringLiteral("INSERT INTO T_GRUBU (GRUBU_ID) VALUES (1)"));
        EXPECT_EQ(dropped.query(QStringLiteral("SELECT COUNT(*) FROM T_GRUBU")).at(0).at(0).toInt(), 1);
    }
    TestTransaction rolledBack = db.begin();
    rolledBack.exec(QStringLiteral("INSERT INTO T_GRUBU (GRUBU_ID) VALUES (2)"));
    rolledBack.rollback();
    EXPECT_FALSE(rolledBack.active());
    EXPECT_THROW(rolledBack.exec(QStringLiteral("SELECT 1 FROM RDB$DATABASE")), std::logic_error);
    EXPECT_EQ(db.rowCount(QStringLiteral("T_GRUBU")), 0);
}

TEST(TestDatabaseTest, ReturningRowsAndTextBlobsAreRead)
{
    TempFolder folder;
    SchemaOptions options;
    options.cariWithDefaultAndComputed = true;
    TestDatabase db = TestDatabase::create(folder.filePath(QStringLiteral("returning.fdb")), options);
    db.setGenerator(QString::fromLatin1(kStokHareketGenerator), 41);
    const auto returned =
        db.query(QStringLiteral("INSERT INTO T_STOK_HAREKET (STOK_ID) VALUES (5) RETURNING ID, STOK_ID"));
    ASSERT_EQ(returned.size(), 1);
    EXPECT_EQ(returned[0][0].toInt(), 42);
    EXPECT_EQ(returned[0][1].toInt(), 5);

    const QVariant source = db.scalar(QStringLiteral("SELECT RDB$DEFAULT_SOURCE FROM RDB$RELATION_FIELDS "
                                                     "WHERE RDB$RELATION_NAME = 'T_CARI' AND RDB$FIELD_NAME = 'AKTIFLIK'"));
    EXPECT_EQ(source.typeId(), QMetaType::QString);
    EXPECT_EQ(source.toString().simplified(), QStringLiteral("DEFAULT 1"));
}

TEST(LoopbackServerTest, DatabaseIsCreatedAndAttachedThroughTheServer)
{
    LoopbackServer& server = loopbackServer();
    ASSERT_TRUE(server.running());
    const QString remote = server.remoteName(server.databasePath(QStringLiteral("remote.fdb")));
    EXPECT_TRUE(remote.startsWith(QStringLiteral("127.0.0.1/%1:").arg(server.port())));
    {
        TestDatabase db = TestDatabase::create(remote);
        db.insertRow(QStringLiteral("T_GRUBU"), {{QStringLiteral("GRUBU_ID"), 1}, {QStringLiteral("GRUBU"), QString::fromUtf8("İçecek")}});
    }
    TestDatabase db = TestDatabase::attach(remote);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT TRIM(MON$REMOTE_PROTOCOL) FROM MON$ATTACHMENTS "
                                       "WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION")).toString(),
              QStringLiteral("TCPv4"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT GRUBU FROM T_GRUBU")).toString(), QString::fromUtf8("İçecek"));

    // The server holds the file: the embedded engine cannot open it meanwhile,
    // and can as soon as the last remote attachment is gone.
    const QString local = server.databasePath(QStringLiteral("remote.fdb"));
    EXPECT_THROW(TestDatabase::attach(local), FirebirdError);
    db.detach();
    EXPECT_EQ(TestDatabase::attach(local).rowCount(QStringLiteral("T_GRUBU")), 1);
}

TEST(LoopbackServerTest, SharedServerComesBackOnItsPortAfterAKill)
{
    const int port = loopbackServer().port();
    const qint64 killedProcess = loopbackServer().processId();
    loopbackServer().kill();
    LoopbackServer& server = loopbackServer();  // started again on the way
    EXPECT_TRUE(server.running());
    EXPECT_NE(server.processId(), killedProcess);
    EXPECT_EQ(server.port(), port);
    const QString remote = server.remoteName(server.databasePath(QStringLiteral("again.fdb")));
    EXPECT_NO_THROW(TestDatabase::createEmpty(remote));
}

TEST(LoopbackServerTest, WrongPasswordIsRefused)
{
    LoopbackServer& server = loopbackServer();
    const QString remote = server.remoteName(server.databasePath(QStringLiteral("login.fdb")));
    TestDatabase::createEmpty(remote);
    try {
        TestDatabase::attach(remote, QStringLiteral("SYSDBA"), QStringLiteral("wrong"));
        ADD_FAILURE() << "attached with a wrong password";
    } catch (const FirebirdError& e) {
        EXPECT_TRUE(e.hasEngineCode(kLoginErrorCode)) << e.what();
    }
    EXPECT_NO_THROW(TestDatabase::attach(remote));
}

TEST(LoopbackServerTest, KilledServerFailsTheNextStatementAndComesBackOnTheSamePort)
{
    LoopbackServer server;  // a private one: the shared server stays up for others
    server.start();
    const int port = server.port();
    const QString remote = server.remoteName(server.databasePath(QStringLiteral("killed.fdb")));
    TestDatabase db = TestDatabase::create(remote);
    db.insertRow(QStringLiteral("T_GRUBU"), {{QStringLiteral("GRUBU_ID"), 1}});

    server.kill();
    EXPECT_FALSE(server.running());
    try {
        db.query(QStringLiteral("SELECT COUNT(*) FROM T_GRUBU"));
        ADD_FAILURE() << "a statement ran on a killed server";
    } catch (const FirebirdError& e) {
        EXPECT_TRUE(isConnectionLost(e)) << e.what();
    }
    db.detach();  // must not throw on a dead connection
    EXPECT_FALSE(db.attached());

    server.start();
    EXPECT_EQ(server.port(), port);
    TestDatabase again = TestDatabase::attach(remote);
    EXPECT_EQ(again.rowCount(QStringLiteral("T_GRUBU")), 1);  // committed before the kill

    // An orderly restart serves the same file on the same port.
    again.detach();
    server.restart();
    EXPECT_EQ(server.port(), port);
    EXPECT_EQ(TestDatabase::attach(remote).rowCount(QStringLiteral("T_GRUBU")), 1);
}

}  // namespace
}  // namespace korvat::test
