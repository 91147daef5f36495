// The source queries: fixed field lists bound by name, rows fetched one at a
// time, walking, text forms, and the source read transaction.
#include "DataTestSupport.h"
#include "TestDatabase.h"
#include "u_dm.h"

using namespace korvat;
using namespace korvat::test;

namespace {

class SourceQueries : public ::testing::Test, protected TestWorkspace {
protected:
    void SetUp() override { createTarget().detach(); }
};

}  // namespace

TEST_F(SourceQueries, fetchOnlyWhatTheWalkNeedsAndReachEveryActiveRow)
{
    TestDatabase source = createSource();
    addCard(source, 3);
    addCard(source, 1);
    addCard(source, 2, {}, 0);
    addCard(source, 4, {}, 2);
    addCard(source, 5, {}, QVariant());
    addCard(source, 6);
    source.detach();

    Tdm& module = attachSource();
    Query& qryStok = module.qryStok;
    qryStok.open();
    EXPECT_EQ(qryStok.recordCount(), 1);  // only the first row so far

    QStringList keys;
    for (qryStok.first(); !qryStok.eof(); qryStok.next())
        keys << module.qryStokSTOK_ID.asString();
    EXPECT_EQ(keys, (QStringList{u"1"_s, u"3"_s, u"6"_s}));
    EXPECT_EQ(qryStok.recordCount(), 3);

    // First goes back to the first fetched row without running the query again.
    qryStok.first();
    EXPECT_FALSE(qryStok.eof());
    EXPECT_EQ(module.qryStokSTOK_ID.asString(), u"1"_s);
}

TEST_F(SourceQueries, anEmptyResultIsAtItsEndAfterFirst)
{
    createSource().detach();
    Tdm& module = attachSource();
    module.qryGrubu.open();
    module.qryGrubu.first();
    EXPECT_TRUE(module.qryGrubu.eof());
    EXPECT_EQ(module.qryGrubu.recordCount(), 0);
}

TEST_F(SourceQueries, aClosedQueryCountsNoRowsAndRefusesToMove)
{
    Tdm module(settings);
    EXPECT_EQ(module.qryStok.recordCount(), 0);
    EXPECT_EQ(errorMessage([&] { module.qryStok.first(); }),
              u"qryStok: Cannot perform this operation on a closed dataset"_s);
    EXPECT_EQ(errorMessage([&] { module.qryCari.next(); }),
              u"qryCari: Cannot perform this operation on a closed dataset"_s);
}

TEST_F(SourceQueries, giveTheirValuesInTextFormsUnderTurkishSettings)
{
    TestDatabase source = createSource();
    addAccount(source, 9,
               {{u"CARI_ADI"_s, u"Şükrü Öğütçü İnşaat"_s},
                {u"BORC"_s, 0.1 + 0.2},
                {u"ALACAK"_s, 5e-5},
                {u"TELEFON"_s, QString()}});
    source.detach();

    Tdm& module = attachSource();
    module.qryCari.open();
    EXPECT_EQ(module.qryCariCARI_ID.asString(), u"9"_s);
    EXPECT_EQ(module.qryCariCARI_ADI.asString(), u"Şükrü Öğütçü İnşaat"_s);
    EXPECT_EQ(module.qryCariBORC.asString(), u"0,3"_s);
    EXPECT_EQ(module.qryCariALACAK.asString(), u"5E-5"_s);
    EXPECT_EQ(module.qryCariBAKIYE.asString(), QString());
    EXPECT_EQ(module.qryCariBAKIYE.asFloat(), 0.0);
    EXPECT_TRUE(module.qryCariTELEFON.asString().isEmpty());
    EXPECT_EQ(module.qryCariCARI_ID.origin(), u"T_CARI.CARI_ID"_s);
    EXPECT_TRUE(module.qryCariCARI_ID.required());
    EXPECT_FALSE(module.qryCariCARI_ADI.required());
}

TEST_F(SourceQueries, trimCharPaddingAndControlCharacters)
{
    addGroup(createSource(SchemaOptions{.grubuAsChar = true}), 1, {{u"GRUBU"_s, u"İçecek\t"_s}});

    Tdm& module = attachSource();
    module.qryGrubu.open();
    EXPECT_EQ(module.qryGrubuGRUBU.asString(), u"İçecek"_s);
}

TEST_F(SourceQueries, aMissingColumnFailsTheOpeningWithThePrefixedMessage)
{
    createSource(SchemaOptions{.stokWithoutKmpM2 = true}).detach();
    Tdm& module = attachSource();
    EXPECT_EQ(errorMessage([&] { module.qryStok.open(); }), u"qryStok: Field 'KMP_M2' not found"_s);
    EXPECT_FALSE(module.qryStok.active());
    module.qryCari.open();  // the other queries still open
    EXPECT_TRUE(module.qryCari.active());
}

TEST_F(SourceQueries, aColumnOfAnotherKindIsATypeMismatch)
{
    createSource().exec(u"alter table T_GRUBU alter SIRA_NO type integer"_s);
    Tdm& module = attachSource();
    EXPECT_EQ(errorMessage([&] { module.qryGrubu.open(); }),
              u"qryGrubu: Type mismatch for field 'SIRA_NO', expecting: Smallint actual: Integer"_s);
}

TEST_F(SourceQueries, runInOneReadTransactionUntilTheSourceIsDetached)
{
    createSource().detach();
    Tdm& module = attachSource();
    Transaction& read = module.IBDatabase1.internalTransaction();
    EXPECT_FALSE(read.inTransaction());  // attaching starts nothing

    module.qryStok.open();
    EXPECT_TRUE(read.inTransaction());
    const isc_tr_handle handle = *read.handle();
    module.qryCari.open();
    module.qryGrubu.open();
    EXPECT_EQ(*read.handle(), handle);

    module.qryStok.close();
    EXPECT_TRUE(read.inTransaction());  // closing a query does not end it

    module.IBDatabase1.setConnected(false);
    EXPECT_FALSE(read.inTransaction());
    EXPECT_FALSE(module.qryCari.active());
    EXPECT_FALSE(module.qryGrubu.active());
}

TEST_F(SourceQueries, cannotBeChanged)
{
    addCard(createSource(), 1);
    Tdm& module = attachSource();
    module.qryStok.open();
    EXPECT_EQ(errorMessage([&] { module.qryStokSTOK_ADI.setAsString(u"x"_s); }),
              u"qryStok: Cannot modify a read-only dataset"_s);
}
