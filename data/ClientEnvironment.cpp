#include "ClientEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <clocale>
#include <cstring>
#include <langinfo.h>
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
    if (!QFileInfo::exists(defaultFolder))
        return {};  // the engine creates it itself
    const QByteArray path = QFile::encodeName(defaultFolder);
    if (::access(path.constData(), W_OK | X_OK) == 0)
        return {};
    return privateFolder;
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

void readFileNamesAsUtf8()
{
#ifndef Q_OS_WIN
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0)
        return;
    if (!std::setlocale(LC_CTYPE, ""))
        std::setlocale(LC_CTYPE, "C");
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
        std::setlocale(LC_CTYPE, "C.UTF-8");
#endif
}

}  // namespace

void prepareClientEnvironment()
{
    useWritableLockFolder();
    readFileNamesAsUtf8();
}

}  // namespace korvat
