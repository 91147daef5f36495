#include "GridColumns.h"
#include "UiTest.h"

#include <QTest>

namespace {

QStringList fieldNames(GridColumnList columns)
{
    QStringList names;
    for (const GridColumn& column : columns)
        names.append(QString::fromLatin1(column.fieldName));
    return names;
}

QList<int> widths(GridColumnList columns)
{
    QList<int> result;
    for (const GridColumn& column : columns)
        result.append(column.width);
    return result;
}

}  // namespace

class GridColumnsTest : public QObject {
    Q_OBJECT

private slots:
    void groupGridsListFourColumnsOf75()
    {
        const QStringList names = {"GRUBU_ID", "GRUBU", "SIRA_NO", "KISA_YOL"};
        for (GridColumnList columns : {DBGrid1Columns(), DBGrid3Columns()}) {
            QCOMPARE(fieldNames(columns), names);
            QCOMPARE(widths(columns), QList<int>(4, 75));
        }
    }

    void stockGridsListTheSame39ColumnsWithTheirWidths()
    {
        const QStringList names = {
            "STOK_ID", "STOK_KODU", "STOK_ADI", "SATIS_FIYATI", "ALIS_FIYATI", "GRUBU", "GRUBU_ID",
            "EK_MENU", "SIRA_NO", "RESIM_YERI", "BIRIM", "STOK_TIPI", "STOK_TIPI_ID", "GIREN",
            "CIKAN", "ENVANTER", "AKTIFLIK", "MALIYET", "SATIS_FIYATI_2", "BARKOD", "KISA_YOL",
            "KDV", "SATIS_ISKONTO", "ALIS_ISKONTO", "A_KDV", "S_KDV", "SON_ALIS", "SON_SATIS",
            "ACIKLAMA", "KAR_MARJI", "YERLI_URUN_FT", "AGIRLIK_TIPI", "TERAZI_PLU",
            "KRITIK_SEVIYE", "BIRIM_AGIRLIK_FIYAT", "AGIRLIK", "KAPMANYA", "KMP_M", "KMP_M2"};
        const QList<int> firstTen = {50, 83, 201, 83, 71, 58, 60, 50, 0, 0};
        const QList<int> sourceRest = {64, 64, 64, 0, 0, 0, 0, 0, 64, 64, 64, 0, 64, 64, 64,
                                       64, 0, 0, 64, 0, 64, 64, 0, 64, 64, 0, 64, 0, 0};
        QCOMPARE(fieldNames(DBGrid2Columns()), names);
        QCOMPARE(fieldNames(DBGrid4Columns()), names);
        QCOMPARE(widths(DBGrid2Columns()), firstTen + sourceRest);
        QCOMPARE(widths(DBGrid4Columns()), firstTen + QList<int>(29, 0));
    }

    void sourceAccountGridListsFourteenColumns()
    {
        QCOMPARE(fieldNames(DBGrid5Columns()),
                 QStringList({"CARI_ID", "CARI_KODU", "CARI_ADI", "TELEFON", "BORC", "ALACAK",
                              "BAKIYE", "TELEFON2", "VERGI_NO", "VERGI_DAIRESI", "ADRES", "ADRES2",
                              "ACIKLAMA", "AKTIFLIK"}));
        QCOMPARE(widths(DBGrid5Columns()),
                 QList<int>({0, 96, 147, 67, 0, 0, 0, 52, 0, 64, 64, 64, 64, 0}));
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
