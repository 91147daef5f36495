#include "TargetBackup.h"

#include "Connection.h"
#include "DatabaseBackup.h"
#include "Errors.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

korvat::LayerError backupFailed(const QString& path, const QString& reason)
{
    return korvat::LayerError(QStringLiteral("Hedef veritabanının yedeği alınamadı: %1\n%2\n"
                                             "Hiçbir kayıt aktarılmadı.")
                                  .arg(path, reason));
}

}  // namespace

QString backupFilePath(const QString& folder, const QString& databaseName, const QDateTime& now)
{
    // A server's "host/port:path" names its file after the last colon.
    const QString file =
        QFileInfo(databaseName.mid(databaseName.lastIndexOf(QLatin1Char(':')) + 1)).completeBaseName();
    const QString stem = QDir(folder).filePath(file + now.toString(QStringLiteral("-yyyyMMdd-HHmm")));
    QString path = stem + QStringLiteral(".fbk");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = stem + QStringLiteral("-%1.fbk").arg(n);
    return path;
}

QString TargetBackup::ensure(korvat::Connection& target, const QString& folder, const QDateTime& now)
{
    if (!target.connected() || target.attachmentNumber() == m_backedUpAttachment)
        return QString();
    const QString path = backupFilePath(folder, target.databaseName(), now);
    if (!QDir().mkpath(folder))
        throw backupFailed(path, QStringLiteral("Klasör oluşturulamadı: %1").arg(folder));
    // Written under a temporary name and renamed when whole: a failed
    // backup leaves no file that looks like one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw backupFailed(path, file.errorString());
    try {
        korvat::DatabaseBackup(target).writeTo(file);
    } catch (const korvat::DataError& error) {
        file.cancelWriting();
        throw backupFailed(path, error.message());
    }
    if (!file.commit())
        throw backupFailed(path, file.errorString());
    m_backedUpAttachment = target.attachmentNumber();
    return path;
}
