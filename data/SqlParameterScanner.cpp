#include "SqlParameterScanner.h"

#include <QStringView>

namespace korvat {

namespace {

// Letters beyond ASCII count as well: the statements are Turkish and a name
// such as ":miktarı" must not end in the middle of a word.
bool isNameChar(char32_t cp)
{
    return cp == U'_' || cp == U'$' || QChar::isLetter(cp) || QChar::isDigit(cp);
}

// Code point at pos and the number of UTF-16 units it takes.
char32_t codePointAt(QStringView text, qsizetype pos, qsizetype& units)
{
    const QChar c = text[pos];
    if (c.isHighSurrogate() && pos + 1 < text.size() && text[pos + 1].isLowSurrogate()) {
        units = 2;
        return QChar::surrogateToUcs4(c, text[pos + 1]);
    }
    units = 1;
    return c.unicode();
}

// End (exclusive) of the quoted text or comment that starts at pos, or pos
// itself when none starts there. A doubled quote inside quoted text needs no
// special case: it closes the text and opens the next at once.
qsizetype skipOpaque(QStringView text, qsizetype pos)
{
    const QChar c = text[pos];
    const qsizetype size = text.size();
    if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
        const qsizetype close = text.indexOf(c, pos + 1);
        return close < 0 ? size : close + 1;
    }
    if (pos + 1 < size && c == QLatin1Char('-') && text[pos + 1] == QLatin1Char('-')) {
        const qsizetype newline = text.indexOf(QLatin1Char('\n'), pos + 2);
        return newline < 0 ? size : newline + 1;
    }
    if (pos + 1 < size && c == QLatin1Char('/') && text[pos + 1] == QLatin1Char('*')) {
        const qsizetype close = text.indexOf(QLatin1String("*/"), pos + 2);
        return close < 0 ? size : close + 2;
    }
    return pos;
}

}  // namespace

ScannedStatement scanParameters(const QString& sqlText)
{
    const QStringView text(sqlText);
    const qsizetype size = text.size();
    ScannedStatement result;
    result.serverText.reserve(size);

    qsizetype pos = 0;
    while (pos < size) {
        const qsizetype opaqueEnd = skipOpaque(text, pos);
        if (opaqueEnd != pos) {
            result.serverText += text.mid(pos, opaqueEnd - pos);
            pos = opaqueEnd;
            continue;
        }

        if (text[pos] != QLatin1Char(':')) {
            result.serverText += text[pos++];
            continue;
        }
        if (pos + 1 < size && text[pos + 1] == QLatin1Char(':')) {
            result.serverText += QLatin1String("::");
            pos += 2;
            continue;
        }

        qsizetype nameEnd = pos + 1;
        while (nameEnd < size) {
            qsizetype units = 1;
            if (!isNameChar(codePointAt(text, nameEnd, units)))
                break;
            nameEnd += units;
        }
        if (nameEnd == pos + 1) {
            result.serverText += QLatin1Char(':');
            ++pos;
            continue;
        }
        result.parameterNames.append(text.mid(pos + 1, nameEnd - pos - 1).toString());
        result.serverText += QLatin1Char('?');
        pos = nameEnd;
    }
    return result;
}

}  // namespace korvat
