#pragma once

#include "CharacterSet.h"
#include "FieldDef.h"
#include "SqlDescriptorArea.h"

namespace korvat {

// The field kind that a result column gives, and the name of the column's own
// kind for type mismatch messages.
FieldKind fieldKindOfColumn(const XSQLVAR& column);
QString columnKindName(const XSQLVAR& column);
// True when the column's value can be held by a field of this kind.
bool columnFitsKind(const XSQLVAR& column, FieldKind kind);
// Characters in a string column: its bytes divided by its character set's bytes per character.
int columnCharacters(const XSQLVAR& column);
// The column's name as the server describes it (alias, else the column).
QString columnName(const XSQLVAR& column);
QString columnTable(const XSQLVAR& column);

// A fetched column as the descriptor area holds it, read for a field: a
// number in the field's kind, or text still in the code page with a CHAR
// value's padding cut unless the field has a fixed length.
struct ColumnReading {
    enum class Kind {
        Null,
        Integer,
        Float,
        Text
    };
    Kind kind = Kind::Null;
    qint32 integer = 0;
    double number = 0;
    QByteArrayView text;
    CharacterSet characterSet;  // of a text
};
ColumnReading readColumn(const SqlDescriptorArea& area, int index, const FieldDef& field);

// A text reading decoded in its column's character set; a CHAR value keeps
// its padding, to the field's size, only in a field of fixed length.
QString columnText(const ColumnReading& reading, const FieldDef& field);

// Reads a fetched column into a field's value. Strings are decoded in the
// column's character set; a CHAR value keeps its padding only in a field of
// fixed length.
FieldValue readColumnValue(const SqlDescriptorArea& area, int index, const FieldDef& field);

// The integer in a fetched column of a whole-number or floating-point type
// (a generator's value, a count), as a 64-bit integer.
qint64 readIntegerColumn(const SqlDescriptorArea& area, int index);

// Binds a field's value as the parameter at index, in the value's own type:
// text in the parameter's described character set, integers as 32-bit,
// floating point as double. A text that set cannot hold is refused
// (LayerError), never written with substitutes.
void bindFieldValue(SqlDescriptorArea& area, int index, const FieldValue& value);

}  // namespace korvat
