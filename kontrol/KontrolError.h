#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace korvat::kontrol {

// A check that could not be made: a database that does not open, a table it
// lacks, a file that cannot be written. The message is the operator's, in Turkish.
class KontrolError : public std::exception {
public:
    explicit KontrolError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) { }
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

}  // namespace korvat::kontrol
