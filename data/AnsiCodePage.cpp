#include "AnsiCodePage.h"

#include <QFile>

namespace korvat {

AnsiCodePage::AnsiCodePage() : m_encoder(name), m_decoder(name) {}

QByteArray AnsiCodePage::encode(QStringView text)
{
    return m_encoder.encode(text);
}

QString AnsiCodePage::decode(QByteArrayView bytes)
{
    return m_decoder.decode(bytes);
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
