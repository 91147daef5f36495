#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

namespace korvat {

// The single-byte code page in which the databases' texts are written by the
// point-of-sale systems (Turkish Windows, 1254). Connections use character set
// NONE, so every text crosses the wire as bytes of this code page.
class AnsiCodePage {
public:
    static constexpr const char* name = "windows-1254";

    AnsiCodePage();

    QByteArray encode(QStringView text);
    QString decode(QByteArrayView bytes);

private:
    QStringEncoder m_encoder;
    QStringDecoder m_decoder;
};

// A database name in the form the client library takes: the platform's file
// name encoding on Unix (so a folder such as "Masaüstü" attaches), the ANSI
// code page on Windows.
QByteArray encodeDatabaseName(const QString& databaseName);

}  // namespace korvat
