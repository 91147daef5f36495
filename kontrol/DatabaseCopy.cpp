#include "DatabaseCopy.h"

#include "Connection.h"
#include "KontrolError.h"

#include <QFile>
#include <QFileInfo>

#include <sys/file.h>
#include <unistd.h>

namespace korvat::kontrol {

namespace {

// An engine that has the file open holds a lock on it; while this process
// holds a shared lock instead, no engine opens it for writing.
class FileLock {
public:
    explicit FileLock(const QString& path) : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY))
    {
        m_locked = m_fd >= 0 && ::flock(m_fd, LOCK_SH | LOCK_NB) == 0;
    }
    ~FileLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);  // releases the lock too
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool locked() const { return m_locked; }

private:
    int m_fd;
    bool m_locked = false;
};

}  // namespace

DatabaseCopy::DatabaseCopy(const QString& databaseName) : m_attachName(databaseName)
{
    if (!isLocalDatabaseName(databaseName))
        return;
    const QFileInfo file(databaseName);
    if (!file.exists())
        throw KontrolError(QStringLiteral("Dosya bulunamadı: %1").arg(databaseName));
    if (!file.isFile() || !file.isReadable())
        throw KontrolError(QStringLiteral("Dosya okunamıyor: %1").arg(databaseName));

    const FileLock lock(databaseName);
    if (!lock.locked())
        return;  // held open by a server: read through it
    auto folder = std::make_unique<QTemporaryDir>();
    const QString copy = folder->filePath(QStringLiteral("KONTROL.FDB"));
    if (!folder->isValid() || !QFile::copy(databaseName, copy))
        throw KontrolError(QStringLiteral("Dosyanın okuma kopyası alınamadı: %1 (geçici klasör: %2)")
                               .arg(databaseName, folder->path()));
    // The copy keeps the original's mode; the engine opens it for writing.
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    m_folder = std::move(folder);
    m_attachName = copy;
    m_isCopy = true;
}

void DatabaseCopy::removeName()
{
    m_folder.reset();
}

}  // namespace korvat::kontrol
