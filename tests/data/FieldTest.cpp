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

class FieldsOfANewCard : public ::testing::Test, protected TestWorkspace {
protected:
    void SetUp() override
    {
        createTarget().detach();
        EditableDataSet& cards = createDataModule().Q_Stok;
        cards.open();
        cards.append();
    }

    Field& field(const char16_t* name) { return dataModule->Q_Stok.fieldByName(name); }
};

}  // namespace

TEST_F(FieldsOfANewCard, takeTheEmptyTextAsNullInEveryKind)
{
    for (const char16_t* name : {u"stok_adi", u"sira_no", u"grubu_id", u"kdv"}) {
        field(name).setAsString(u"1"_s);
        field(name).setAsString(QString());
        EXPECT_TRUE(field(name).isNull()) << QString::fromUtf16(name).toStdString();
        EXPECT_EQ(field(name).asString(), QString());
    }
    EXPECT_EQ(field(u"kdv").asFloat(), 0.0);
}

TEST_F(FieldsOfANewCard, refuseTextsTheirKindCannotRead)
{
    EXPECT_EQ(errorMessage([&] { field(u"sira_no").setAsString(u"12a"_s); }),
              u"'12a' is not a valid integer value for field 'SIRA_NO'"_s);
    EXPECT_EQ(errorMessage([&] { field(u"grubu_id").setAsString(u"40000"_s); }),
              u"40000 is not a valid value for field 'GRUBU_ID'. The allowed range is "
              "-32768 to 32767"_s);
    EXPECT_EQ(errorMessage([&] { field(u"sira_no").setAsString(u"2147483648"_s); }),
              u"2147483648 is not a valid value for field 'SIRA_NO'. The allowed range "
              "is -2147483648 to 2147483647"_s);
    // Under Turkish settings a full stop is no decimal separator.
    EXPECT_EQ(errorMessage([&] { field(u"kdv").setAsString(u"1.5"_s); }),
              u"'1.5' is not a valid floating point value for field 'KDV'"_s);
}

TEST_F(FieldsOfANewCard, giveBackWhatTheyTookThroughTheirTextForms)
{
    field(u"kdv").setAsString(u"0,3"_s);
    EXPECT_EQ(field(u"kdv").asFloat(), 0.3);
    field(u"kdv").setAsString(u"5E-5"_s);
    EXPECT_EQ(field(u"kdv").asString(), u"5E-5"_s);
    field(u"sira_no").setAsString(u"-42"_s);
    EXPECT_EQ(field(u"sira_no").asString(), u"-42"_s);
    field(u"stok_adi").setAsString(u" boşluklu "_s);
    EXPECT_EQ(field(u"stok_adi").asString(), u" boşluklu "_s);
}

TEST(GeneratorName, isWrittenAsConfiguredOnlyWhenPlain)
{
    EXPECT_EQ(generatorNameInStatement(u"T_STOK_STOK_ID_GEN"_s, 3), u"T_STOK_STOK_ID_GEN"_s);
    EXPECT_EQ(generatorNameInStatement(u"Gen \"x\""_s, 3), u"\"Gen \"\"x\"\"\""_s);
    EXPECT_EQ(generatorNameInStatement(u"ORDER"_s, 3), u"\"ORDER\""_s);
    EXPECT_EQ(generatorNameInStatement(u" gen_a "_s, 1), u"GEN_A"_s);
}

TEST(TableInfoCache, readsATableOncePerDatabaseFileName)
{
    NewTarget target(SchemaOptions{.cariWithDefaultAndComputed = true});
    target.connection->open();

    TableInfoCache cache;
    const TableInfo& first = cache.lookup(*target.connection, u"T_CARI"_s);
    EXPECT_TRUE(first.defaultedColumns.contains(u"AKTIFLIK"_s));
    EXPECT_TRUE(first.computedColumns.contains(QString::fromLatin1(kCariComputedColumn)));
    EXPECT_EQ(first.primaryKey, QStringList{u"CARI_ID"_s});

    // A change made afterwards is not seen: the answer is kept for the run.
    target.attachTarget().exec(u"alter table T_CARI alter AKTIFLIK drop default"_s);
    const TableInfo& again = cache.lookup(*target.connection, u"T_CARI"_s);
    EXPECT_EQ(&again, &first);
    EXPECT_TRUE(again.defaultedColumns.contains(u"AKTIFLIK"_s));
}
