#include "CharacterSet.h"

#include "AnsiCodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <utility>

namespace korvat {

namespace {

// The sets a point-of-sale file is likely to name, by their numbers in RDB$CHARACTER_SETS.
constexpr std::array<std::pair<int, const char*>, 9> knownNames = {{
    {CharacterSet::none, "NONE"},
    {1, "OCTETS"},
    {2, "ASCII"},
    {CharacterSet::unicodeFss, "UNICODE_FSS"},
    {CharacterSet::utf8, "UTF8"},
    {21, "ISO8859_1"},
    {39, "ISO8859_9"},
    {53, "WIN1252"},
    {CharacterSet::win1254, "WIN1254"},
}};

// The first character of the text, as a whole code point, that the code page lacks.
QString firstMissingCharacter(QStringView text, CharacterSet set)
{
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype length = text[at].isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
        const QStringView character = text.mid(at, length);
        QByteArray ignored;
        if (!set.encode(character, ignored))
            return character.toString();
        at += length;
    }
    return QString();
}

}  // namespace

CharacterSet CharacterSet::ofColumn(const XSQLVAR& column)
{
    const short type = short(column.sqltype & ~1);
    if (type != SQL_TEXT && type != SQL_VARYING)
        return CharacterSet();
    return CharacterSet(column.sqlsubtype & 0xFF);
}

CharacterSet CharacterSet::named(QStringView name)
{
    const QStringView trimmed = name.trimmed();
    for (const auto& [id, known] : knownNames)
        if (trimmed.compare(QLatin1StringView(known), Qt::CaseInsensitive) == 0)
            return CharacterSet(id);
    return CharacterSet();
}

QString CharacterSet::name() const
{
    for (const auto& [id, known] : knownNames)
        if (id == m_id)
            return QString::fromLatin1(known);
    return QString::number(m_id);
}

QString CharacterSet::decode(QByteArrayView bytes) const
{
    if (isUtf8())
        return QString::fromUtf8(bytes);
    AnsiCodePage codePage;
    return codePage.decode(bytes);
}

bool CharacterSet::encode(QStringView text, QByteArray& bytes) const
{
    if (isUtf8()) {
        QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
        QByteArray encoded = utf8.encode(text);
        if (utf8.hasError())  // a lone surrogate
            return false;
        bytes = std::move(encoded);
        return true;
    }
    QByteArray encoded(text.size(), Qt::Uninitialized);
    if (!AnsiCodePage::encodeInto(text, encoded.data()))
        return false;
    bytes = std::move(encoded);
    return true;
}

QString unrepresentableTextMessage(QStringView text, CharacterSet set)
{
    return QStringLiteral("\"%1\" metni veritabanının %2 karakter kümesinde yazılamıyor: \"%3\" karakteri bu "
                          "kümede yok")
        .arg(text.toString(), set.name(), firstMissingCharacter(text, set));
}

}  // namespace korvat
