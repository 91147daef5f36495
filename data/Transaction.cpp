#include "Transaction.h"

#include "Connection.h"
#include "DatabaseUser.h"
#include "Errors.h"
#include "ParameterBlocks.h"

#include <algorithm>

namespace korvat {

namespace {

// One (connection, block) pair of a start, laid out as the client library
// reads it.
struct TransactionElement {
    isc_db_handle* database;
    int blockLength;
    const char* block;
};

template <typename T>
void removeOne(std::vector<T*>& list, T* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}  // namespace

Transaction::Transaction(QString objectName, std::shared_ptr<ClientLibrary> client)
    : m_objectName(std::move(objectName)), m_client(client), m_handle(std::move(client))
{
}

Transaction::~Transaction()
{
    if (inTransaction())
        endByDefaultAction();
    for (Connection* connection : std::vector<Connection*>(m_databases))
        connection->removeTransaction(this);
}

void Transaction::setParams(const QStringList& params)
{
    if (params == m_params)
        return;
    m_params = params;
    m_parameterBlockStale = true;
}

const QByteArray& Transaction::parameterBlock()
{
    if (m_parameterBlockStale) {
        m_parameterBlock = buildTransactionParameterBlock(m_params);
        m_parameterBlockStale = false;
    }
    return m_parameterBlock;
}

void Transaction::addDatabase(Connection* connection)
{
    if (std::find(m_databases.begin(), m_databases.end(), connection) != m_databases.end())
        return;
    m_databases.push_back(connection);
    connection->addTransaction(this);
}

void Transaction::removeDatabase(Connection* connection)
{
    removeOne(m_databases, connection);
}

void Transaction::addUser(DatabaseUser* user)
{
    if (std::find(m_users.begin(), m_users.end(), user) == m_users.end())
        m_users.push_back(user);
}

void Transaction::removeUser(DatabaseUser* user)
{
    removeOne(m_users, user);
}

void Transaction::setActive(bool active)
{
    if (active && !inTransaction())
        start();
    else if (!active && inTransaction())
        rollback();
}

void Transaction::start()
{
    if (inTransaction())
        throw LayerError(QStringLiteral("Transaction is active"));
    if (m_databases.empty())
        throw LayerError(QStringLiteral("No databases are listed in transaction component"));
    for (Connection* connection : m_databases)
        if (!connection->connected())
            throw LayerError(QStringLiteral("Cannot perform operation -- DB is not open"));

    const QByteArray& block = parameterBlock();
    std::vector<TransactionElement> elements;
    elements.reserve(m_databases.size());
    for (Connection* connection : m_databases)
        elements.push_back({connection->handle(), int(block.size()), block.constData()});

    StatusVector status;
    m_client->isc_start_multiple(status.get(), m_handle.address(), short(elements.size()),
                                 elements.data());
    if (status.failed())
        m_handle.forget();
    check(status.get());
}

void Transaction::requireActive() const
{
    if (!inTransaction())
        throw LayerError(QStringLiteral("Transaction is not active"));
}

void Transaction::commitRetaining()
{
    requireActive();
    StatusVector status;
    m_client->isc_commit_retaining(status.get(), m_handle.address());
    check(status.get());
}

void Transaction::commit()
{
    end(TransactionAction::Commit);
}

void Transaction::rollback()
{
    end(TransactionAction::Rollback);
}

void Transaction::end(TransactionAction action)
{
    requireActive();
    closeUsers();
    StatusVector status;
    if (action == TransactionAction::Commit)
        m_client->isc_commit_transaction(status.get(), m_handle.address());
    else
        m_client->isc_rollback_transaction(status.get(), m_handle.address());
    check(status.get());
    m_handle.forget();  // the client freed it with the successful end
}

std::exception_ptr Transaction::endByDefaultAction() noexcept
{
    if (!inTransaction())
        return {};
    closeUsers();
    const bool commits = m_defaultAction == TransactionAction::Commit
                         || m_defaultAction == TransactionAction::CommitRetaining;
    std::exception_ptr failure;
    if (commits) {
        StatusVector status;
        m_client->isc_commit_transaction(status.get(), m_handle.address());
        if (!status.failed()) {
            m_handle.forget();
            return {};
        }
        try {
            check(status.get());
        } catch (...) {
            failure = std::current_exception();
        }
    }
    // Rolled back when the default action says so or the commit failed; either
    // way the transaction ends here.
    m_handle.reset();
    return failure;
}

void Transaction::dropLostHandle() noexcept
{
    if (!inTransaction())
        return;
    closeUsers();
    m_handle.abandon();
}

void Transaction::closeUsers() noexcept
{
    for (DatabaseUser* user : std::vector<DatabaseUser*>(m_users))
        user->closeForEnd();
}

void Transaction::check(const ISC_STATUS* status)
{
    try {
        m_client->check(status);
    } catch (const ConnectionLostError&) {
        for (Connection* connection : std::vector<Connection*>(m_databases))
            connection->forceClose();
        throw;
    }
}

}  // namespace korvat
