// The data sets' statements as the target's tables expect them, line by line.
#include "Schema.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace korvat;

TEST(Statements, ofTheStockCardsNameEveryColumnInTableOrder)
{
    const schema::EditStatements stok = schema::stokStatements();
    ASSERT_EQ(stok.insert.size(), 14);
    EXPECT_EQ(stok.insert[1],
              u"  (STOK_ID, STOK_ADI, SATIS_FIYATI, ALIS_FIYATI, GRUBU, GRUBU_ID, EK_MENU, "_s);
    EXPECT_EQ(stok.insert[13],
              u"   :KRITIK_SEVIYE, :BIRIM_AGIRLIK_FIYAT, :AGIRLIK, :KAPMANYA, :KMP_M, :KMP_M2)"_s);
    ASSERT_EQ(stok.modify.size(), 43);
    EXPECT_EQ(stok.modify[0], u"update T_STOK"_s);
    EXPECT_EQ(stok.modify[2], u"  STOK_ID = :STOK_ID,"_s);
    EXPECT_EQ(stok.modify[40], u"  KMP_M2 = :KMP_M2"_s);
    EXPECT_EQ(stok.modify[42], u"  STOK_ID = :OLD_STOK_ID"_s);
    ASSERT_EQ(stok.refresh.size(), 43);
    EXPECT_EQ(stok.refresh[0], u"Select "_s);
    EXPECT_EQ(stok.refresh[39], u"  KMP_M2"_s);
    EXPECT_EQ(stok.refresh[40], u"from T_STOK "_s);
    EXPECT_EQ(stok.refresh[42], u"  STOK_ID = :STOK_ID"_s);
    EXPECT_EQ(stok.select, (QStringList{u"select * from T_STOK"_s, u"order by stok_id"_s}));
}

TEST(Statements, ofTheAccountsAndGroups)
{
    const schema::EditStatements cari = schema::cariStatements();
    EXPECT_EQ(cari.select,
              (QStringList{u"select * from T_CARI"_s, u"where aktiflik=1"_s, u"order by cari_id"_s}));
    EXPECT_EQ(cari.modify.size(), 18);
    EXPECT_EQ(cari.refresh.size(), 18);
    EXPECT_EQ(cari.remove, (QStringList{u"delete from T_CARI"_s, u"where"_s, u"  CARI_ID = :OLD_CARI_ID"_s}));

    const schema::EditStatements grubu = schema::grubuStatements();
    EXPECT_EQ(grubu.modify,
              (QStringList{u"update T_GRUBU"_s, u"set"_s, u"  GRUBU_ID = :GRUBU_ID,"_s,
                           u"  GRUBU = :GRUBU,"_s, u"  SIRA_NO = :SIRA_NO,"_s, u"  KISA_YOL = :KISA_YOL"_s,
                           u"where"_s, u"  GRUBU_ID = :OLD_GRUBU_ID"_s}));
    EXPECT_EQ(grubu.refresh,
              (QStringList{u"Select "_s, u"  GRUBU_ID,"_s, u"  GRUBU,"_s, u"  SIRA_NO,"_s, u"  KISA_YOL"_s,
                           u"from T_GRUBU "_s, u"where"_s, u"  GRUBU_ID = :GRUBU_ID"_s}));
    EXPECT_EQ(schema::cariQuery(), (QStringList{u"select * from T_CARI"_s, u"where"_s, u"aktiflik=1"_s}));
}
