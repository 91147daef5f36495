// The source queries: fixed field lists bound by name, rows fetched one at a
// time, walking, text forms, and the source read transaction.
#include "DataTestSupport.h"
#include "TestDatabase.h"
#include "u_dm.h"

using namespace korvat;
using namespace korvat::test;

namespace {

class SourceQueries : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.defaultTarget = folder.filePath(QStringLiteral("KORVAT.FDB"));
        settings.regionalSettings = RegionalSettings(QLatin1Char(','));
        TestDatabase::create(settings.defaultTarget).detach();
        sourcePath = folder.filePath(QStringLiteral("kaynak.fdb"));
    }

    TestDatabase createSource(const SchemaOptions& options = {})
    {
        return TestDatabase::create(sourcePath, options);
    }

    std::unique_ptr<Tdm> attachSource()
    {
        auto module = std::make_unique<Tdm>(settings);
        module->IBDatabase1.setDatabaseName(sourcePath);
        module->IBDatabase1.setConnected(true);
        return module;
    }

    void addCard(TestDatabase& db, int id, const QVariant& active, const QVariant& envanter = {})
    {
        db.insertRow(QStringLiteral("T_STOK"), {{QStringLiteral("STOK_ID"), id},
                                               {QStringLiteral("STOK_ADI"), QStringLiteral("Ürün %1").arg(id)},
                                               {QStringLiteral("AKTIFLIK"), active},
                                               {QStringLiteral("ENVANTER"), envanter}});
    }

    TempFolder folder;
    TdmSettings settings;
    QString sourcePath;
};

}  // namespace

TEST_F(SourceQueries, fetchOnlyWhatTheWalkNeedsAndReachEveryActiveRow)
{
    TestDatabase source = createSource();
    addCard(source, 3, 1);
    addCard(source, 1, 1);
    addCard(source, 2, 0);
    addCard(source, 4, 2);
    addCard(source, 5, QVariant());
    addCard(source, 6, 1);
    source.detach();

    auto module = attachSource();
    Query& qryStok = module->qryStok;
    qryStok.open();
    EXPECT_EQ(qryStok.recordCount(), 1);  // only the first row so far

    QStringList keys;
    for (qryStok.first(); !qryStok.eof(); qryStok.next())
        keys << module->qryStokSTOK_ID.asString();
    EXPECT_EQ(keys, (QStringList{QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("6")}));
    EXPECT_EQ(qryStok.recordCount(), 3);

    // First goes back to the first fetched row without running the query again.
    qryStok.first();
    EXPECT_FALSE(qryStok.eof());
    EXPECT_EQ(module->qryStokSTOK_ID.asString(), QStringLiteral("1"));
}

TEST_F(SourceQueries, anEmptyResultIsAtItsEndAfterFirst)
{
    createSource().detach();
    auto module = attachSource();
    module->qryGrubu.open();
    module->qryGrubu.first();
    EXPECT_TRUE(module->qryGrubu.eof());
    EXPECT_EQ(module->qryGrubu.recordCount(), 0);
}

TEST_F(SourceQueries, aClosedQueryCountsNoRowsAndRefusesToMove)
{
    Tdm module(settings);
    EXPECT_EQ(module.qryStok.recordCount(), 0);
    EXPECT_EQ(errorMessage([&] { module.qryStok.first(); }),
              QStringLiteral("qryStok: Cannot perform this operation on a closed dataset"));
    EXPECT_EQ(errorMessage([&] { module.qryCari.next(); }),
              QStringLiteral("qryCari: Cannot perform this operation on a closed dataset"));
}

TEST_F(SourceQueries, giveTheirValuesInTextFormsUnderTurkishSettings)
{
    TestDatabase source = createSource();
    source.insertRow(QStringLiteral("T_CARI"),
                     {{QStringLiteral("CARI_ID"), 9},
                      {QStringLiteral("CARI_ADI"), QStringLiteral("Şükrü Öğütçü İnşaat")},
                      {QStringLiteral("BORC"), 0.1 + 0.2},
                      {QStringLiteral("ALACAK"), 5e-5},
                      {QStringLiteral("TELEFON"), QString()},
                      {QStringLiteral("AKTIFLIK"), 1}});
    source.detach();

    auto module = attachSource();
    module->qryCari.open();
    EXPECT_EQ(module->qryCariCARI_ID.asString(), QStringLiteral("9"));
    EXPECT_EQ(module->qryCariCARI_ADI.asString(), QStringLiteral("Şükrü Öğütçü İnşaat"));
    EXPECT_EQ(module->qryCariBORC.asString(), QStringLiteral("0,3"));
    EXPECT_EQ(module->qryCariALACAK.asString(), QStringLiteral("5E-5"));
    EXPECT_EQ(module->qryCariBAKIYE.asString(), QString());
    EXPECT_EQ(module->qryCariBAKIYE.asFloat(), 0.0);
    EXPECT_TRUE(module->qryCariTELEFON.asString().isEmpty());
    EXPECT_EQ(module->qryCariCARI_ID.origin(), QStringLiteral("T_CARI.CARI_ID"));
    EXPECT_TRUE(module->qryCariCARI_ID.required());
    EXPECT_FALSE(module->qryCariCARI_ADI.required());
}

TEST_F(SourceQueries, trimCharPaddingAndControlCharacters)
{
    TestDatabase source = createSource(SchemaOptions{.grubuAsChar = true});
    source.insertRow(QStringLiteral("T_GRUBU"), {{QStringLiteral("GRUBU_ID"), 1},
                                                {QStringLiteral("GRUBU"), QStringLiteral("İçecek\t")}});
    source.detach();

    auto module = attachSource();
    module->qryGrubu.open();
    EXPECT_EQ(module->qryGrubuGRUBU.asString(), QStringLiteral("İçecek"));
}

TEST_F(SourceQueries, aMissingColumnFailsTheOpeningWithThePrefixedMessage)
{
    createSource(SchemaOptions{.stokWithoutKmpM2 = true}).detach();
    auto module = attachSource();
    EXPECT_EQ(errorMessage([&] { module->qryStok.open(); }),
              QStringLiteral("qryStok: Field 'KMP_M2' not found"));
    EXPECT_FALSE(module->qryStok.active());
    module->qryCari.open();  // the other queries still open
    EXPECT_TRUE(module->qryCari.active());
}

TEST_F(SourceQueries, aColumnOfAnotherKindIsATypeMismatch)
{
    TestDatabase source = createSource();
    source.exec(QStringLiteral("alter table T_GRUBU alter SIRA_NO type integer"));
    source.detach();
    auto module = attachSource();
    EXPECT_EQ(errorMessage([&] { module->qryGrubu.open(); }),
              QStringLiteral("qryGrubu: Type mismatch for field 'SIRA_NO', expecting: Smallint actual: Integer"));
}

TEST_F(SourceQueries, runInOneReadTransactionUntilTheSourceIsDetached)
{
    createSource().detach();
    auto module = attachSource();
    Transaction& read = module->IBDatabase1.internalTransaction();
    EXPECT_FALSE(read.inTransaction());  // attaching starts nothing

    module->qryStok.open();
    EXPECT_TRUE(read.inTransaction());
    const isc_tr_handle handle = *read.handle();
    module->qryCari.open();
    module->qryGrubu.open();
    EXPECT_EQ(*read.handle(), handle);

    module->qryStok.close();
    EXPECT_TRUE(read.inTransaction());  // closing a query does not end it

    module->IBDatabase1.setConnected(false);
    EXPECT_FALSE(read.inTransaction());
    EXPECT_FALSE(module->qryCari.active());
    EXPECT_FALSE(module->qryGrubu.active());
}

TEST_F(SourceQueries, cannotBeChanged)
{
    TestDatabase source = createSource();
    addCard(source, 1, 1);
    source.detach();
    auto module = attachSource();
    module->qryStok.open();
    EXPECT_EQ(errorMessage([&] { module->qryStokSTOK_ADI.setAsString(QStringLiteral("x")); }),
              QStringLiteral("qryStok: Cannot modify a read-only dataset"));
}
