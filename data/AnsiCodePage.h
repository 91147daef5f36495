#pragma once

#include <QByteArray>
#include <QString>
#include <QStringEncoder>

#include <optional>

namespace korvat {

// The single-byte code page in which the databases' texts are written by the
// point-of-sale systems (Turkish Windows, 1254). Connections use character set
// NONE, so every text crosses the wire as bytes of this code page.
//
// Each byte stands for one character, so texts are converted through a table
// read once from Qt's converter; a character the code page lacks goes through
// the converter itself, which writes its substitute.
class AnsiCodePage {
public:
    static constexpr const char* name = "windows-1254";

    QByteArray encode(QStringView text);
    // Writes the text's bytes to `out`, one per character; false when a
    // character is not in the code page (encode() then gives its substitute).
    static bool encodeInto(QStringView text, char* out);
    QString decode(QByteArrayView bytes);
    // Writes the bytes' characters to `out`, one UTF-16 unit per byte.
    static void decodeInto(QByteArrayView bytes, char16_t* out);

private:
    std::optional<QStringEncoder> m_encoder;  // made at the first character the table lacks
};

// A database name in the form the client library takes: the platform's file
// name encoding on Unix (so a folder such as "Masaüstü" attaches), the ANSI
// code page on Windows.
QByteArray encodeDatabaseName(const QString& databaseName);

}  // namespace korvat
