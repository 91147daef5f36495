// The target data sets: fields made from the result, rows appended and
// posted with generator keys, failed posts, refresh, editing and deleting.
#include "DataTestSupport.h"
#include "TestDatabase.h"
#include "u_dm.h"

#include <QFile>

using namespace korvat;
using namespace korvat::test;

namespace {

class TargetDataSets : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.defaultTarget = folder.filePath(QStringLiteral("KORVAT.FDB"));
        settings.regionalSettings = RegionalSettings(QLatin1Char(','));
    }

    TestDatabase createTarget(const SchemaOptions& options = {})
    {
        return TestDatabase::create(settings.defaultTarget, options);
    }

    std::unique_ptr<Tdm> module()
    {
        return std::make_unique<Tdm>(settings);
    }

    QList<QVariantList> committed(const QString& sql)
    {
        return TestDatabase::attach(settings.defaultTarget).query(sql);
    }

    TempFolder folder;
    TdmSettings settings;
};

}  // namespace

TEST_F(TargetDataSets, makeTheirFieldsFromTheResult)
{
    createTarget(SchemaOptions{.grubuAsChar = true}).detach();
    auto dm = module();
    dm->Q_Grubu.open();
    ASSERT_EQ(dm->Q_Grubu.fieldCount(), 4);
    const Field& key = dm->Q_Grubu.fieldByName(u"grubu_id");
    EXPECT_EQ(key.kind(), FieldKind::SmallInt);
    EXPECT_TRUE(key.required());
    EXPECT_TRUE(key.isKey());
    const Field& name = dm->Q_Grubu.fieldByName(u"GRUBU");
    EXPECT_EQ(name.kind(), FieldKind::String);
    EXPECT_EQ(name.size(), 40);
    EXPECT_TRUE(name.def().fixedLength);
    EXPECT_FALSE(name.required());
    EXPECT_EQ(name.origin(), QStringLiteral("T_GRUBU.GRUBU"));
}

TEST_F(TargetDataSets, findFieldsWithoutRegardToCaseAndNameTheMissingOne)
{
    createTarget().detach();
    auto dm = module();
    dm->Q_Stok.open();
    EXPECT_EQ(&dm->Q_Stok.fieldByName(u"Stok_kodu"), &dm->Q_Stok.fieldByName(u"STOK_KODU"));
    EXPECT_EQ(&dm->Q_Stok.fieldByName(u"stok_kodu"), &dm->Q_Stok.fieldByName(u"STOK_KODU"));
    EXPECT_EQ(errorMessage([&] { dm->Q_Stok.fieldByName(u"yok_boyle"); }),
              QStringLiteral("Q_Stok: Field 'yok_boyle' not found"));
}

TEST_F(TargetDataSets, postDrawsTheKeyFromTheGeneratorAndKeepsTheRowAfterTheLast)
{
    TestDatabase target = createTarget();
    target.setGenerator(QStringLiteral("T_STOK_STOK_ID_GEN"), 100);
    target.insertRow(QStringLiteral("T_STOK"), {{QStringLiteral("STOK_ID"), 500}});
    target.detach();

    auto dm = module();
    EditableDataSet& stok = dm->Q_Stok;
    stok.open();
    stok.append();
    EXPECT_EQ(stok.state(), DataSetState::Insert);
    stok.fieldByName(u"stok_adi").setAsString(QStringLiteral("Çay 500 gr"));
    stok.fieldByName(u"satis_fiyati").setAsString(QStringLiteral("12,5"));
    stok.post();

    EXPECT_EQ(stok.state(), DataSetState::Browse);
    EXPECT_EQ(stok.recordCount(), 2);
    EXPECT_EQ(stok.currentRow(), 1);  // after the card with key 500
    EXPECT_EQ(stok.fieldByName(u"STOK_ID").asString(), QStringLiteral("101"));

    dm->IBTransaction1.commitRetaining();
    EXPECT_TRUE(stok.active());  // commit retaining keeps the data set open
    const auto rows = committed(QStringLiteral(
        "select STOK_ADI, SATIS_FIYATI, ENVANTER from T_STOK where STOK_ID = 101"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0].toString(), QStringLiteral("Çay 500 gr"));
    EXPECT_EQ(rows[0][1].toDouble(), 12.5);
    EXPECT_TRUE(rows[0][2].isNull());
}

TEST_F(TargetDataSets, aKeySetBeforeThePostIsKeptAndNoValueIsDrawn)
{
    createTarget().detach();
    auto dm = module();
    dm->Q_Grubu.open();
    dm->Q_Grubu.append();
    dm->Q_Grubu.fieldByName(u"GRUBU_ID").setAsString(QStringLiteral("77"));
    dm->Q_Grubu.post();
    dm->IBTransaction1.commitRetaining();
    EXPECT_EQ(TestDatabase::attach(settings.defaultTarget).generatorValue(QStringLiteral("T_GRUBU_GRUBU_ID_GEN")), 0);
    EXPECT_EQ(committed(QStringLiteral("select GRUBU_ID from T_GRUBU")).value(0).value(0).toInt(), 77);
}

TEST_F(TargetDataSets, aFailedPostKeepsTheRowAndItsKeyForTheRetry)
{
    TestDatabase target = createTarget();
    target.insertRow(QStringLiteral("T_GRUBU"), {{QStringLiteral("GRUBU_ID"), 1}});
    target.detach();

    auto dm = module();
    EditableDataSet& grubu = dm->Q_Grubu;
    grubu.open();
    grubu.append();
    grubu.fieldByName(u"grubu").setAsString(QStringLiteral("Şarküteri"));
    EXPECT_THROW(grubu.post(), ServerError);  // the generator gives 1, which exists
    EXPECT_EQ(grubu.state(), DataSetState::Insert);
    EXPECT_EQ(grubu.fieldByName(u"GRUBU_ID").asString(), QStringLiteral("1"));

    // Another program frees the key; the next append posts the pending row again.
    TestDatabase::attach(settings.defaultTarget).exec(QStringLiteral("delete from T_GRUBU"));
    grubu.append();
    grubu.cancel();
    dm->IBTransaction1.commitRetaining();
    TestDatabase check = TestDatabase::attach(settings.defaultTarget);
    EXPECT_EQ(check.generatorValue(QStringLiteral("T_GRUBU_GRUBU_ID_GEN")), 1);
    const auto rows = check.query(QStringLiteral("select GRUBU_ID, GRUBU from T_GRUBU"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][1].toString(), QStringLiteral("Şarküteri"));
}

TEST_F(TargetDataSets, anUnmodifiedPendingRowIsDroppedByTheNextAppend)
{
    createTarget().detach();
    auto dm = module();
    dm->Q_Grubu.open();
    dm->Q_Grubu.append();
    dm->Q_Grubu.append();
    dm->Q_Grubu.fieldByName(u"grubu").setAsString(QStringLiteral("A"));
    dm->Q_Grubu.post();
    EXPECT_EQ(dm->Q_Grubu.recordCount(), 1);
    EXPECT_EQ(dm->Q_Grubu.fieldByName(u"GRUBU_ID").asString(), QStringLiteral("1"));
}

TEST_F(TargetDataSets, aSixteenBitKeyRefusesAGeneratorValuePastItsRange)
{
    TestDatabase target = createTarget();
    target.setGenerator(QStringLiteral("T_GRUBU_GRUBU_ID_GEN"), 32767);
    target.detach();
    auto dm = module();
    dm->Q_Grubu.open();
    dm->Q_Grubu.append();
    dm->Q_Grubu.fieldByName(u"grubu").setAsString(QStringLiteral("A"));
    EXPECT_EQ(errorMessage([&] { dm->Q_Grubu.post(); }),
              QStringLiteral("32768 is not a valid value for field 'GRUBU_ID'. The allowed range is "
                             "-32768 to 32767"));
    dm->IBTransaction1.commitRetaining();
    EXPECT_EQ(TestDatabase::attach(settings.defaultTarget).generatorValue(QStringLiteral("T_GRUBU_GRUBU_ID_GEN")),
              32768);
}

TEST_F(TargetDataSets, aTextLongerThanItsFieldIsRefusedAtThePostNeverCut)
{
    createTarget().detach();
    auto dm = module();
    dm->Q_Grubu.open();
    dm->Q_Grubu.append();
    dm->Q_Grubu.fieldByName(u"kisa_yol").setAsString(QString(21, QLatin1Char('x')));
    EXPECT_EQ(errorMessage([&] { dm->Q_Grubu.post(); }),
              QStringLiteral("Trying to store a string of length 21 into a field that can only contain 20"));
    EXPECT_EQ(dm->Q_Grubu.state(), DataSetState::Insert);
}

TEST_F(TargetDataSets, aRequiredFieldLeftNullFailsBeforeTheServerIsAsked)
{
    TestDatabase target = createTarget();
    target.exec(QStringLiteral("alter table T_GRUBU alter GRUBU set not null"));
    target.detach();
    auto dm = module();
    dm->Q_Grubu.open();
    dm->Q_Grubu.append();
    dm->Q_Grubu.fieldByName(u"sira_no").setAsString(QStringLiteral("3"));
    EXPECT_EQ(errorMessage([&] { dm->Q_Grubu.post(); }),
              QStringLiteral("Field 'GRUBU' must have a value"));
}

TEST_F(TargetDataSets, aTableWithComputedOrDefaultedColumnsIsReReadAfterTheInsert)
{
    // A trigger changes the stored row; only a re-read shows the change.
    const QString trigger = QStringLiteral(
        "create trigger T_CARI_NOTE for T_CARI before insert as begin new.ACIKLAMA = 'tetik'; end");
    for (const bool defaulted : {true, false}) {
        SCOPED_TRACE(defaulted);
        QFile::remove(settings.defaultTarget);
        TestDatabase target = createTarget(SchemaOptions{.cariWithDefaultAndComputed = defaulted});
        target.exec(trigger);
        target.detach();

        auto dm = module();
        EditableDataSet& cari = dm->Q_Cari;
        cari.open();
        cari.append();
        cari.fieldByName(u"cari_adi").setAsString(QStringLiteral("Ali"));
        cari.post();
        EXPECT_EQ(cari.fieldByName(u"aciklama").asString(), defaulted ? QStringLiteral("tetik") : QString());
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
    TestDatabase target = createTarget(SchemaOptions{.grubuAsChar = true});
    target.insertRow(QStringLiteral("T_GRUBU"), {{QStringLiteral("GRUBU_ID"), 1},
                                                {QStringLiteral("KISA_YOL"), QStringLiteral("F1")}});
    target.detach();
    auto dm = module();
    dm->Q_Grubu.open();
    EXPECT_EQ(dm->Q_Grubu.fieldByName(u"kisa_yol").asString(), QStringLiteral("F1").leftJustified(20));
}

TEST_F(TargetDataSets, editAndDeleteGoThroughTheirOwnStatements)
{
    TestDatabase target = createTarget();
    target.insertRow(QStringLiteral("T_GRUBU"), {{QStringLiteral("GRUBU_ID"), 1}, {QStringLiteral("GRUBU"), QStringLiteral("Eski")}});
    target.insertRow(QStringLiteral("T_GRUBU"), {{QStringLiteral("GRUBU_ID"), 2}, {QStringLiteral("GRUBU"), QStringLiteral("Silinecek")}});
    target.detach();

    auto dm = module();
    EditableDataSet& grubu = dm->Q_Grubu;
    grubu.open();
    grubu.fetchAll();
    grubu.moveTo(0);
    grubu.edit();
    grubu.fieldByName(u"grubu_id").setAsString(QStringLiteral("10"));
    grubu.fieldByName(u"grubu").setAsString(QStringLiteral("Yeni"));
    grubu.moveTo(1);  // leaving the row posts it
    EXPECT_EQ(grubu.state(), DataSetState::Browse);
    grubu.deleteCurrent();
    EXPECT_EQ(grubu.recordCount(), 1);
    dm->IBTransaction1.commitRetaining();

    const auto rows = committed(QStringLiteral("select GRUBU_ID, GRUBU from T_GRUBU"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0].toInt(), 10);
    EXPECT_EQ(rows[0][1].toString(), QStringLiteral("Yeni"));
}

TEST_F(TargetDataSets, aTargetLackingAColumnOpensAndFailsAtTheLookup)
{
    createTarget(SchemaOptions{.stokWithoutKmpM2 = true}).detach();
    auto dm = module();
    dm->Q_Stok.open();
    dm->Q_Stok.append();
    EXPECT_EQ(errorMessage([&] { dm->Q_Stok.fieldByName(u"kmp_m2"); }),
              QStringLiteral("Q_Stok: Field 'kmp_m2' not found"));
}

TEST_F(TargetDataSets, aFullCommitClosesThemAndDropsAPendingRow)
{
    createTarget().detach();
    auto dm = module();
    dm->Q_Grubu.open();
    dm->Q_Grubu.append();
    dm->Q_Grubu.fieldByName(u"grubu").setAsString(QStringLiteral("A"));
    dm->IBTransaction1.commit();
    EXPECT_FALSE(dm->Q_Grubu.active());
    EXPECT_EQ(dm->Q_Grubu.recordCount(), 0);
    EXPECT_EQ(errorMessage([&] { dm->Q_Grubu.append(); }),
              QStringLiteral("Q_Grubu: Cannot perform this operation on a closed dataset"));
    EXPECT_TRUE(committed(QStringLiteral("select * from T_GRUBU")).isEmpty());
}
