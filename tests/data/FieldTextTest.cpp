#include "FieldText.h"
#include "AnsiCodePage.h"
#include "NameFolding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include <QStringDecoder>
#include <QStringEncoder>

using namespace Qt::StringLiterals;
using namespace korvat;

namespace {

const RegionalSettings turkish(QLatin1Char(','));
const RegionalSettings english(QLatin1Char('.'));

struct FloatCase {
    double value;
    const char* text;  // as written under Turkish settings
};

class FieldTextFormatFloat : public ::testing::TestWithParam<FloatCase> { };

TEST_P(FieldTextFormatFloat, WritesFifteenDigitGeneralForm)
{
    EXPECT_EQ(formatFloat(GetParam().value, turkish), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    FieldText, FieldTextFormatFloat,
    ::testing::Values(FloatCase{12.5, "12,5"}, FloatCase{1e6, "1000000"}, FloatCase{0.1 + 0.2, "0,3"},
                      FloatCase{5e-5, "5E-5"}, FloatCase{0.0001, "0,0001"}, FloatCase{1.5e20, "1,5E20"},
                      FloatCase{123456789012345678.0, "1,23456789012346E17"},
                      FloatCase{999999999999999.9, "1E15"}, FloatCase{999999999999999.0, "999999999999999"},
                      FloatCase{1e15, "1E15"}, FloatCase{0.00012345, "0,00012345"},
                      FloatCase{-0.000099999, "-9,9999E-5"}, FloatCase{-2.5e-7, "-2,5E-7"},
                      FloatCase{0.0, "0"}, FloatCase{-0.0, "0"}, FloatCase{-1234.5678, "-1234,5678"},
                      FloatCase{1.0 / 3.0, "0,333333333333333"}, FloatCase{2.0 / 3.0, "0,666666666666667"},
                      FloatCase{1e100, "1E100"}, FloatCase{1.7976931348623157e308, "1,79769313486232E308"},
                      FloatCase{5e-324, "4,94065645841247E-324"},
                      FloatCase{std::numeric_limits<double>::quiet_NaN(), "NAN"},
                      FloatCase{std::numeric_limits<double>::infinity(), "INF"},
                      FloatCase{-std::numeric_limits<double>::infinity(), "-INF"}));

TEST(FieldTextFormat, UsesTheSeparatorOfTheSettings)
{
    EXPECT_EQ(formatFloat(12.5, english), u"12.5"_s);
    EXPECT_EQ(formatFloat(1.5e20, english), u"1.5E20"_s);
    EXPECT_EQ(formatGeneral(0.1 + 0.2), u"0.30000000000000004"_s);
    EXPECT_EQ(formatGeneral(2.5, turkish), u"2,5"_s);
    EXPECT_EQ(formatGeneral(-32768), u"-32768"_s);
    EXPECT_EQ(formatGeneral(2147483647), u"2147483647"_s);
    EXPECT_EQ(formatGeneral(1e15), u"1E15"_s);
    EXPECT_EQ(formatInteger(-9223372036854775807LL - 1), u"-9223372036854775808"_s);
}

struct ParseFloatCase {
    const char* text;
    std::optional<double> expected;  // under Turkish settings
};

class FieldTextParseFloat : public ::testing::TestWithParam<ParseFloatCase> { };

TEST_P(FieldTextParseFloat, ReadsTheRegionalForm)
{
    const auto parsed = parseFloat(QString::fromUtf8(GetParam().text), turkish);
    ASSERT_EQ(parsed.has_value(), GetParam().expected.has_value()) << GetParam().text;
    if (parsed) {
        EXPECT_EQ(*parsed, *GetParam().expected) << GetParam().text;
        EXPECT_EQ(std::signbit(*parsed), std::signbit(*GetParam().expected)) << GetParam().text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    FieldText, FieldTextParseFloat,
    ::testing::Values(ParseFloatCase{"12,5", 12.5}, ParseFloatCase{"-12,5", -12.5}, ParseFloatCase{"+3", 3.0},
                      ParseFloatCase{",5", 0.5}, ParseFloatCase{"5,", 5.0}, ParseFloatCase{"5E-5", 5e-5},
                      ParseFloatCase{"1,5e20", 1.5e20}, ParseFloatCase{"2e+3", 2000.0},
                      ParseFloatCase{"0,3", 0.3}, ParseFloatCase{"1e-400", 0.0},
                      ParseFloatCase{"-1e-400", -0.0}, ParseFloatCase{"0,1e-400", 0.0},
                      ParseFloatCase{"1e400", std::nullopt}, ParseFloatCase{"1.5", std::nullopt},
                      ParseFloatCase{"1.000,5", std::nullopt}, ParseFloatCase{"1 000", std::nullopt},
                      ParseFloatCase{" 1", std::nullopt}, ParseFloatCase{"1 ", std::nullopt},
                      ParseFloatCase{"", std::nullopt}, ParseFloatCase{",", std::nullopt},
                      ParseFloatCase{"-", std::nullopt}, ParseFloatCase{"E5", std::nullopt},
                      ParseFloatCase{"1E", std::nullopt}, ParseFloatCase{"1E+", std::nullopt},
                      ParseFloatCase{"1,5,5", std::nullopt}, ParseFloatCase{"--1", std::nullopt},
                      ParseFloatCase{"inf", std::nullopt}, ParseFloatCase{"NAN", std::nullopt},
                      ParseFloatCase{"0x10", std::nullopt}, ParseFloatCase{"\xd9\xa1", std::nullopt}));

TEST(FieldTextParseFloatSettings, FullStopIsTheSeparatorOnlyUnderItsSettings)
{
    // Underflow without an exponent: 400 zeros after the separator.
    EXPECT_EQ(parseFloat(u"0."_s + QString(400, u'0') + u'1', english), 0.0);
    EXPECT_EQ(parseFloat(QString(400, u'9'), english), std::nullopt);
    EXPECT_EQ(parseFloat(u"1.5", english), 1.5);
    EXPECT_EQ(parseFloat(u"1,5", english), std::nullopt);
}

// Every value must survive its own text form to 15 significant digits.
class FieldTextRoundTrip : public ::testing::TestWithParam<double> { };

TEST_P(FieldTextRoundTrip, TextFormReadsBackToFifteenDigits)
{
    for (const auto& settings : {turkish, english}) {
        const QString text = formatFloat(GetParam(), settings);
        const auto back = parseFloat(text, settings);
        ASSERT_TRUE(back.has_value()) << text.toStdString();
        EXPECT_EQ(formatFloat(*back, settings), text);
        EXPECT_NEAR(*back, GetParam(), std::abs(GetParam()) * 1e-14);
    }
}

INSTANTIATE_TEST_SUITE_P(FieldText, FieldTextRoundTrip,
                         ::testing::Values(0.0, 12.5, -0.1, 5e-5, 1.5e20, 123456789012345678.0, 1e-300,
                                           3.141592653589793, -8.25e-5));

struct IntegerCase {
    const char* text;
    std::optional<qint64> expected;
};

class FieldTextParseInteger : public ::testing::TestWithParam<IntegerCase> { };

TEST_P(FieldTextParseInteger, ReadsSignedDecimalDigits)
{
    EXPECT_EQ(parseInteger(QString::fromUtf8(GetParam().text)), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(FieldText, FieldTextParseInteger,
                         ::testing::Values(IntegerCase{"0", 0}, IntegerCase{"40000", 40000},
                                           IntegerCase{"+8", 8}, IntegerCase{"-32768", -32768},
                                           IntegerCase{"007", 7},
                                           IntegerCase{"9223372036854775807", 9223372036854775807LL},
                                           IntegerCase{"-9223372036854775808", -9223372036854775807LL - 1},
                                           IntegerCase{"9223372036854775808", std::nullopt},
                                           IntegerCase{"", std::nullopt}, IntegerCase{"-", std::nullopt},
                                           IntegerCase{" 1", std::nullopt}, IntegerCase{"1 ", std::nullopt},
                                           IntegerCase{"1,0", std::nullopt}, IntegerCase{"1e3", std::nullopt},
                                           IntegerCase{"+-1", std::nullopt},
                                           IntegerCase{"$FF", std::nullopt}));

TEST(FieldTextErrors, MessagesCarryTheirValues)
{
    EXPECT_EQ(invalidIntegerError(u"12a", u"MIKTAR").message(),
              u"'12a' is not a valid integer value for field 'MIKTAR'"_s);
    EXPECT_EQ(invalidFloatError(u"1.5", u"FIYAT").message(),
              u"'1.5' is not a valid floating point value for field 'FIYAT'"_s);
    EXPECT_EQ(invalidFloatError(u"%2", u"F").message(),
              u"'%2' is not a valid floating point value for field 'F'"_s);
    EXPECT_EQ(outOfRangeError(40000, u"GRUBU_ID", -32768, 32767, turkish).message(),
              u"40000 is not a valid value for field 'GRUBU_ID'. "
              "The allowed range is -32768 to 32767"_s);
    EXPECT_EQ(stringTooLongError(41, 40).message(), u"Trying to store a string of length 41 into a field "
                                                    "that can only contain 40"_s);
    EXPECT_STREQ(invalidIntegerError(u"x", u"F").typeName(), "LayerError");
}

struct FoldCase {
    const char16_t* name;
    const char16_t* folded;
};

class FieldTextFoldName : public ::testing::TestWithParam<FoldCase> { };

TEST_P(FieldTextFoldName, FoldsBySimpleMappingNotTurkishRules)
{
    const QString name = QString::fromUtf16(GetParam().name);
    const QString folded = foldName(name);
    EXPECT_EQ(folded, QString::fromUtf16(GetParam().folded));
    EXPECT_EQ(folded.size(), name.size());
    EXPECT_TRUE(sameName(name, QString::fromUtf16(GetParam().folded)));
    EXPECT_TRUE(equalsFolded(name, folded));
}

INSTANTIATE_TEST_SUITE_P(
    FieldText, FieldTextFoldName,
    ::testing::Values(FoldCase{u"STOK_KODU", u"stok_kodu"}, FoldCase{u"Stok_kodu", u"stok_kodu"},
                      FoldCase{u"AKTIFLIK", u"aktiflik"}, FoldCase{u"\u0130L", u"il"},
                      FoldCase{u"\u0131", u"\u0131"},
                      FoldCase{u"\u00c7\u015e\u011e\u00d6\u00dc", u"\u00e7\u015f\u011f\u00f6\u00fc"},
                      FoldCase{u"\U00010400$1", u"\U00010428$1"}, FoldCase{u"", u""}));

TEST(FieldTextSameName, DistinguishesDifferentNames)
{
    EXPECT_FALSE(sameName(u"stok_kodu", u"stok_kod"));
    EXPECT_FALSE(sameName(u"KIRMIZI", u"k\u0131rm\u0131z\u0131"));
    EXPECT_FALSE(equalsFolded(u"KIRMIZI", u"k\u0131rm\u0131z\u0131"));
    EXPECT_FALSE(equalsFolded(u"\U00010400", u"\U00010400"));
}

}  // namespace

// Found by fuzzing: the largest doubles round up past the double range when
// written with 15 digits, and must still read back.
TEST(FieldTextRoundTrip, theLargestDoublesReadBackFromTheirTextForm)
{
    const korvat::RegionalSettings turkish(QLatin1Char(','));
    for (const double value : {std::numeric_limits<double>::max(), -std::numeric_limits<double>::max()}) {
        const QString written = korvat::formatFloat(value, turkish);
        EXPECT_EQ(written, value > 0 ? u"1,79769313486232E308"_s : u"-1,79769313486232E308"_s);
        const std::optional<double> again = korvat::parseFloat(written, turkish);
        ASSERT_TRUE(again.has_value());
        EXPECT_EQ(*again, value);
    }
    EXPECT_FALSE(korvat::parseFloat(u"1,79769313486233E308"_s, turkish).has_value());
}

// The code page's own table gives what Qt's converter gives, both ways, and a
// character the code page lacks gets the converter's substitute.
TEST(AnsiCodePageTest, ConvertsAsQtsConverter)
{
    QByteArray everyByte;
    for (int byte = 1; byte < 256; ++byte)
        everyByte.append(char(byte));
    AnsiCodePage codePage;
    const QString expected = QStringDecoder(AnsiCodePage::name).decode(everyByte);
    EXPECT_EQ(codePage.decode(everyByte), expected);
    EXPECT_EQ(codePage.encode(expected), everyByte);

    const QString lacking = u"Şu \u0416 ve \U0001F600"_s;
    EXPECT_EQ(codePage.encode(lacking), QByteArray(QStringEncoder(AnsiCodePage::name).encode(lacking)));
}
