#include "GridColumns.h"

#include <array>

namespace {

constexpr int byDefault = 0;

constexpr std::array<GridColumn, 4> groupColumns{{
    {"GRUBU_ID", 75},
    {"GRUBU", 75},
    {"SIRA_NO", 75},
    {"KISA_YOL", 75},
}};

// The source and target stock grids list the same fields; the target's grid
// keeps the default width from the eleventh column on.
constexpr std::array<GridColumn, 39> sourceStockColumns{{
    {"STOK_ID", 50},
    {"STOK_KODU", 83},
    {"STOK_ADI", 201},
    {"SATIS_FIYATI", 83},
    {"ALIS_FIYATI", 71},
    {"GRUBU", 58},
    {"GRUBU_ID", 60},
    {"EK_MENU", 50},
    {"SIRA_NO", byDefault},
    {"RESIM_YERI", byDefault},
    {"BIRIM", 64},
    {"STOK_TIPI", 64},
    {"STOK_TIPI_ID", 64},
    {"GIREN", byDefault},
    {"CIKAN", byDefault},
    {"ENVANTER", byDefault},
    {"AKTIFLIK", byDefault},
    {"MALIYET", byDefault},
    {"SATIS_FIYATI_2", 64},
    {"BARKOD", 64},
    {"KISA_YOL", 64},
    {"KDV", byDefault},
    {"SATIS_ISKONTO", 64},
    {"ALIS_ISKONTO", 64},
    {"A_KDV", 64},
    {"S_KDV", 64},
    {"SON_ALIS", byDefault},
    {"SON_SATIS", byDefault},
    {"ACIKLAMA", 64},
    {"KAR_MARJI", byDefault},
    {"YERLI_URUN_FT", 64},
    {"AGIRLIK_TIPI", 64},
    {"TERAZI_PLU", byDefault},
    {"KRITIK_SEVIYE", 64},
    {"BIRIM_AGIRLIK_FIYAT", 64},
    {"AGIRLIK", byDefault},
    {"KAPMANYA", 64},
    {"KMP_M", byDefault},
    {"KMP_M2", byDefault},
}};

constexpr std::array<GridColumn, 39> targetStockColumns = [] {
    auto columns = sourceStockColumns;
    for (std::size_t i = 10; i < columns.size(); ++i)
        columns[i].width = byDefault;
    return columns;
}();

constexpr std::array<GridColumn, 14> accountColumns{{
    {"CARI_ID", byDefault},
    {"CARI_KODU", 96},
    {"CARI_ADI", 147},
    {"TELEFON", 67},
    {"BORC", byDefault},
    {"ALACAK", byDefault},
    {"BAKIYE", byDefault},
    {"TELEFON2", 52},
    {"VERGI_NO", byDefault},
    {"VERGI_DAIRESI", 64},
    {"ADRES", 64},
    {"ADRES2", 64},
    {"ACIKLAMA", 64},
    {"AKTIFLIK", byDefault},
}};

}  // namespace

GridColumnList DBGrid1Columns()
{
    return groupColumns;
}
GridColumnList DBGrid2Columns()
{
    return sourceStockColumns;
}
GridColumnList DBGrid3Columns()
{
    return groupColumns;
}
GridColumnList DBGrid4Columns()
{
    return targetStockColumns;
}
GridColumnList DBGrid5Columns()
{
    return accountColumns;
}

GridColumnList gridColumns(QStringView gridName)
{
    if (gridName == u"DBGrid1")
        return DBGrid1Columns();
    if (gridName == u"DBGrid2")
        return DBGrid2Columns();
    if (gridName == u"DBGrid3")
        return DBGrid3Columns();
    if (gridName == u"DBGrid4")
        return DBGrid4Columns();
    if (gridName == u"DBGrid5")
        return DBGrid5Columns();
    return {};
}
