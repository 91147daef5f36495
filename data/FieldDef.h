#pragma once

#include <QString>
#include <QtGlobal>
#include <variant>

namespace korvat {

// The four kinds of value that the databases' columns hold.
enum class FieldKind {
    SmallInt,
    Integer,
    Float,
    String
};

// The kind's name in type mismatch messages.
QString fieldKindName(FieldKind kind);

// A value as a row holds it: NULL, an integer of either width, a double, or text.
using FieldValue = std::variant<std::monostate, qint32, double, QString>;

inline bool isNull(const FieldValue& value)
{
    return std::holds_alternative<std::monostate>(value);
}

// What a field is: its column, kind, length and marks.
struct FieldDef {
    QString name;
    FieldKind kind = FieldKind::String;
    int size = 0;              // characters, for strings
    bool fixedLength = false;  // made for a CHAR column: padded to size
    bool required = false;
    bool readOnly = false;
    bool key = false;
    QString origin;  // TABLE.COLUMN
};

}  // namespace korvat
