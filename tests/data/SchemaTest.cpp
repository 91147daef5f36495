// The data sets' statements as the target's tables expect them, line by line.
#include "Schema.h"

#include <gtest/gtest.h>

using namespace korvat;

TEST(Statements, ofTheStockCardsNameEveryColumnInTableOrder)
{
    const schema::EditStatements stok = schema::stokStatements();
    ASSERT_EQ(stok.insert.size(), 14);
    EXPECT_EQ(stok.insert[1], QStringLiteral("  (STOK_ID, STOK_ADI, SATIS_FIYATI, ALIS_FIYATI, GRUBU, GRUBU_ID, EK_MENU, "));
    EXPECT_EQ(stok.insert[13], QStringLiteral("   :KRITIK_SEVIYE, :BIRIM_AGIRLIK_FIYAT, :AGIRLIK, :KAPMANYA, :KMP_M, :KMP_M2)"));
    ASSERT_EQ(stok.modify.size(), 43);
    EXPECT_EQ(stok.modify[0], QStringLiteral("update T_STOK"));
    EXPECT_EQ(stok.modify[2], QStringLiteral("  STOK_ID = :STOK_ID,"));
    EXPECT_EQ(stok.modify[40], QStringLiteral("  KMP_M2 = :KMP_M2"));
    EXPECT_EQ(stok.modify[42], QStringLiteral("  STOK_ID = :OLD_STOK_ID"));
    ASSERT_EQ(stok.refresh.size(), 43);
    EXPECT_EQ(stok.refresh[0], QStringLiteral("Select "));
    EXPECT_EQ(stok.refresh[39], QStringLiteral("  KMP_M2"));
    EXPECT_EQ(stok.refresh[40], QStringLiteral("from T_STOK "));
    EXPECT_EQ(stok.refresh[42], QStringLiteral("  STOK_ID = :STOK_ID"));
    EXPECT_EQ(stok.select, (QStringList{QStringLiteral("select * from T_STOK"), QStringLiteral("order by stok_id")}));
}

TEST(Statements, ofTheAccountsAndGroups)
{
    const schema::EditStatements cari = schema::cariStatements();
    EXPECT_EQ(cari.select, (QStringList{QStringLiteral("select * from T_CARI"), QStringLiteral("where aktiflik=1"),
                                        QStringLiteral("order by cari_id")}));
    EXPECT_EQ(cari.modify.size(), 18);
    EXPECT_EQ(cari.refresh.size(), 18);
    EXPECT_EQ(cari.remove, (QStringList{QStringLiteral("delete from T_CARI"), QStringLiteral("where"),
                                        QStringLiteral("  CARI_ID = :OLD_CARI_ID")}));

    const schema::EditStatements grubu = schema::grubuStatements();
    EXPECT_EQ(grubu.modify, (QStringList{QStringLiteral("update T_GRUBU"), QStringLiteral("set"),
                                         QStringLiteral("  GRUBU_ID = :GRUBU_ID,"), QStringLiteral("  GRUBU = :GRUBU,"),
                                         QStringLiteral("  SIRA_NO = :SIRA_NO,"), QStringLiteral("  KISA_YOL = :KISA_YOL"),
                                         QStringLiteral("where"), QStringLiteral("  GRUBU_ID = :OLD_GRUBU_ID")}));
    EXPECT_EQ(grubu.refresh, (QStringList{QStringLiteral("Select "), QStringLiteral("  GRUBU_ID,"),
                                          QStringLiteral("  GRUBU,"), QStringLiteral("  SIRA_NO,"),
                                          QStringLiteral("  KISA_YOL"), QStringLiteral("from T_GRUBU "),
                                          QStringLiteral("where"), QStringLiteral("  GRUBU_ID = :GRUBU_ID")}));
    EXPECT_EQ(schema::cariQuery(), (QStringList{QStringLiteral("select * from T_CARI"), QStringLiteral("where"),
                                                QStringLiteral("aktiflik=1")}));
}
