#pragma once

#include <QDateTime>
#include <QString>

namespace korvat {
class Connection;
}

// The target is backed up with Firebird's own backup before a session first
// writes into it (the first transfer after it was attached), so that a wrong
// file chosen as the target can be brought back with gbak.
class TargetBackup {
public:
    // Backs the attached target up into `folder` unless this attachment was
    // backed up already; returns the file written, empty when none was. A
    // backup that fails throws, with nothing left of the file, and is tried
    // again by the next transfer.
    QString ensure(korvat::Connection& target, const QString& folder, const QDateTime& now);

private:
    quint64 m_backedUpAttachment = 0;
};

// The backup's file: the database's name and the time ("KORVAT-20261231-2157.fbk"),
// with "-2", "-3" ... when a file of that name exists already.
QString backupFilePath(const QString& folder, const QString& databaseName, const QDateTime& now);
