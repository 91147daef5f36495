// The target data sets: fields made from the result, rows appended and
// posted with generator keys, failed posts, refresh, editing and deleting.
#include "DataTestSupport.h"
#include "TestDatabase.h"
#include "u_dm.h"

#include <QFile>

using namespace korvat;
using namespace korvat::test;

namespace {

class TargetDataSets : public ::testing::Test, protected TestWorkspace {
protected:
    // A data module on the target made, with its groups open and a new row appended.
    Tdm& appendGroup()
    {
        Tdm& dm = createDataModule();
        dm.Q_Grubu.open();
        dm.Q_Grubu.append();
        return dm;
    }
};

}  // namespace

TEST_F(TargetDataSets, makeTheirFieldsFromTheResult)
{
    createTarget(SchemaOptions{.grubuAsChar = true}).detach();
    Tdm& dm = createDataModule();
    dm.Q_Grubu.open();
    ASSERT_EQ(dm.Q_Grubu.fieldCount(), 4);
    const Field& key = dm.Q_Grubu.fieldByName(u"grubu_id");
    EXPECT_EQ(key.kind(), FieldKind::SmallInt);
    EXPECT_TRUE(key.required());
    EXPECT_TRUE(key.isKey());
    const Field& name = dm.Q_Grubu.fieldByName(u"GRUBU");
    EXPECT_EQ(name.kind(), FieldKind::String);
    EXPECT_EQ(name.size(), 40);
    EXPECT_TRUE(name.def().fixedLength);
    EXPECT_FALSE(name.required());
    EXPECT_EQ(name.origin(), u"T_GRUBU.GRUBU"_s);
}

TEST_F(TargetDataSets, findFieldsWithoutRegardToCaseAndNameTheMissingOne)
{
    createTarget().detach();
    Tdm& dm = createDataModule();
    dm.Q_Stok.open();
    EXPECT_EQ(&dm.Q_Stok.fieldByName(u"Stok_kodu"), &dm.Q_Stok.fieldByName(u"STOK_KODU"));
    EXPECT_EQ(&dm.Q_Stok.fieldByName(u"stok_kodu"), &dm.Q_Stok.fieldByName(u"STOK_KODU"));
    EXPECT_EQ(errorMessage([&] { dm.Q_Stok.fieldByName(u"yok_boyle"); }),
              u"Q_Stok: Field 'yok_boyle' not found"_s);
}

TEST_F(TargetDataSets, postDrawsTheKeyFromTheGeneratorAndKeepsTheRowAfterTheLast)
{
    TestDatabase target = createTarget();
    target.setGenerator(u"T_STOK_STOK_ID_GEN"_s, 100);
    target.insertRow(u"T_STOK"_s, {{u"STOK_ID"_s, 500}});
    target.detach();

    Tdm& dm = createDataModule();
    EditableDataSet& stok = dm.Q_Stok;
    stok.open();
    stok.append();
    EXPECT_EQ(stok.state(), DataSetState::Insert);
    stok.fieldByName(u"stok_adi").setAsString(u"Çay 500 gr"_s);
    stok.fieldByName(u"satis_fiyati").setAsString(u"12,5"_s);
    stok.post();

    EXPECT_EQ(stok.state(), DataSetState::Browse);
    EXPECT_EQ(stok.recordCount(), 2);
    EXPECT_EQ(stok.currentRow(), 1);  // after the card with key 500
    EXPECT_EQ(stok.fieldByName(u"STOK_ID").asString(), u"101"_s);

    dm.IBTransaction1.commitRetaining();
    EXPECT_TRUE(stok.active());  // commit retaining keeps the data set open
    const auto rows = committed(u"select STOK_ADI, SATIS_FIYATI, ENVANTER from T_STOK where STOK_ID = 101"_s);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0].toString(), u"Çay 500 gr"_s);
    EXPECT_EQ(rows[0][1].toDouble(), 12.5);
    EXPECT_TRUE(rows[0][2].isNull());
}

TEST_F(TargetDataSets, aKeySetBeforeThePostIsKeptAndNoValueIsDrawn)
{
    createTarget().detach();
    Tdm& dm = appendGroup();
    dm.Q_Grubu.fieldByName(u"GRUBU_ID").setAsString(u"77"_s);
    dm.Q_Grubu.post();
    dm.IBTransaction1.commitRetaining();
    EXPECT_EQ(attachTarget().generatorValue(u"T_GRUBU_GRUBU_ID_GEN"_s), 0);
    EXPECT_EQ(committed(u"select GRUBU_ID from T_GRUBU"_s).value(0).value(0).toInt(), 77);
}

TEST_F(TargetDataSets, aFailedPostKeepsTheRowAndItsKeyForTheRetry)
{
    addGroup(createTarget(), 1);

    Tdm& dm = createDataModule();
    EditableDataSet& grubu = dm.Q_Grubu;
    grubu.open();
    grubu.append();
    grubu.fieldByName(u"grubu").setAsString(u"Şarküteri"_s);
    EXPECT_THROW(grubu.post(), ServerError);  // the generator gives 1, which exists
    EXPECT_EQ(grubu.state(), DataSetState::Insert);
    EXPECT_EQ(grubu.fieldByName(u"GRUBU_ID").asString(), u"1"_s);

    // Another program frees the key; the next append posts the pending row again.
    attachTarget().exec(u"delete from T_GRUBU"_s);
    grubu.append();
    grubu.cancel();
    dm.IBTransaction1.commitRetaining();
    TestDatabase check = attachTarget();
    EXPECT_EQ(check.generatorValue(u"T_GRUBU_GRUBU_ID_GEN"_s), 1);
    const auto rows = check.query(u"select GRUBU_ID, GRUBU from T_GRUBU"_s);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][1].toString(), u"Şarküteri"_s);
}

TEST_F(TargetDataSets, anUnmodifiedPendingRowIsDroppedByTheNextAppend)
{
    createTarget().detach();
    Tdm& dm = appendGroup();
    dm.Q_Grubu.append();
    dm.Q_Grubu.fieldByName(u"grubu").setAsString(u"A"_s);
    dm.Q_Grubu.post();
    EXPECT_EQ(dm.Q_Grubu.recordCount(), 1);
    EXPECT_EQ(dm.Q_Grubu.fieldByName(u"GRUBU_ID").asString(), u"1"_s);
}

TEST_F(TargetDataSets, aSixteenBitKeyRefusesAGeneratorValuePastItsRange)
{
    createTarget().setGenerator(u"T_GRUBU_GRUBU_ID_GEN"_s, 32767);
    Tdm& dm = appendGroup();
    dm.Q_Grubu.fieldByName(u"grubu").setAsString(u"A"_s);
    EXPECT_EQ(errorMessage([&] { dm.Q_Grubu.post(); }),
              u"32768 is not a valid value for field 'GRUBU_ID'. The allowed range is "
              "-32768 to 32767"_s);
    dm.IBTransaction1.commitRetaining();
    EXPECT_EQ(attachTarget().generatorValue(u"T_GRUBU_GRUBU_ID_GEN"_s), 32768);
}

TEST_F(TargetDataSets, aTextLongerThanItsFieldIsRefusedAtThePostNeverCut)
{
    createTarget().detach();
    Tdm& dm = appendGroup();
    dm.Q_Grubu.fieldByName(u"kisa_yol").setAsString(QString(21, QLatin1Char('x')));
    EXPECT_EQ(errorMessage([&] { dm.Q_Grubu.post(); }),
              u"Trying to store a string of length 21 into a field that can only contain 20"_s);
    EXPECT_EQ(dm.Q_Grubu.state(), DataSetState::Insert);
}

TEST_F(TargetDataSets, aRequiredFieldLeftNullFailsBeforeTheServerIsAsked)
{
    createTarget().exec(u"alter table T_GRUBU alter GRUBU set not null"_s);
    Tdm& dm = appendGroup();
    dm.Q_Grubu.fieldByName(u"sira_no").setAsString(u"3"_s);
    EXPECT_EQ(errorMessage([&] { dm.Q_Grubu.post(); }), u"Field 'GRUBU' must have a value"_s);
}

TEST_F(TargetDataSets, aTableWithComputedOrDefaultedColumnsIsReReadAfterTheInsert)
{
    // A trigger changes the stored row; only a re-read shows the change.
    const QString trigger =
        u"create trigger T_CARI_NOTE for T_CARI before insert as begin new.ACIKLAMA = 'tetik'; end"_s;
    for (const bool defaulted : {true, false}) {
        SCOPED_TRACE(defaulted);
        dataModule.reset();  // detached before its file is made anew
        QFile::remove(targetPath);
        createTarget(SchemaOptions{.cariWithDefaultAndComputed = defaulted}).exec(trigger);

        Tdm& dm = createDataModule();
        EditableDataSet& cari = dm.Q_Cari;
        cari.open();
        cari.append();
        cari.fieldByName(u"cari_adi").setAsString(u"Ali"_s);
        cari.post();
        EXPECT_EQ(cari.fieldByName(u"aciklama").asString(), defaulted ? u"tetik"_s : QString());
        // The insert names every column, so the default does not apply.
        EXPECT_TRUE(cari.fieldByName(u"aktiflik").isNull());
        if (defaulted) {
            Field& computed = cari.fieldByName(QString::fromLatin1(kCariComputedColumn));
            EXPECT_TRUE(computed.readOnly());
            EXPECT_FALSE(computed.required());
        }
    }
}

TEST_F(TargetDataSets, charValuesKeepTheirPaddingInTheTarget)
{
    addGroup(createTarget(SchemaOptions{.grubuAsChar = true}), 1, {{u"KISA_YOL"_s, u"F1"_s}});
    Tdm& dm = createDataModule();
    dm.Q_Grubu.open();
    EXPECT_EQ(dm.Q_Grubu.fieldByName(u"kisa_yol").asString(), u"F1"_s.leftJustified(20));
}

TEST_F(TargetDataSets, editAndDeleteGoThroughTheirOwnStatements)
{
    TestDatabase target = createTarget();
    addGroup(target, 1, {{u"GRUBU"_s, u"Eski"_s}});
    addGroup(target, 2, {{u"GRUBU"_s, u"Silinecek"_s}});
    target.detach();

    Tdm& dm = createDataModule();
    EditableDataSet& grubu = dm.Q_Grubu;
    grubu.open();
    grubu.fetchAll();
    grubu.moveTo(0);
    grubu.edit();
    grubu.fieldByName(u"grubu_id").setAsString(u"10"_s);
    grubu.fieldByName(u"grubu").setAsString(u"Yeni"_s);
    grubu.moveTo(1);  // leaving the row posts it
    EXPECT_EQ(grubu.state(), DataSetState::Browse);
    grubu.deleteCurrent();
    EXPECT_EQ(grubu.recordCount(), 1);
    dm.IBTransaction1.commitRetaining();

    const auto rows = committed(u"select GRUBU_ID, GRUBU from T_GRUBU"_s);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0].toInt(), 10);
    EXPECT_EQ(rows[0][1].toString(), u"Yeni"_s);
}

TEST_F(TargetDataSets, aTargetLackingAColumnOpensAndFailsAtTheLookup)
{
    createTarget(SchemaOptions{.stokWithoutKmpM2 = true}).detach();
    Tdm& dm = createDataModule();
    dm.Q_Stok.open();
    dm.Q_Stok.append();
    EXPECT_EQ(errorMessage([&] { dm.Q_Stok.fieldByName(u"kmp_m2"); }), u"Q_Stok: Field 'kmp_m2' not found"_s);
}

TEST_F(TargetDataSets, aFullCommitClosesThemAndDropsAPendingRow)
{
    createTarget().detach();
    Tdm& dm = appendGroup();
    dm.Q_Grubu.fieldByName(u"grubu").setAsString(u"A"_s);
    dm.IBTransaction1.commit();
    EXPECT_FALSE(dm.Q_Grubu.active());
    EXPECT_EQ(dm.Q_Grubu.recordCount(), 0);
    EXPECT_EQ(errorMessage([&] { dm.Q_Grubu.append(); }),
              u"Q_Grubu: Cannot perform this operation on a closed dataset"_s);
    EXPECT_TRUE(committed(u"select * from T_GRUBU"_s).isEmpty());
}
