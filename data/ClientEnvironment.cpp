#include "ClientEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include "ProcessLocale.h"

#include <unistd.h>
#endif

namespace korvat {

QString chooseEmbeddedLockFolder(const QString& defaultFolder, const QString& privateFolder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(defaultFolder);
    Q_UNUSED(privateFolder);
    return {};
#else
    if (qEnvironmentVariableIsSet("FIREBIRD_LOCK"))
        return {};
    const auto mayUse = [](const QString& path, int mode) {
        return ::access(QFile::encodeName(path).constData(), mode) == 0;
    };
    const QFileInfo folder(defaultFolder);
    if (!folder.exists())
        return mayUse(folder.absolutePath(), W_OK | X_OK) ? QString() : privateFolder;
    // The engine must create files there and open those another user left.
    if (!folder.isDir() || !mayUse(defaultFolder, W_OK | X_OK))
        return privateFolder;
    const QFileInfoList entries =
        QDir(defaultFolder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : entries)
        if (!mayUse(entry.absoluteFilePath(), R_OK | W_OK))
            return privateFolder;
    return {};
#endif
}

namespace {

void useWritableLockFolder()
{
#ifndef Q_OS_WIN
    const QString privateFolder =
        QDir::tempPath() + QStringLiteral("/firebird-") + QString::number(::getuid());
    const QString chosen = chooseEmbeddedLockFolder(QStringLiteral("/tmp/firebird"), privateFolder);
    if (chosen.isEmpty())
        return;
    QDir().mkpath(chosen);
    QFile::setPermissions(chosen, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("FIREBIRD_LOCK", QFile::encodeName(chosen));
#endif
}

}  // namespace

void prepareClientEnvironment()
{
    useWritableLockFolder();
#ifndef Q_OS_WIN
    useClientLibraryLocale();
#endif
}

}  // namespace korvat
