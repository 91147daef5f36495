#include "ColumnValue.h"

#include "AnsiCodePage.h"
#include "Errors.h"
#include "FieldText.h"

#include <QtEndian>
#include <cmath>
#include <cstring>
#include <limits>

namespace korvat {

namespace {

template <typename T> T readData(const char* data)
{
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

int bytesPerCharacter(int characterSet)
{
    switch (characterSet) {
    case 3:  // UNICODE_FSS
        return 3;
    case 4:  // UTF8
        return 4;
    case 5:   // SJIS_0208
    case 6:   // EUCJ_0208
    case 44:  // KSC_5601
    case 56:  // BIG_5
    case 57:  // GB_2312
        return 2;
    default: return 1;
    }
}

double scaled(qint64 value, short scale)
{
    return scale == 0 ? double(value) : double(value) * std::pow(10.0, scale);
}

}  // namespace

FieldKind fieldKindOfColumn(const XSQLVAR& column)
{
    switch (baseType(column)) {
    case SQL_SHORT: return column.sqlscale == 0 ? FieldKind::SmallInt : FieldKind::Float;
    case SQL_LONG: return column.sqlscale == 0 ? FieldKind::Integer : FieldKind::Float;
    case SQL_INT64:
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return FieldKind::Float;
    default: return FieldKind::String;
    }
}

QString columnKindName(const XSQLVAR& column)
{
    switch (baseType(column)) {
    case SQL_SHORT: return column.sqlscale == 0 ? QStringLiteral("Smallint") : QStringLiteral("BCD");
    case SQL_LONG: return column.sqlscale == 0 ? QStringLiteral("Integer") : QStringLiteral("BCD");
    case SQL_INT64: return column.sqlscale == 0 ? QStringLiteral("Largeint") : QStringLiteral("BCD");
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return QStringLiteral("Float");
    case SQL_TEXT:
    case SQL_VARYING: return QStringLiteral("String");
    case SQL_TIMESTAMP: return QStringLiteral("DateTime");
    case SQL_TYPE_DATE: return QStringLiteral("Date");
    case SQL_TYPE_TIME: return QStringLiteral("Time");
    case SQL_BLOB: return QStringLiteral("Blob");
    case SQL_BOOLEAN: return QStringLiteral("Boolean");
    default: return QStringLiteral("Unknown");
    }
}

bool columnFitsKind(const XSQLVAR& column, FieldKind kind)
{
    const short type = baseType(column);
    switch (kind) {
    case FieldKind::SmallInt: return type == SQL_SHORT && column.sqlscale == 0;
    case FieldKind::Integer: return type == SQL_LONG && column.sqlscale == 0;
    case FieldKind::Float: return type == SQL_FLOAT || type == SQL_DOUBLE || type == SQL_D_FLOAT;
    case FieldKind::String: return type == SQL_TEXT || type == SQL_VARYING;
    }
    return false;
}

int columnCharacters(const XSQLVAR& column)
{
    const int characterSet = column.sqlsubtype & 0xFF;
    return column.sqllen / bytesPerCharacter(characterSet);
}

QString columnName(const XSQLVAR& column)
{
    const qsizetype aliasLength = std::min<qsizetype>(column.aliasname_length, sizeof column.aliasname);
    if (aliasLength > 0)
        return QString::fromLatin1(column.aliasname, aliasLength);
    return QString::fromLatin1(column.sqlname,
                               std::min<qsizetype>(column.sqlname_length, sizeof column.sqlname));
}

QString columnTable(const XSQLVAR& column)
{
    return QString::fromLatin1(column.relname,
                               std::min<qsizetype>(column.relname_length, sizeof column.relname));
}

ColumnReading readColumn(const SqlDescriptorArea& area, int index, const FieldDef& field)
{
    using Kind = ColumnReading::Kind;
    if (area.isNull(index))
        return {};
    const XSQLVAR& column = area.var(index);
    const char* data = area.data(index);
    const auto number = [](double value) { return ColumnReading{Kind::Float, 0, value, {}, {}}; };
    switch (baseType(column)) {
    case SQL_SHORT:
        if (column.sqlscale == 0 && field.kind != FieldKind::Float)
            return {Kind::Integer, readData<qint16>(data), 0, {}, {}};
        return number(scaled(readData<qint16>(data), column.sqlscale));
    case SQL_LONG:
        if (column.sqlscale == 0 && field.kind != FieldKind::Float)
            return {Kind::Integer, readData<qint32>(data), 0, {}, {}};
        return number(scaled(readData<qint32>(data), column.sqlscale));
    case SQL_INT64: return number(scaled(readData<qint64>(data), column.sqlscale));
    case SQL_FLOAT: return number(double(readData<float>(data)));
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return number(readData<double>(data));
    case SQL_TEXT: {
        QByteArrayView text(data, column.sqllen);
        const CharacterSet set = CharacterSet::ofColumn(column);
        // The code page and UTF-8 write the controls and the space as ASCII
        // does. A UTF-8 CHAR is padded to its room in bytes, not characters:
        // columnText pads it again to the field's size.
        if (!field.fixedLength || set.isUtf8())
            while (!text.isEmpty() && quint8(text.back()) <= 0x20)
                text.chop(1);
        return {Kind::Text, 0, 0, text, set};
    }
    case SQL_VARYING:
        return {Kind::Text, 0, 0, QByteArrayView(data + sizeof(quint16), readData<quint16>(data)),
                CharacterSet::ofColumn(column)};
    default:
        // Kinds the layer does not edit show as an empty text.
        return {Kind::Text, 0, 0, {}, {}};
    }
}

QString columnText(const ColumnReading& reading, const FieldDef& field)
{
    if (!reading.characterSet.isUtf8())
        return AnsiCodePage().decode(reading.text);
    QString text = QString::fromUtf8(reading.text);
    if (field.fixedLength && text.size() < field.size)
        text.append(QString(field.size - text.size(), QLatin1Char(' ')));
    return text;
}

FieldValue readColumnValue(const SqlDescriptorArea& area, int index, const FieldDef& field)
{
    const ColumnReading reading = readColumn(area, index, field);
    switch (reading.kind) {
    case ColumnReading::Kind::Null: return std::monostate{};
    case ColumnReading::Kind::Integer: return reading.integer;
    case ColumnReading::Kind::Float: return reading.number;
    case ColumnReading::Kind::Text: return columnText(reading, field);
    }
    return std::monostate{};
}

void bindFieldValue(SqlDescriptorArea& area, int index, const FieldValue& value)
{
    if (const auto* integer = std::get_if<qint32>(&value)) {
        area.bindValue(index, SQL_LONG, *integer);
    } else if (const auto* floating = std::get_if<double>(&value)) {
        area.bindValue(index, SQL_DOUBLE, *floating);
    } else if (const auto* text = std::get_if<QString>(&value)) {
        // A code page text is written straight into the area's own room.
        constexpr qsizetype maxTextLength = std::numeric_limits<short>::max();
        const CharacterSet set = area.describedCharacterSet(index);
        if (!set.isUtf8() && text->size() <= maxTextLength &&
            AnsiCodePage::encodeInto(*text, area.textRoom(index, short(text->size()))))
            return;
        QByteArray bytes;
        if (!set.encode(*text, bytes))
            throw LayerError(unrepresentableTextMessage(*text, set));
        if (bytes.size() > maxTextLength)
            throw stringTooLongError(bytes.size(), maxTextLength);
        area.bind(index, SQL_TEXT, bytes, short(bytes.size()));
    } else {
        area.bindNull(index);
    }
}

qint64 readIntegerColumn(const SqlDescriptorArea& area, int index)
{
    const XSQLVAR& column = area.var(index);
    const char* data = area.data(index);
    switch (baseType(column)) {
    case SQL_SHORT: {
        qint16 value;
        std::memcpy(&value, data, sizeof value);
        return value;
    }
    case SQL_LONG: {
        qint32 value;
        std::memcpy(&value, data, sizeof value);
        return value;
    }
    case SQL_INT64: {
        qint64 value;
        std::memcpy(&value, data, sizeof value);
        return value;
    }
    default: {
        double value;
        std::memcpy(&value, data, sizeof value);
        return qint64(std::llround(value));
    }
    }
}

}  // namespace korvat
