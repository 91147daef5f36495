#include "GridColumns.h"
#include "UiTest.h"

#include <QTest>

namespace {

// A column list as "FIELD:width FIELD:width ...", easy to hold against the tables.
QString listed(GridColumnList columns)
{
    QStringList entries;
    for (const GridColumn& column : columns)
        entries.append(u"%1:%2"_s.arg(QLatin1String(column.fieldName)).arg(column.width));
    return entries.join(QLatin1Char(' '));
}

}  // namespace

class GridColumnsTest : public QObject {
    Q_OBJECT

private slots:
    void groupGridsListFourColumnsOf75()
    {
        const QString group = u"GRUBU_ID:75 GRUBU:75 SIRA_NO:75 KISA_YOL:75"_s;
        QCOMPARE(listed(DBGrid1Columns()), group);
        QCOMPARE(listed(DBGrid3Columns()), group);
    }

    // The same 39 fields; the target's grid keeps default widths from the eleventh on.
    void stockGridsListTheSameFieldsWithTheirWidths()
    {
        const QString firstTen =
            u"STOK_ID:50 STOK_KODU:83 STOK_ADI:201 SATIS_FIYATI:83 ALIS_FIYATI:71 GRUBU:58 "
            "GRUBU_ID:60 EK_MENU:50 SIRA_NO:0 RESIM_YERI:0 "_s;
        QCOMPARE(listed(DBGrid2Columns()),
                 firstTen + u"BIRIM:64 STOK_TIPI:64 STOK_TIPI_ID:64 GIREN:0 CIKAN:0 ENVANTER:0 AKTIFLIK:0 "
                            "MALIYET:0 SATIS_FIYATI_2:64 BARKOD:64 KISA_YOL:64 KDV:0 SATIS_ISKONTO:64 "
                            "ALIS_ISKONTO:64 A_KDV:64 S_KDV:64 SON_ALIS:0 SON_SATIS:0 ACIKLAMA:64 "
                            "KAR_MARJI:0 YERLI_URUN_FT:64 AGIRLIK_TIPI:64 TERAZI_PLU:0 KRITIK_SEVIYE:64 "
                            "BIRIM_AGIRLIK_FIYAT:64 AGIRLIK:0 KAPMANYA:64 KMP_M:0 KMP_M2:0"_s);
        QCOMPARE(listed(DBGrid4Columns()),
                 firstTen + u"BIRIM:0 STOK_TIPI:0 STOK_TIPI_ID:0 GIREN:0 CIKAN:0 ENVANTER:0 AKTIFLIK:0 "
                            "MALIYET:0 SATIS_FIYATI_2:0 BARKOD:0 KISA_YOL:0 KDV:0 SATIS_ISKONTO:0 "
                            "ALIS_ISKONTO:0 A_KDV:0 S_KDV:0 SON_ALIS:0 SON_SATIS:0 ACIKLAMA:0 "
                            "KAR_MARJI:0 YERLI_URUN_FT:0 AGIRLIK_TIPI:0 TERAZI_PLU:0 KRITIK_SEVIYE:0 "
                            "BIRIM_AGIRLIK_FIYAT:0 AGIRLIK:0 KAPMANYA:0 KMP_M:0 KMP_M2:0"_s);
    }

    void sourceAccountGridListsFourteenColumns()
    {
        QCOMPARE(listed(DBGrid5Columns()), u"CARI_ID:0 CARI_KODU:96 CARI_ADI:147 TELEFON:67 BORC:0 ALACAK:0 "
                                           "BAKIYE:0 TELEFON2:52 VERGI_NO:0 VERGI_DAIRESI:64 ADRES:64 "
                                           "ADRES2:64 ACIKLAMA:64 AKTIFLIK:0"_s);
    }

    void gridsAreFoundByNameAndTheTargetAccountGridHasNoList()
    {
        QCOMPARE(gridColumns(u"DBGrid1").data(), DBGrid1Columns().data());
        QCOMPARE(gridColumns(u"DBGrid2").data(), DBGrid2Columns().data());
        QCOMPARE(gridColumns(u"DBGrid3").data(), DBGrid3Columns().data());
        QCOMPARE(gridColumns(u"DBGrid4").data(), DBGrid4Columns().data());
        QCOMPARE(gridColumns(u"DBGrid5").data(), DBGrid5Columns().data());
        QVERIFY(gridColumns(u"DBGrid6").empty());
        QVERIFY(gridColumns(u"DBGrid7").empty());
    }
};

UI_TEST(GridColumnsTest);

#include "GridColumnsTest.moc"
