#include "SqlParameterScanner.h"

#include <gtest/gtest.h>

#include <vector>

using namespace korvat;

namespace {

struct ScanCase {
    const char16_t* sql;
    const char16_t* serverText;
    std::vector<const char16_t*> names;
};

class SqlParameterScan : public ::testing::TestWithParam<ScanCase> { };

TEST_P(SqlParameterScan, ReplacesEachParameterByAQuestionMark)
{
    const ScannedStatement scanned = scanParameters(QString::fromUtf16(GetParam().sql));
    EXPECT_EQ(scanned.serverText, QString::fromUtf16(GetParam().serverText));
    QStringList names;
    for (const char16_t* name : GetParam().names)
        names << QString::fromUtf16(name);
    EXPECT_EQ(scanned.parameterNames, names);
}

INSTANTIATE_TEST_SUITE_P(
    SqlParameter, SqlParameterScan,
    ::testing::Values(
        ScanCase{u"insert into t_stok_hareket (stok_id,turu_id,kayit_id,fiyat,tarih,giren) \r\n"
                 u"values (:stok_id,:turu_id,:kayit_id,:fiyat,:tarih,:giren) ",
                 u"insert into t_stok_hareket (stok_id,turu_id,kayit_id,fiyat,tarih,giren) \r\n"
                 u"values (?,?,?,?,?,?) ",
                 {u"stok_id", u"turu_id", u"kayit_id", u"fiyat", u"tarih", u"giren"}},
        ScanCase{u"insert into t_dekont_hareket "
                 u"(cari_id,tarih,borc,alacak)\nvalues(:cari_id,:tarih,:borc,:alacak)",
                 u"insert into t_dekont_hareket (cari_id,tarih,borc,alacak)\nvalues(?,?,?,?)",
                 {u"cari_id", u"tarih", u"borc", u"alacak"}},
        ScanCase{u"select 1 from t where a = :RELATION", u"select 1 from t where a = ?", {u"RELATION"}},
        ScanCase{u"where a=:p1 and b=:2x and c=:$v", u"where a=? and b=? and c=?", {u"p1", u"2x", u"$v"}},
        ScanCase{u"values (:a, :A, :a)", u"values (?, ?, ?)", {u"a", u"A", u"a"}},
        ScanCase{u"x = ':x' || \":y\" || `:z` || :w", u"x = ':x' || \":y\" || `:z` || ?", {u"w"}},
        ScanCase{u"'it''s :no' || :yes", u"'it''s :no' || ?", {u"yes"}},
        ScanCase{u"a::int + b", u"a::int + b", {}}, ScanCase{u"a:::b", u"a::?", {u"b"}},
        ScanCase{u"a : b, c:)", u"a : b, c:)", {}}, ScanCase{u"end:", u"end:", {}},
        ScanCase{u"-- :c1\n:p /* :c2\n*/ :q", u"-- :c1\n? /* :c2\n*/ ?", {u"p", u"q"}},
        ScanCase{u"a - -:p", u"a - -?", {u"p"}}, ScanCase{u"'open :x", u"'open :x", {}},
        ScanCase{u"/* open :x", u"/* open :x", {}},
        ScanCase{u":miktar\u0131,:\u00e7", u"?,?", {u"miktar\u0131", u"\u00e7"}},
        ScanCase{u":a+:b;:c", u"?+?;?", {u"a", u"b", u"c"}}, ScanCase{u"", u"", {}}));

}  // namespace
