// Fields set from text and read back: the empty-text rule, the conversion
// messages and the generator's name in its statement.
#include "DataTestSupport.h"
#include "EditableDataSet.h"
#include "TableInfo.h"
#include "TestDatabase.h"
#include "u_dm.h"

using namespace korvat;
using namespace korvat::test;

namespace {

class FieldsOfANewCard : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.defaultTarget = folder.filePath(QStringLiteral("KORVAT.FDB"));
        settings.regionalSettings = RegionalSettings(QLatin1Char(','));
        TestDatabase::create(settings.defaultTarget).detach();
        dm = std::make_unique<Tdm>(settings);
        dm->Q_Stok.open();
        dm->Q_Stok.append();
    }

    Field& field(const char16_t* name) { return dm->Q_Stok.fieldByName(name); }

    TempFolder folder;
    TdmSettings settings;
    std::unique_ptr<Tdm> dm;
};

}  // namespace

TEST_F(FieldsOfANewCard, takeTheEmptyTextAsNullInEveryKind)
{
    for (const char16_t* name : {u"stok_adi", u"sira_no", u"grubu_id", u"kdv"}) {
        field(name).setAsString(QStringLiteral("1"));
        field(name).setAsString(QString());
        EXPECT_TRUE(field(name).isNull()) << QString::fromUtf16(name).toStdString();
        EXPECT_EQ(field(name).asString(), QString());
    }
    EXPECT_EQ(field(u"kdv").asFloat(), 0.0);
}

TEST_F(FieldsOfANewCard, refuseTextsTheirKindCannotRead)
{
    EXPECT_EQ(errorMessage([&] { field(u"sira_no").setAsString(QStringLiteral("12a")); }),
              QStringLiteral("'12a' is not a valid integer value for field 'SIRA_NO'"));
    EXPECT_EQ(errorMessage([&] { field(u"grubu_id").setAsString(QStringLiteral("40000")); }),
              QStringLiteral("40000 is not a valid value for field 'GRUBU_ID'. The allowed range is "
                             "-32768 to 32767"));
    EXPECT_EQ(errorMessage([&] { field(u"sira_no").setAsString(QStringLiteral("2147483648")); }),
              QStringLiteral("2147483648 is not a valid value for field 'SIRA_NO'. The allowed range "
                             "is -2147483648 to 2147483647"));
    // Under Turkish settings a full stop is no decimal separator.
    EXPECT_EQ(errorMessage([&] { field(u"kdv").setAsString(QStringLiteral("1.5")); }),
              QStringLiteral("'1.5' is not a valid floating point value for field 'KDV'"));
}

TEST_F(FieldsOfANewCard, giveBackWhatTheyTookThroughTheirTextForms)
{
    field(u"kdv").setAsString(QStringLiteral("0,3"));
    EXPECT_EQ(field(u"kdv").asFloat(), 0.3);
    field(u"kdv").setAsString(QStringLiteral("5E-5"));
    EXPECT_EQ(field(u"kdv").asString(), QStringLiteral("5E-5"));
    field(u"sira_no").setAsString(QStringLiteral("-42"));
    EXPECT_EQ(field(u"sira_no").asString(), QStringLiteral("-42"));
    field(u"stok_adi").setAsString(QStringLiteral(" boşluklu "));
    EXPECT_EQ(field(u"stok_adi").asString(), QStringLiteral(" boşluklu "));
}

TEST(GeneratorName, isWrittenAsConfiguredOnlyWhenPlain)
{
    EXPECT_EQ(generatorNameInStatement(QStringLiteral("T_STOK_STOK_ID_GEN"), 3),
              QStringLiteral("T_STOK_STOK_ID_GEN"));
    EXPECT_EQ(generatorNameInStatement(QStringLiteral("Gen \"x\""), 3), QStringLiteral("\"Gen \"\"x\"\"\""));
    EXPECT_EQ(generatorNameInStatement(QStringLiteral("ORDER"), 3), QStringLiteral("\"ORDER\""));
    EXPECT_EQ(generatorNameInStatement(QStringLiteral(" gen_a "), 1), QStringLiteral("GEN_A"));
}

TEST(TableInfoCache, readsATableOncePerDatabaseFileName)
{
    TempFolder folder;
    const QString path = folder.filePath(QStringLiteral("t.fdb"));
    TestDatabase::create(path, SchemaOptions{.cariWithDefaultAndComputed = true}).detach();
    TargetSide target(path);
    target.connection->open();

    TableInfoCache cache;
    const TableInfo& first = cache.lookup(*target.connection, QStringLiteral("T_CARI"));
    EXPECT_TRUE(first.defaultedColumns.contains(QStringLiteral("AKTIFLIK")));
    EXPECT_TRUE(first.computedColumns.contains(QString::fromLatin1(kCariComputedColumn)));
    EXPECT_EQ(first.primaryKey, QStringList{QStringLiteral("CARI_ID")});

    // A change made afterwards is not seen: the answer is kept for the run.
    TestDatabase::attach(path).exec(QStringLiteral("alter table T_CARI alter AKTIFLIK drop default"));
    const TableInfo& again = cache.lookup(*target.connection, QStringLiteral("T_CARI"));
    EXPECT_EQ(&again, &first);
    EXPECT_TRUE(again.defaultedColumns.contains(QStringLiteral("AKTIFLIK")));
}
