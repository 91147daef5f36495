#include "NameFolding.h"

#include <algorithm>

namespace korvat {

namespace {

// QChar::toLower leaves U+0130 alone because its full mapping has two
// characters; its simple mapping is 'i'. It is the only such letter.
char32_t foldedCodePoint(char32_t cp)
{
    if (cp < 0x80)  // names are mostly ASCII: no table lookup for them
        return cp >= U'A' && cp <= U'Z' ? cp + (U'a' - U'A') : cp;
    return cp == 0x130 ? U'i' : QChar::toLower(cp);
}

}  // namespace

QString foldName(QStringView name)
{
    QString folded;
    folded.reserve(name.size());
    for (qsizetype i = 0; i < name.size();) {
        char32_t cp = name[i].unicode();
        qsizetype units = 1;
        if (name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(name[i], name[i + 1]);
            units = 2;
        }
        const char32_t lower = foldedCodePoint(cp);
        if (QChar::requiresSurrogates(lower)) {
            folded += QChar(QChar::highSurrogate(lower));
            folded += QChar(QChar::lowSurrogate(lower));
        } else {
            folded += QChar(static_cast<char16_t>(lower));
        }
        i += units;
    }
    return folded;
}

bool equalsFolded(QStringView name, QStringView folded)
{
    if (name.size() != folded.size())
        return false;
    // Letter by letter, without building the folded name: lookups by name
    // run for every field of every carried row.
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        if (QChar::isSurrogate(unit))
            return foldName(name) == folded;
        const char32_t lower = foldedCodePoint(unit);
        if (QChar::requiresSurrogates(lower))
            return foldName(name) == folded;
        if (char16_t(lower) != folded[i].unicode())
            return false;
    }
    return true;
}

bool sameName(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    // Plain names compare as Qt compares them regardless of case, which for
    // ASCII is the folding above; others are folded in full.
    const auto plain = [](QStringView name) {
        return std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x80; });
    };
    if (plain(a) && plain(b))
        return a.compare(b, Qt::CaseInsensitive) == 0;
    return foldName(a) == foldName(b);
}

}  // namespace korvat
