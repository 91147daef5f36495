#pragma once

#include <QString>
#include <QStringList>

namespace korvat {

// A statement with its named parameters taken out: what the server is sent,
// and one name per '?' in the order the question marks stand.
struct ScannedStatement {
    QString serverText;
    QStringList parameterNames;
};

// Finds the ":name" parameters of a statement and replaces each with '?'.
// - A name is the longest run of letters, digits, '_' and '$' after the colon
//   (it may start with a digit); a colon followed by anything else stays.
// - Names are kept as written and a repeated name is listed again, because
//   every occurrence is a parameter position of its own.
// - "::" is copied as written and starts no parameter.
// - Quoted text ('...', "...", `...`), "--" line comments and "/* */" block
//   comments are copied unchanged; an unterminated one runs to the end.
ScannedStatement scanParameters(const QString& sqlText);

}  // namespace korvat
