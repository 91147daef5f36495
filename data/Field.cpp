#include "Field.h"

#include "DataSet.h"
#include "FieldText.h"

#include <limits>

namespace korvat {

namespace {

struct IntegerRange {
    qint64 low;
    qint64 high;
};

IntegerRange rangeOf(FieldKind kind)
{
    if (kind == FieldKind::SmallInt)
        return {std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()};
    return {std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()};
}

}  // namespace

Field::Field(DataSet& dataSet, int index, FieldDef def, QString objectName)
    : m_dataSet(dataSet), m_index(index), m_def(std::move(def)), m_objectName(std::move(objectName))
{
}

const RegionalSettings& Field::settings() const
{
    return m_dataSet.regionalSettings();
}

FieldValue Field::value() const
{
    return m_dataSet.currentValue(m_index);
}

bool Field::isNull() const
{
    return korvat::isNull(value());
}

QString Field::textOf(const FieldValue& value) const
{
    if (const auto* integer = std::get_if<qint32>(&value))
        return formatInteger(*integer);
    if (const auto* floating = std::get_if<double>(&value))
        return formatFloat(*floating, settings());
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    return QString();
}

QString Field::asString() const
{
    return textOf(value());
}

double Field::asFloat() const
{
    const FieldValue current = value();
    if (const auto* floating = std::get_if<double>(&current))
        return *floating;
    if (const auto* integer = std::get_if<qint32>(&current))
        return *integer;
    if (const auto* text = std::get_if<QString>(&current)) {
        const std::optional<double> parsed = parseFloat(*text, settings());
        if (!parsed)
            throw invalidFloatError(*text, fieldName());
        return *parsed;
    }
    return 0.0;
}

void Field::setAsString(const QString& text)
{
    if (text.isEmpty()) {
        clear();
        return;
    }
    switch (m_def.kind) {
    case FieldKind::String: setValue(text); return;
    case FieldKind::SmallInt:
    case FieldKind::Integer: {
        const std::optional<qint64> parsed = parseInteger(text);
        if (!parsed)
            throw invalidIntegerError(text, fieldName());
        setAsInteger(*parsed);
        return;
    }
    case FieldKind::Float: {
        const std::optional<double> parsed = parseFloat(text, settings());
        if (!parsed)
            throw invalidFloatError(text, fieldName());
        setValue(*parsed);
        return;
    }
    }
}

void Field::setValue(const FieldValue& value)
{
    m_dataSet.setCurrentValue(m_index, value);
}

void Field::setAsInteger(qint64 value)
{
    if (m_def.kind == FieldKind::Float) {
        setValue(double(value));
        return;
    }
    if (m_def.kind == FieldKind::String) {
        setValue(formatInteger(value));
        return;
    }
    const IntegerRange range = rangeOf(m_def.kind);
    if (value < range.low || value > range.high)
        throw outOfRangeError(double(value), fieldName(), double(range.low), double(range.high), settings());
    setValue(qint32(value));
}

void Field::clear()
{
    m_dataSet.setCurrentValue(m_index, std::monostate{});
}

}  // namespace korvat
