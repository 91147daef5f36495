#include "AnsiCodePage.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace korvat {

namespace {

// The code page's characters in both directions, read from Qt's converter
// once; being constant, the table is shared by every connection.
struct CodePageTable {
    CodePageTable()
    {
        QStringEncoder encoder(AnsiCodePage::name);
        for (int byte = 0; byte < 256; ++byte) {
            const char c = char(byte);
            const QString text = QStringDecoder(AnsiCodePage::name).decode(QByteArrayView(&c, 1));
            // A byte always stands for one character; one the converter does
            // not give as a single unit reads as the replacement character.
            toUnicode[byte] = text.size() == 1 ? text.front().unicode() : char16_t(0xFFFD);
            if (byte >= 0x80 && text.size() == 1 && QByteArray(encoder.encode(text)) == QByteArray(1, c))
                fromUnicode.emplace_back(toUnicode[byte], c);
        }
        std::sort(fromUnicode.begin(), fromUnicode.end());
    }

    std::array<char16_t, 256> toUnicode{};
    std::vector<std::pair<char16_t, char>> fromUnicode;  // the characters from 0x80 up, sorted
};

const CodePageTable& table()
{
    static const CodePageTable codePage;
    return codePage;
}

}  // namespace

QByteArray AnsiCodePage::encode(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    if (encodeInto(text, bytes.data()))
        return bytes;
    if (!m_encoder)
        m_encoder.emplace(name);
    return m_encoder->encode(text);
}

bool AnsiCodePage::encodeInto(QStringView text, char* out)
{
    const std::vector<std::pair<char16_t, char>>& fromUnicode = table().fromUnicode;
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit < 0x80) {
            *out++ = char(unit);
            continue;
        }
        const auto found = std::lower_bound(
            fromUnicode.begin(), fromUnicode.end(), unit,
            [](const std::pair<char16_t, char>& entry, char16_t u) { return entry.first < u; });
        if (found == fromUnicode.end() || found->first != unit)
            return false;
        *out++ = found->second;
    }
    return true;
}

QString AnsiCodePage::decode(QByteArrayView bytes)
{
    // Qt's Latin-1 routine is quicker still for ASCII, which codes and
    // numbers are.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return quint8(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    QString text(bytes.size(), Qt::Uninitialized);
    decodeInto(bytes, reinterpret_cast<char16_t*>(text.data()));
    return text;
}

void AnsiCodePage::decodeInto(QByteArrayView bytes, char16_t* out)
{
    const std::array<char16_t, 256>& toUnicode = table().toUnicode;
    for (const char c : bytes)
        *out++ = toUnicode[quint8(c)];
}

QByteArray encodeDatabaseName(const QString& databaseName)
{
#ifdef Q_OS_WIN
    return AnsiCodePage().encode(databaseName);
#else
    return QFile::encodeName(databaseName);
#endif
}

}  // namespace korvat
