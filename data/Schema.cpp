#include "Schema.h"

namespace korvat::schema {

namespace {

constexpr FieldKind S16 = FieldKind::SmallInt;
constexpr FieldKind I32 = FieldKind::Integer;
constexpr FieldKind F64 = FieldKind::Float;
constexpr FieldKind STR = FieldKind::String;

constexpr Column grubuColumns[] = {
    {"GRUBU_ID", S16, 0},
    {"GRUBU", STR, 40},
    {"SIRA_NO", S16, 0},
    {"KISA_YOL", STR, 20},
};

constexpr Column stokColumns[] = {
    {"STOK_ID", I32, 0},
    {"STOK_ADI", STR, 50},
    {"SATIS_FIYATI", F64, 0},
    {"ALIS_FIYATI", F64, 0},
    {"GRUBU", STR, 40},
    {"GRUBU_ID", S16, 0},
    {"EK_MENU", STR, 20},
    {"STOK_KODU", STR, 20},
    {"SIRA_NO", I32, 0},
    {"RESIM_YERI", STR, 50},
    {"BIRIM", STR, 20},
    {"STOK_TIPI", STR, 20},
    {"STOK_TIPI_ID", S16, 0},
    {"GIREN", F64, 0},
    {"CIKAN", F64, 0},
    {"ENVANTER", F64, 0},
    {"AKTIFLIK", S16, 0},
    {"MALIYET", F64, 0},
    {"SATIS_FIYATI_2", F64, 0},
    {"BARKOD", STR, 50},
    {"KISA_YOL", STR, 20},
    {"KDV", F64, 0},
    {"SATIS_ISKONTO", F64, 0},
    {"ALIS_ISKONTO", F64, 0},
    {"A_KDV", STR, 20},
    {"S_KDV", STR, 20},
    {"SON_ALIS", F64, 0},
    {"SON_SATIS", F64, 0},
    {"ACIKLAMA", STR, 75},
    {"KAR_MARJI", F64, 0},
    {"YERLI_URUN_FT", STR, 20},
    {"AGIRLIK_TIPI", STR, 20},
    {"TERAZI_PLU", I32, 0},
    {"KRITIK_SEVIYE", F64, 0},
    {"BIRIM_AGIRLIK_FIYAT", F64, 0},
    {"AGIRLIK", F64, 0},
    {"KAPMANYA", STR, 20},
    {"KMP_M", F64, 0},
    {"KMP_M2", F64, 0},
};

constexpr Column cariColumns[] = {
    {"CARI_ID", I32, 0},   {"CARI_KODU", STR, 20},     {"CARI_ADI", STR, 60}, {"TELEFON", STR, 20},
    {"BORC", F64, 0},      {"ALACAK", F64, 0},         {"BAKIYE", F64, 0},    {"TELEFON2", STR, 20},
    {"VERGI_NO", STR, 20}, {"VERGI_DAIRESI", STR, 30}, {"ADRES", STR, 50},    {"ADRES2", STR, 50},
    {"ACIKLAMA", STR, 65}, {"AKTIFLIK", S16, 0},
};

QString latin(const char* text)
{
    return QString::fromLatin1(text);
}

// "update T", "set", "  C = :C," per column (the last without the comma),
// "where", "  KEY = :OLD_KEY".
QStringList modifyStatement(const MasterTable& table)
{
    QStringList lines{QStringLiteral("update %1").arg(latin(table.name)), QStringLiteral("set")};
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        const QString column = latin(table.columns[i].name);
        const bool last = i + 1 == table.columns.size();
        lines << QStringLiteral("  %1 = :%1%2").arg(column, last ? QString() : QStringLiteral(","));
    }
    lines << QStringLiteral("where") << QStringLiteral("  %1 = :OLD_%1").arg(latin(table.keyColumn));
    return lines;
}

// "Select ", "  C," per column (the last without the comma), "from T ",
// "where", "  KEY = :KEY".
QStringList refreshStatement(const MasterTable& table)
{
    QStringList lines{QStringLiteral("Select ")};
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        const bool last = i + 1 == table.columns.size();
        lines << QStringLiteral("  %1%2").arg(latin(table.columns[i].name),
                                              last ? QString() : QStringLiteral(","));
    }
    lines << QStringLiteral("from %1 ").arg(latin(table.name)) << QStringLiteral("where")
          << QStringLiteral("  %1 = :%1").arg(latin(table.keyColumn));
    return lines;
}

QStringList deleteStatement(const MasterTable& table)
{
    return {QStringLiteral("delete from %1").arg(latin(table.name)), QStringLiteral("where"),
            QStringLiteral("  %1 = :OLD_%1").arg(latin(table.keyColumn))};
}

}  // namespace

const MasterTable grubu{"T_GRUBU", grubuColumns, "GRUBU_ID", "T_GRUBU_GRUBU_ID_GEN"};
const MasterTable stok{"T_STOK", stokColumns, "STOK_ID", "T_STOK_STOK_ID_GEN"};
const MasterTable cari{"T_CARI", cariColumns, "CARI_ID", "T_CARI_CARI_ID_GEN"};

std::vector<FieldDef> queryFieldDefs(const MasterTable& table)
{
    std::vector<FieldDef> defs;
    defs.reserve(table.columns.size());
    for (const Column& column : table.columns) {
        FieldDef def;
        def.name = latin(column.name);
        def.kind = column.kind;
        def.size = column.size;
        def.key = qstrcmp(column.name, table.keyColumn) == 0;
        def.required = def.key;
        def.origin = latin(table.name) + QLatin1Char('.') + def.name;
        defs.push_back(def);
    }
    return defs;
}

EditStatements grubuStatements()
{
    return {
        {QStringLiteral("select * from T_GRUBU")},
        {QStringLiteral("insert into T_GRUBU"), QStringLiteral("  (GRUBU_ID, GRUBU, SIRA_NO, KISA_YOL)"),
         QStringLiteral("values"), QStringLiteral("  (:GRUBU_ID, :GRUBU, :SIRA_NO, :KISA_YOL)")},
        modifyStatement(grubu),
        deleteStatement(grubu),
        refreshStatement(grubu),
    };
}

EditStatements stokStatements()
{
    return {
        {QStringLiteral("select * from T_STOK"), QStringLiteral("order by stok_id")},
        {
            QStringLiteral("insert into T_STOK"),
            QStringLiteral("  (STOK_ID, STOK_ADI, SATIS_FIYATI, ALIS_FIYATI, GRUBU, GRUBU_ID, EK_MENU, "),
            QStringLiteral("   STOK_KODU, SIRA_NO, RESIM_YERI, BIRIM, STOK_TIPI, STOK_TIPI_ID, GIREN, "),
            QStringLiteral("   CIKAN, ENVANTER, AKTIFLIK, MALIYET, SATIS_FIYATI_2, BARKOD, KISA_YOL, "),
            QStringLiteral("   KDV, SATIS_ISKONTO, ALIS_ISKONTO, A_KDV, S_KDV, SON_ALIS, SON_SATIS, "),
            QStringLiteral(
                "   ACIKLAMA, KAR_MARJI, YERLI_URUN_FT, AGIRLIK_TIPI, TERAZI_PLU, KRITIK_SEVIYE, "),
            QStringLiteral("   BIRIM_AGIRLIK_FIYAT, AGIRLIK, KAPMANYA, KMP_M, KMP_M2)"),
            QStringLiteral("values"),
            QStringLiteral("  (:STOK_ID, :STOK_ADI, :SATIS_FIYATI, :ALIS_FIYATI, :GRUBU, :GRUBU_ID, "),
            QStringLiteral(
                "   :EK_MENU, :STOK_KODU, :SIRA_NO, :RESIM_YERI, :BIRIM, :STOK_TIPI, :STOK_TIPI_ID, "),
            QStringLiteral("   :GIREN, :CIKAN, :ENVANTER, :AKTIFLIK, :MALIYET, :SATIS_FIYATI_2, :BARKOD, "),
            QStringLiteral("   :KISA_YOL, :KDV, :SATIS_ISKONTO, :ALIS_ISKONTO, :A_KDV, :S_KDV, :SON_ALIS, "),
            QStringLiteral(
                "   :SON_SATIS, :ACIKLAMA, :KAR_MARJI, :YERLI_URUN_FT, :AGIRLIK_TIPI, :TERAZI_PLU, "),
            QStringLiteral("   :KRITIK_SEVIYE, :BIRIM_AGIRLIK_FIYAT, :AGIRLIK, :KAPMANYA, :KMP_M, :KMP_M2)"),
        },
        modifyStatement(stok),
        deleteStatement(stok),
        refreshStatement(stok),
    };
}

EditStatements cariStatements()
{
    return {
        {QStringLiteral("select * from T_CARI"), QStringLiteral("where aktiflik=1"),
         QStringLiteral("order by cari_id")},
        {
            QStringLiteral("insert into T_CARI"),
            QStringLiteral("  (CARI_ID, CARI_KODU, CARI_ADI, TELEFON, BORC, ALACAK, BAKIYE, TELEFON2, "),
            QStringLiteral("   VERGI_NO, VERGI_DAIRESI, ADRES, ADRES2, ACIKLAMA, AKTIFLIK)"),
            QStringLiteral("values"),
            QStringLiteral("  (:CARI_ID, :CARI_KODU, :CARI_ADI, :TELEFON, :BORC, :ALACAK, :BAKIYE, "),
            QStringLiteral("   :TELEFON2, :VERGI_NO, :VERGI_DAIRESI, :ADRES, :ADRES2, :ACIKLAMA, :AKTIFLIK)"),
        },
        modifyStatement(cari),
        deleteStatement(cari),
        refreshStatement(cari),
    };
}

QStringList grubuQuery()
{
    return {QStringLiteral("select * from T_GRUBU"), QStringLiteral("order by grubu_id")};
}

QStringList stokQuery()
{
    return {QStringLiteral("select * from T_STOK"), QStringLiteral("where"), QStringLiteral("aktiflik=1"),
            QStringLiteral("order by stok_id")};
}

QStringList cariQuery()
{
    return {QStringLiteral("select * from T_CARI"), QStringLiteral("where"), QStringLiteral("aktiflik=1")};
}

}  // namespace korvat::schema
