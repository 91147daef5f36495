#include "PathIdentity.h"

#include "Connection.h"

#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

bool isAttachedAs(const korvat::Connection& connection, const QString& shownPath)
{
    return connection.connected() && connection.databaseName() == shownPath;
}

bool isSameFile(const QString& first, const QString& second)
{
#ifdef Q_OS_WIN
    const QString a = QFileInfo(first).canonicalFilePath();
    return !a.isEmpty() && a.compare(QFileInfo(second).canonicalFilePath(), Qt::CaseInsensitive) == 0;
#else
    struct stat a { };
    struct stat b { };
    if (::stat(QFile::encodeName(first).constData(), &a) != 0 ||
        ::stat(QFile::encodeName(second).constData(), &b) != 0)
        return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
#endif
}
