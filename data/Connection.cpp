#include "Connection.h"

#include <QFileInfo>

#include "DatabaseUser.h"
#include "Errors.h"
#include "ParameterBlocks.h"

#include <algorithm>

namespace korvat {

namespace {

// The same file through the Firebird server on this machine.
QString localServerName(const QString& path, int port)
{
    return QStringLiteral("localhost/%1:%2").arg(port).arg(QFileInfo(path).absoluteFilePath());
}

const QStringList readTransactionParams = {QStringLiteral("read_committed"),
                                           QStringLiteral("rec_version"),
                                           QStringLiteral("nowait"), QStringLiteral("read")};

LayerError databaseIsOpen()
{
    return LayerError(QStringLiteral("Cannot perform operation -- DB is currently open"));
}

template <typename T>
void removeOne(std::vector<T*>& list, T* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}  // namespace

bool isLocalDatabaseName(const QString& name)
{
    return name.startsWith(QLatin1Char('/')) || !name.contains(QLatin1Char(':'));
}

Connection::Connection(QString objectName, std::shared_ptr<ClientLibrary> client,
                       QString databaseName)
    : m_objectName(std::move(objectName)),
      m_client(client),
      m_databaseName(std::move(databaseName)),
      m_internalTransaction(m_objectName + QStringLiteral("InternalTransaction"), client),
      m_attachment(client)
{
    m_internalTransaction.setParams(readTransactionParams);
    m_internalTransaction.addDatabase(this);
}

Connection::~Connection()
{
    // Quietly: a destructor reports nothing. Orderly shutdown goes through close().
    for (DatabaseUser* user : std::vector<DatabaseUser*>(m_users))
        user->closeForEnd();
    for (Transaction* transaction : std::vector<Transaction*>(m_transactions))
        transaction->endByDefaultAction();
    m_attachment.reset();
    for (Transaction* transaction : std::vector<Transaction*>(m_transactions))
        transaction->removeDatabase(this);
}

void Connection::setDatabaseName(const QString& name)
{
    if (name == m_databaseName)
        return;
    if (connected())
        throw databaseIsOpen();
    m_databaseName = name;
}

void Connection::setParams(const QStringList& params)
{
    if (params == m_params)
        return;
    m_params = params;
    m_parameterBlockStale = true;
}

const QByteArray& Connection::parameterBlock()
{
    if (m_parameterBlockStale) {
        m_parameterBlock = buildDatabaseParameterBlock(m_params);
        m_parameterBlockStale = false;
    }
    return m_parameterBlock;
}

void Connection::setConnected(bool connected)
{
    if (connected)
        open();
    else
        close();
}

void Connection::open()
{
    if (connected())
        throw databaseIsOpen();
    if (m_databaseName.isEmpty())
        throw LayerError(QStringLiteral("Database name is missing"));

    StatusVector status;
    if (!tryAttach(m_databaseName, status) && !attachThroughLocalServer(status))
        m_client->check(status.get());

    try {
        m_databaseSqlDialect = readDatabaseSqlDialect();
    } catch (...) {
        forceClose();
        throw;
    }
    m_sqlDialect = std::min(preferredSqlDialect, m_databaseSqlDialect);
}

bool Connection::tryAttach(const QString& name, StatusVector& status)
{
    const QByteArray& block = parameterBlock();
    const QByteArray encoded = encodeDatabaseName(name);
    m_client->isc_attach_database(status.get(), short(encoded.size()), encoded.constData(),
                                  m_attachment.address(), short(block.size()), block.constData());
    if (!status.failed())
        return true;
    m_attachment.forget();
    return false;
}

bool Connection::attachThroughLocalServer(StatusVector& status)
{
    if (!ClientLibrary::statusContains(status.get(), isc_already_opened) || !isLocalDatabaseName(m_databaseName))
        return false;
    StatusVector throughServer;
    if (tryAttach(localServerName(m_databaseName, m_localServerPort), throughServer))
        return true;
    // Where no server answers, the embedded engine's own error says more.
    if (!ClientLibrary::statusContains(throughServer.get(), isc_network_error))
        status = throughServer;
    return false;
}

int Connection::readDatabaseSqlDialect()
{
    const char items[] = {isc_info_db_sql_dialect, isc_info_end};
    char reply[32] = {};
    StatusVector status;
    m_client->isc_database_info(status.get(), m_attachment.address(), short(sizeof items), items,
                                short(sizeof reply), reply);
    check(status.get());

    // A database that does not answer the item predates dialects: dialect 1.
    return int(ClientLibrary::infoValue(QByteArrayView(reply, sizeof reply), isc_info_db_sql_dialect).value_or(1));
}

void Connection::close()
{
    if (!connected())
        return;

    for (DatabaseUser* user : std::vector<DatabaseUser*>(m_users))
        user->closeForEnd();

    std::exception_ptr failedCommit;
    for (Transaction* transaction : std::vector<Transaction*>(m_transactions)) {
        std::exception_ptr failure = transaction->endByDefaultAction();
        if (!failedCommit)
            failedCommit = failure;
    }

    // A lost connection may already have been closed by the failed commit.
    if (connected()) {
        StatusVector status;
        m_client->isc_detach_database(status.get(), m_attachment.address());
        if (status.failed()) {
            try {
                check(status.get());
            } catch (...) {
                if (connected())
                    throw;  // still attached: the server refused the detach
            }
        }
        m_attachment.forget();
    }

    if (failedCommit)
        std::rethrow_exception(failedCommit);
}

void Connection::setDefaultTransaction(Transaction* transaction)
{
    m_defaultTransaction = transaction;
    if (transaction)
        transaction->addDatabase(this);
}

Transaction& Connection::transactionForUsers()
{
    return m_defaultTransaction ? *m_defaultTransaction : m_internalTransaction;
}

void Connection::addTransaction(Transaction* transaction)
{
    if (std::find(m_transactions.begin(), m_transactions.end(), transaction) == m_transactions.end())
        m_transactions.push_back(transaction);
}

void Connection::removeTransaction(Transaction* transaction)
{
    removeOne(m_transactions, transaction);
    if (m_defaultTransaction == transaction)
        m_defaultTransaction = nullptr;
}

void Connection::addUser(DatabaseUser* user)
{
    if (std::find(m_users.begin(), m_users.end(), user) == m_users.end())
        m_users.push_back(user);
}

void Connection::removeUser(DatabaseUser* user)
{
    removeOne(m_users, user);
}

void Connection::check(const ISC_STATUS* status)
{
    try {
        m_client->check(status);
    } catch (const ConnectionLostError&) {
        forceClose();
        throw;
    }
}

void Connection::forceClose() noexcept
{
    for (DatabaseUser* user : std::vector<DatabaseUser*>(m_users))
        user->closeForEnd();
    for (Transaction* transaction : std::vector<Transaction*>(m_transactions))
        transaction->dropLostHandle();
    // Frees the client's side of the attachment; the server is not reached.
    m_attachment.reset();
}

}  // namespace korvat
