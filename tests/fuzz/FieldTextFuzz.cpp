// Fuzzes the text forms: whatever text parses as a number must survive a
// round trip through its own text form, under both decimal separators, and
// every finite double written must read back as the same 15 digits.
#include "FieldText.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace korvat;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void roundTripText(const QString& text, const RegionalSettings& settings)
{
    if (const std::optional<double> value = parseFloat(text, settings); value && std::isfinite(*value)) {
        const QString written = formatFloat(*value, settings);
        const std::optional<double> again = parseFloat(written, settings);
        check(again.has_value());
        check(formatFloat(*again, settings) == written);
    }
    if (const std::optional<qint64> integer = parseInteger(text))
        check(parseInteger(formatInteger(*integer)) == integer);
}

void roundTripDouble(double value, const RegionalSettings& settings)
{
    const QString written = formatFloat(value, settings);
    check(!written.isEmpty());
    if (!std::isfinite(value))
        return;
    const std::optional<double> again = parseFloat(written, settings);
    check(again.has_value());
    check(formatFloat(*again, settings) == written);
    (void)formatGeneral(value, settings);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const RegionalSettings turkish(QLatin1Char(','));
    const RegionalSettings english(QLatin1Char('.'));
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    roundTripText(text, turkish);
    roundTripText(text, english);
    if (size >= sizeof(double)) {
        double value;
        std::memcpy(&value, data, sizeof value);
        roundTripDouble(value, turkish);
        roundTripDouble(value, english);
    }
    return 0;
}
