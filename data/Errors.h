#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace korvat {

// Every failure of the data layer is one of these: an exception carrying the
// message that the operator will read.
class DataError : public std::exception {
public:
    explicit DataError(QString message);

    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

    // A readable name of the error's kind, for the start-up failure box.
    virtual const char* typeName() const noexcept { return "DataError"; }

private:
    QString m_message;
    QByteArray m_utf8;
};

// The layer's own errors (field, conversion, transaction and connection messages).
class LayerError : public DataError {
public:
    using DataError::DataError;
    const char* typeName() const noexcept override { return "LayerError"; }
};

// Builds "<object name>: <message>" for messages raised on behalf of a named object.
QString prefixed(const QString& objectName, const QString& message);

// The client library could not be loaded or lacks an entry point.
class ClientLibraryError : public LayerError {
public:
    using LayerError::LayerError;
    const char* typeName() const noexcept override { return "ClientLibraryError"; }
};

// A setting of a named object could not be applied while the object was being
// created: "Error reading <object>.<setting>: <message>".
class SettingReadError : public DataError {
public:
    SettingReadError(const QString& objectName, const QString& settingName, const QString& message);
    const char* typeName() const noexcept override { return "SettingReadError"; }
};

// An error reported by the database server or its client library.
class ServerError : public DataError {
public:
    ServerError(QString message, long sqlCode, long engineCode);

    long sqlCode() const noexcept { return m_sqlCode; }
    long engineCode() const noexcept { return m_engineCode; }
    const char* typeName() const noexcept override { return "ServerError"; }

private:
    long m_sqlCode;
    long m_engineCode;
};

// The connection to the server is lost (SQL code -902 with a network error):
// no further call can use it. Shown as the server error it is.
class ConnectionLostError : public ServerError {
public:
    using ServerError::ServerError;
};

// SQL code -551: the user lacks a permission.
class NoPermissionError : public ServerError {
public:
    using ServerError::ServerError;
    const char* typeName() const noexcept override { return "NoPermissionError"; }
};

// A local file of an on-disk structure that this engine does not read (one
// made by an older Firebird), which no server on this machine opened either.
// The message tells the operator, in Turkish, what the file is and what to do.
class OlderFileError : public ServerError {
public:
    using ServerError::ServerError;
    const char* typeName() const noexcept override { return "OlderFileError"; }
};

// A local file that another program of this machine holds open with an
// engine of its own, which no server on this machine could serve instead.
// Carries the server's message.
class FileInUseError : public ServerError {
public:
    using ServerError::ServerError;
    const char* typeName() const noexcept override { return "FileInUseError"; }
};

}  // namespace korvat
