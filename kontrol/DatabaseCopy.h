#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace korvat::kontrol {

// The name a check attaches for a database. The engine stamps a file's header
// at every attach, even for reading only; so a file on this machine is read
// from a private copy, and the operator's file is never touched. A file that
// a server holds open is no quiet file to copy: it is attached by its name
// (the connection then goes through the server), as is a server name.
class DatabaseCopy {
public:
    // Throws KontrolError when a file given by path is missing or unreadable.
    explicit DatabaseCopy(const QString& databaseName);

    const QString& attachName() const { return m_attachName; }
    bool isCopy() const { return m_isCopy; }

    // Once attached, the engine holds the copy open: its name goes at once,
    // so a check ended by Ctrl+C leaves no copy behind.
    void removeName();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_attachName;
    bool m_isCopy = false;
};

}  // namespace korvat::kontrol
