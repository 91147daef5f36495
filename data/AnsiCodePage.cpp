#include "AnsiCodePage.h"

#include <QFile>

#include <algorithm>

namespace korvat {

AnsiCodePage::AnsiCodePage() : m_encoder(name), m_decoder(name)
{
}

// The code page agrees with ASCII below 0x80, where Qt's Latin-1 routines
// are much quicker than a converter; codes, numbers and many names are ASCII.
QByteArray AnsiCodePage::encode(QStringView text)
{
    const bool ascii = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    return ascii ? text.toLatin1() : QByteArray(m_encoder.encode(text));
}

QString AnsiCodePage::decode(QByteArrayView bytes)
{
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return quint8(c) < 0x80; });
    return ascii ? QString::fromLatin1(bytes) : QString(m_decoder.decode(bytes));
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
