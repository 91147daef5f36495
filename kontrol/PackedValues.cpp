#include "PackedValues.h"

#include "ColumnValue.h"
#include "FieldText.h"

#include <cmath>
#include <cstring>

namespace korvat::kontrol {

namespace {

enum Tag : char {
    NullTag = 'N',
    IntegerTag = 'I',
    NumberTag = 'F',
    TextTag = 'S'
};

template <typename T> T readData(const char* data)
{
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

template <typename T> void appendData(QByteArray& packed, T value)
{
    packed.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// A number column as the data layer reads it: a whole number as an integer,
// a scaled or floating one as a double. Numbers never touch the code page.
FieldValue numericValue(const SqlDescriptorArea& area, int index)
{
    static const FieldDef wholeNumbers = [] {
        FieldDef def;
        def.kind = FieldKind::Integer;
        return def;
    }();
    return readColumnValue(area, index, wholeNumbers);
}

// The bytes of a text column; a CHAR loses its padding, as the data layer's
// fields of variable length read it.
QByteArrayView textBytes(const XSQLVAR& column, const char* data)
{
    if (baseType(column) == SQL_VARYING)
        return QByteArrayView(data + sizeof(quint16), readData<quint16>(data));
    qsizetype length = column.sqllen;
    while (length > 0 && quint8(data[length - 1]) <= 0x20)
        --length;
    return QByteArrayView(data, length);
}

bool isText(const XSQLVAR& column)
{
    return baseType(column) == SQL_TEXT || baseType(column) == SQL_VARYING;
}

}  // namespace

QByteArray packColumns(const SqlDescriptorArea& area, int first, int count)
{
    QByteArray packed;
    for (int index = first; index < first + count; ++index) {
        const XSQLVAR& column = area.var(index);
        if (area.isNull(index)) {
            packed.append(NullTag);
        } else if (isText(column)) {
            const QByteArrayView bytes = textBytes(column, area.data(index));
            if (bytes.isEmpty()) {
                packed.append(NullTag);
                continue;
            }
            // Packed as UTF-8 whatever the column's set, so that a text of
            // a WIN1254 source and the same text of a UTF8 target compare equal.
            const CharacterSet set = CharacterSet::ofColumn(column);
            const QByteArray utf8 = set.isUtf8() ? bytes.toByteArray() : set.decode(bytes).toUtf8();
            packed.append(TextTag);
            appendData(packed, quint16(utf8.size()));
            packed.append(utf8);
        } else {
            const FieldValue value = numericValue(area, index);
            if (const auto* integer = std::get_if<qint32>(&value)) {
                packed.append(IntegerTag);
                appendData(packed, qint64(*integer));
            } else if (const auto* number = std::get_if<double>(&value)) {
                packed.append(NumberTag);
                appendData(packed, *number);
            } else {
                packed.append(NullTag);  // a kind no transfer copies
            }
        }
    }
    return packed;
}

std::vector<FieldValue> unpackValues(const QByteArray& packed)
{
    std::vector<FieldValue> values;
    const char* at = packed.constData();
    const char* end = at + packed.size();
    while (at < end) {
        switch (*at++) {
        case IntegerTag:
            values.emplace_back(qint32(readData<qint64>(at)));
            at += sizeof(qint64);
            break;
        case NumberTag:
            values.emplace_back(readData<double>(at));
            at += sizeof(double);
            break;
        case TextTag: {
            const quint16 length = readData<quint16>(at);
            at += sizeof(quint16);
            values.emplace_back(QString::fromUtf8(QByteArrayView(at, length)));
            at += length;
            break;
        }
        default: values.emplace_back(std::monostate{}); break;
        }
    }
    return values;
}

QString textForm(const FieldValue& value, const RegionalSettings& settings)
{
    if (const auto* integer = std::get_if<qint32>(&value))
        return formatInteger(*integer);
    if (const auto* number = std::get_if<double>(&value))
        return formatFloat(*number, settings);
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    return QString();
}

FieldValue valueColumn(const SqlDescriptorArea& area, int index)
{
    if (area.isNull(index) || isText(area.var(index)))
        return std::monostate{};
    return numericValue(area, index);
}

std::optional<qint64> integerColumn(const SqlDescriptorArea& area, int index)
{
    const FieldValue value = valueColumn(area, index);
    if (const auto* integer = std::get_if<qint32>(&value))
        return *integer;
    if (const auto* number = std::get_if<double>(&value))
        return qint64(std::llround(*number));
    return std::nullopt;
}

std::optional<double> numberColumn(const SqlDescriptorArea& area, int index)
{
    const FieldValue value = valueColumn(area, index);
    if (const auto* integer = std::get_if<qint32>(&value))
        return double(*integer);
    if (const auto* number = std::get_if<double>(&value))
        return *number;
    return std::nullopt;
}

std::optional<QDateTime> timestampColumn(const SqlDescriptorArea& area, int index)
{
    if (area.isNull(index))
        return std::nullopt;
    // Days since 17 November 1858 (Julian day 2400001) and ten-thousandths of a second.
    constexpr qint64 julianDayOfDayZero = 2400001;
    const char* data = area.data(index);
    switch (baseType(area.var(index))) {
    case SQL_TIMESTAMP: {
        const ISC_TIMESTAMP stamp = readData<ISC_TIMESTAMP>(data);
        return QDateTime(QDate::fromJulianDay(julianDayOfDayZero + stamp.timestamp_date),
                         QTime::fromMSecsSinceStartOfDay(int(stamp.timestamp_time / 10)));
    }
    case SQL_TYPE_DATE:
        return QDateTime(QDate::fromJulianDay(julianDayOfDayZero + readData<ISC_DATE>(data)), QTime(0, 0));
    default: return std::nullopt;
    }
}

}  // namespace korvat::kontrol
