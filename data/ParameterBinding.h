#pragma once

#include "CharacterSet.h"

#include "StatementParameter.h"

#include <ibase.h>

#include <QDateTime>
#include <QLocale>
#include <QStringView>

#include <optional>

namespace korvat {

class ClientLibrary;
class Connection;
class SqlDescriptorArea;

// What the server described for one parameter position. Kept apart from the
// descriptor area, because binding overwrites the area's variable with the
// value's own type and length, and a re-execution must decide by the column.
struct ParameterColumn {
    short sqlType = 0;          // without the nullable bit
    short length = 0;           // bytes, for CHAR and VARCHAR
    CharacterSet characterSet;  // for CHAR and VARCHAR
};

ParameterColumn describedColumn(const XSQLVAR& var);

// Puts a parameter's value into position `index` of the input area:
// - unset: NULL;
// - text: for CHAR/VARCHAR the code-page bytes (refused when longer than the
//   column); for DATE/TIME/TIMESTAMP the date and time it reads as, in the
//   column's own type; for anything else NULL when empty, otherwise the text
//   itself for the server to convert;
// - double: DOUBLE PRECISION; date and time: TIMESTAMP in whole seconds.
// The server converts doubles and timestamps to the column's type.
void bindParameter(SqlDescriptorArea& input, int index, const ParameterColumn& column,
                   const StatementParameter& parameter, Connection& connection);

// Reads a text given for a date or time column. Accepted, blanks around
// ignored: the ISO forms (yyyy-MM-dd, with " " or "T" and HH:mm[:ss[.zzz]]),
// the locale's short date with or without its short or long time, and a
// time alone (HH:mm[:ss] or the locale's), which stands on 1899-12-30, day
// zero of the date-time values of the point-of-sale systems.
std::optional<QDateTime> readDateTimeText(QStringView text, const QLocale& locale);

// Whole seconds: the client's encoding has no place for the milliseconds.
ISC_TIMESTAMP encodeTimestamp(const QDateTime& value);

}  // namespace korvat
