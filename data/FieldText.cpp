#include "FieldText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

namespace korvat {

namespace {

// The largest double as its 15-digit text form gives it: 1.79769313486232E308.
constexpr long double largestWrittenDouble = 1.79769313486232e308L;

// A finite, non-zero double as sign, significant digits (no trailing zeros)
// and the decimal exponent of the first digit.
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// to_chars does the rounding, correctly and independently of any C locale;
// precision 14 in scientific form means 15 significant digits. Without a
// precision it gives the shortest digits that read back as the same value.
DecimalDigits decompose(double value, std::optional<int> precision)
{
    char buffer[64];
    const auto result =
        precision
            ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, *precision)
            : std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    Q_ASSERT(result.ec == std::errc());
    std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));

    DecimalDigits decimal;
    if (text.front() == '-') {
        decimal.negative = true;
        text.remove_prefix(1);
    }
    const std::size_t e = text.find('e');
    for (char c : text.substr(0, e)) {
        if (c != '.')
            decimal.digits += c;
    }
    while (decimal.digits.size() > 1 && decimal.digits.back() == '0')
        decimal.digits.pop_back();

    std::string_view exponent = text.substr(e + 1);
    const bool negativeExponent = exponent.front() == '-';
    exponent.remove_prefix(1);  // to_chars always writes the exponent's sign
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), decimal.exponent);
    if (negativeExponent)
        decimal.exponent = -decimal.exponent;
    return decimal;
}

QString compose(const DecimalDigits& decimal, QChar separator)
{
    const auto digits =
        QString::fromLatin1(decimal.digits.data(), static_cast<qsizetype>(decimal.digits.size()));
    const qsizetype count = digits.size();
    const int e = decimal.exponent;

    QString out;
    if (decimal.negative)
        out += QLatin1Char('-');

    if (e >= -4 && e <= 14) {
        if (e >= 0) {
            const qsizetype wholeDigits = e + 1;
            out += digits.left(wholeDigits);
            if (count < wholeDigits)
                out += QString(wholeDigits - count, QLatin1Char('0'));
            else if (count > wholeDigits)
                out += separator + digits.mid(wholeDigits);
        } else {
            out += QLatin1Char('0');
            out += separator;
            out += QString(-e - 1, QLatin1Char('0'));
            out += digits;
        }
        return out;
    }

    out += digits.front();
    if (count > 1)
        out += separator + digits.mid(1);
    out += QLatin1Char('E');
    if (e < 0)
        out += QLatin1Char('-');
    out += QString::number(std::abs(e));
    return out;
}

QString formatDouble(double value, QChar separator, std::optional<int> precision)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    // Covers -0.0 too: a sign on zero would survive no round trip through a column.
    if (value == 0)
        return QStringLiteral("0");
    return compose(decompose(value, precision), separator);
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Appends the run of ASCII digits starting at pos; returns how many there were.
qsizetype takeDigits(QStringView text, qsizetype& pos, std::string& out)
{
    const qsizetype start = pos;
    while (pos < text.size() && isAsciiDigit(text[pos]))
        out += static_cast<char>(text[pos++].unicode());
    return pos - start;
}

// Decimal exponent of the first non-zero digit of an accepted number text
// ("123.4e5" gives 7). Only consulted when from_chars reports the value out of
// range, to tell an overflow from an underflow.
long long leadingExponent(std::string_view ascii)
{
    if (!ascii.empty() && ascii.front() == '-')
        ascii.remove_prefix(1);
    const std::size_t e = ascii.find('e');
    const std::string_view mantissa = ascii.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());

    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view digits = ascii.substr(e + 1);
        const bool negative = digits.front() == '-';
        if (digits.front() == '-' || digits.front() == '+')
            digits.remove_prefix(1);
        for (char c : digits) {
            // Saturate: anything this far out is beyond the double range either way.
            exponent = std::min(exponent * 10 + (c - '0'), 1'000'000LL);
        }
        if (negative)
            exponent = -exponent;
    }

    for (std::size_t i = 0; i < mantissa.size(); ++i) {
        if (mantissa[i] == '.' || mantissa[i] == '0')
            continue;
        const long long position =
            i < point ? static_cast<long long>(point - i - 1) : -static_cast<long long>(i - point);
        return position + exponent;
    }
    return 0;
}

}  // namespace

QString formatFloat(double value, const RegionalSettings& settings)
{
    return formatDouble(value, settings.decimalSeparator(), 14);
}

QString formatGeneral(double value)
{
    return formatGeneral(value, RegionalSettings());
}

QString formatGeneral(double value, const RegionalSettings& settings)
{
    return formatDouble(value, settings.decimalSeparator(), std::nullopt);
}

QString formatInteger(qint64 value)
{
    return QString::number(value);
}

std::optional<double> parseFloat(QStringView text, const RegionalSettings& settings)
{
    // The text is checked here against the regional grammar and handed to
    // from_chars rewritten with '.', so no C locale ever takes part.
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(text.size()) + 1);
    qsizetype pos = 0;

    if (pos < text.size() && (text[pos] == QLatin1Char('+') || text[pos] == QLatin1Char('-'))) {
        if (text[pos] == QLatin1Char('-'))
            ascii += '-';
        ++pos;
    }
    qsizetype mantissaDigits = takeDigits(text, pos, ascii);
    if (pos < text.size() && text[pos] == settings.decimalSeparator()) {
        ascii += '.';
        ++pos;
        mantissaDigits += takeDigits(text, pos, ascii);
    }
    if (mantissaDigits == 0)
        return std::nullopt;

    if (pos < text.size() && (text[pos] == QLatin1Char('E') || text[pos] == QLatin1Char('e'))) {
        ascii += 'e';
        ++pos;
        if (pos < text.size() && (text[pos] == QLatin1Char('+') || text[pos] == QLatin1Char('-')))
            ascii += static_cast<char>(text[pos++].unicode());
        if (takeDigits(text, pos, ascii) == 0)
            return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;

    double value = 0;
    const char* end = ascii.data() + ascii.size();
    const auto result = std::from_chars(ascii.data(), end, value);
    if (result.ec == std::errc::result_out_of_range) {
        if (leadingExponent(ascii) < 0)
            return ascii.front() == '-' ? -0.0 : 0.0;
        // The largest doubles are written rounded to 15 digits, which lands
        // just above the double range; such a text reads back as the largest
        // double, so every value the layer writes can be read again.
        long double wide = 0;
        const auto widened = std::from_chars(ascii.data(), end, wide);
        if (widened.ec != std::errc() || widened.ptr != end || std::fabs(wide) > largestWrittenDouble)
            return std::nullopt;
        return std::copysign(std::numeric_limits<double>::max(), double(wide));
    }
    if (result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}

std::optional<qint64> parseInteger(QStringView text)
{
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(text.size()));
    qsizetype pos = 0;
    if (pos < text.size() && (text[pos] == QLatin1Char('+') || text[pos] == QLatin1Char('-'))) {
        if (text[pos] == QLatin1Char('-'))
            ascii += '-';
        ++pos;
    }
    if (takeDigits(text, pos, ascii) == 0 || pos != text.size())
        return std::nullopt;

    qint64 value = 0;
    const char* end = ascii.data() + ascii.size();
    const auto result = std::from_chars(ascii.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}

// The multi-argument arg() fills all placeholders in one pass, so a '%1' inside
// the operator's text is not substituted again.
LayerError invalidIntegerError(QStringView text, QStringView fieldName)
{
    return LayerError(
        QStringLiteral("'%1' is not a valid integer value for field '%2'").arg(text, fieldName));
}

LayerError invalidFloatError(QStringView text, QStringView fieldName)
{
    return LayerError(
        QStringLiteral("'%1' is not a valid floating point value for field '%2'").arg(text, fieldName));
}

LayerError outOfRangeError(double value, QStringView fieldName, double low, double high,
                           const RegionalSettings& settings)
{
    return LayerError(QStringLiteral("%1 is not a valid value for field '%2'. The allowed range is %3 to %4")
                          .arg(formatGeneral(value, settings), fieldName, formatGeneral(low, settings),
                               formatGeneral(high, settings)));
}

LayerError stringTooLongError(qint64 length, qint64 capacity)
{
    return LayerError(
        QStringLiteral("Trying to store a string of length %1 into a field that can only contain %2")
            .arg(formatInteger(length), formatInteger(capacity)));
}

}  // namespace korvat
