#pragma once

#include <QString>
#include <QStringView>

namespace korvat {

// Folds a field name for lookup: each code point lower-cased by its simple
// one-to-one mapping, never by Turkish rules, so 'I' gives 'i' and U+0130
// gives a plain 'i' (one character, no combining dot). The result has as many
// UTF-16 units as the input.
QString foldName(QStringView name);
// Whether foldName(name) would give `folded`.
bool equalsFolded(QStringView name, QStringView folded);
bool sameName(QStringView a, QStringView b);

}  // namespace korvat
