#pragma once

#include <QByteArray>
#include <QString>

#include <ibase.h>

namespace korvat {

// How the bytes of a text column stand for characters. Connections use
// character set NONE, so the server passes every column's bytes in the
// column's own character set and describes each by that set's number. The
// product's files are NONE, WIN1254 or UTF8: NONE and WIN1254 texts are
// Windows-1254 bytes (see AnsiCodePage), UTF8 ones (and the older
// UNICODE_FSS) are UTF-8.
class CharacterSet {
public:
    static constexpr int none = 0;
    static constexpr int unicodeFss = 3;
    static constexpr int utf8 = 4;
    static constexpr int win1254 = 55;

    constexpr CharacterSet() = default;
    constexpr explicit CharacterSet(int id) : m_id(id) { }
    // A text column's set as the server describes it (the low byte of its
    // subtype); none for a column of another kind.
    static CharacterSet ofColumn(const XSQLVAR& column);
    // A set by the name RDB$CHARACTER_SETS gives it ("UTF8", "WIN1254" ...).
    static CharacterSet named(QStringView name);

    int id() const { return m_id; }
    bool isUtf8() const { return m_id == utf8 || m_id == unicodeFss; }
    // The set's name for messages: "NONE", "WIN1254", "UTF8" ...
    QString name() const;

    QString decode(QByteArrayView bytes) const;
    // False, with `bytes` untouched, when a character of the text has no
    // place in this set.
    bool encode(QStringView text, QByteArray& bytes) const;

private:
    int m_id = none;
};

// A text a column's character set cannot hold, named with the set and the
// first character it lacks.
QString unrepresentableTextMessage(QStringView text, CharacterSet set);

}  // namespace korvat
