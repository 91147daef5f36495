#include "ReadOnlyDatabase.h"

#include "KontrolError.h"

#include "Errors.h"
#include "Statement.h"
#include "u_dm.h"

namespace korvat::kontrol {

namespace {

// The window program's user; texts cross as code page bytes (NONE).
const QStringList connectionParams = {QStringLiteral("user_name=SYSDBA"),
                                      QStringLiteral("password=quietbolt")};
// One snapshot for every table, read-only, never waiting on a lock.
const QStringList snapshotParams = {QStringLiteral("concurrency"), QStringLiteral("nowait"),
                                    QStringLiteral("read")};

constexpr long unknownTableSqlCode = -204;
constexpr long unknownColumnSqlCode = -206;

}  // namespace

ReadOnlyDatabase::ReadOnlyDatabase(std::shared_ptr<ClientLibrary> client, const QString& databaseName,
                                   QString role)
    : m_name(databaseName),
      m_role(std::move(role)),
      m_copy(databaseName),
      m_connection(QStringLiteral("Kontrol") + m_role, client, m_copy.attachName()),
      m_transaction(QStringLiteral("Kontrol") + m_role + QStringLiteral("Okuma"), client)
{
    m_connection.setParams(connectionParams);
    m_connection.setLocalServerPort(TdmSettings::configuredLocalServerPort());
    m_transaction.setParams(snapshotParams);
    m_transaction.setDefaultAction(TransactionAction::Rollback);
    m_transaction.addDatabase(&m_connection);
    try {
        m_connection.open();
        m_copy.removeName();
        m_transaction.start();
    } catch (const FileInUseError&) {
        // The engine's own words ("incompatible with current") tell an
        // operator nothing; the file is simply in use elsewhere.
        throw KontrolError(
            QStringLiteral("%1 veritabanı açılamadı: %2\n"
                           "Dosya bu bilgisayarda başka bir programda açık (örneğin Korvat Devir "
                           "penceresinde). O programı kapatıp kontrolü yeniden çalıştırın.")
                .arg(m_role, m_name));
    } catch (const DataError& error) {
        throw KontrolError(QStringLiteral("%1 veritabanı açılamadı: %2\n%3")
                               .arg(m_role, m_name, withOriginalName(error.message())));
    }
}

void ReadOnlyDatabase::select(const QString& table, const QString& sql,
                              const std::function<void(const SqlDescriptorArea&)>& row)
{
    try {
        Statement statement(m_connection, m_transaction);
        statement.prepare(sql);
        statement.execute();
        while (statement.fetch())
            row(statement.output());
        statement.closeCursor();
    } catch (const ServerError& error) {
        if (error.sqlCode() == unknownTableSqlCode || error.sqlCode() == unknownColumnSqlCode)
            throw KontrolError(
                QStringLiteral("%1 veritabanında %2 tablosu ya da gereken bir sütunu yok: %3\n%4")
                    .arg(m_role, table, m_name, withOriginalName(error.message())));
        throw KontrolError(QStringLiteral("%1 veritabanından %2 okunamadı: %3\n%4")
                               .arg(m_role, table, m_name, withOriginalName(error.message())));
    } catch (const DataError& error) {
        throw KontrolError(QStringLiteral("%1 veritabanından %2 okunamadı: %3\n%4")
                               .arg(m_role, table, m_name, withOriginalName(error.message())));
    }
}

QString ReadOnlyDatabase::withOriginalName(QString message) const
{
    if (m_copy.isCopy())
        message.replace(m_copy.attachName(), m_name);
    return message;
}

}  // namespace korvat::kontrol
