#pragma once

#include "Errors.h"
#include "RegionalSettings.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

namespace korvat {

// Text forms of field values and their reading back. Every row is copied
// between databases through these forms, so writing and reading must agree
// under the same regional settings.

// A floating-point value rounded to 15 significant digits, in fixed form when
// it is 0 or its rounded decimal exponent lies in -4..14, otherwise as
// d[,ddd]E[-]n. Negative zero is written "0"; NaN and the infinities as
// "NAN", "INF" and "-INF".
QString formatFloat(double value, const RegionalSettings& settings);

// The shortest digits that read back as the same double, with the fixed or
// scientific choice of formatFloat. Fills %g in messages. The first overload
// writes '.' as the separator.
QString formatGeneral(double value);
QString formatGeneral(double value, const RegionalSettings& settings);

// Decimal digits with a leading "-" for a negative value.
QString formatInteger(qint64 value);

// Reads [+|-]digits[<separator>digits][(E|e)[+|-]digits] with at least one
// mantissa digit. Blanks anywhere (leading and trailing included), a thousands
// separator or any other separator than the regional one are refused. A value
// beyond the double range is refused; one too small for it reads as zero.
std::optional<double> parseFloat(QStringView text, const RegionalSettings& settings);

// Reads [+|-]digits; no blanks. A value outside the 64-bit range is refused.
std::optional<qint64> parseInteger(QStringView text);

LayerError invalidIntegerError(QStringView text, QStringView fieldName);
LayerError invalidFloatError(QStringView text, QStringView fieldName);
LayerError outOfRangeError(double value, QStringView fieldName, double low, double high,
                           const RegionalSettings& settings);
LayerError stringTooLongError(qint64 length, qint64 capacity);

}  // namespace korvat
