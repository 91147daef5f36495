#pragma once

#include "ClientLibrary.h"

#include <QString>
#include <QStringList>

#include <memory>

class QIODevice;

namespace korvat {

class Connection;

// Firebird's own backup of an attached database, made through the services
// API (the format gbak restores). The backup streams back through the
// service and is written here, so a server's own file permissions never
// matter; the embedded engine's service manager serves a file it opens
// itself, the server's one a file attached through a server.
class DatabaseBackup {
public:
    // The database the connection is attached to, with its user and password.
    explicit DatabaseBackup(Connection& connection);

    // Writes the whole backup to `out`; throws the server's error, or a
    // LayerError when `out` refuses a write.
    void writeTo(QIODevice& out);

private:
    std::shared_ptr<ClientLibrary> m_client;
    QString m_serviceName;
    QString m_databasePath;
    QString m_user;
    QString m_password;
};

}  // namespace korvat
