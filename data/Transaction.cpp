#include "Transaction.h"

#include "Connection.h"
#include "Errors.h"
#include "ParameterBlocks.h"

namespace korvat {

namespace {

// One (connection, block) pair of a start, laid out as the client library
// reads it.
struct TransactionElement {
    isc_db_handle* database;
    int blockLength;
    const char* block;
};

}  // namespace

Transaction::Transaction(QString objectName, std::shared_ptr<ClientLibrary> client)
    : m_objectName(std::move(objectName)),
      m_client(client),
      m_params(buildTransactionParameterBlock),
      m_handle(std::move(client))
{
}

Transaction::~Transaction()
{
    if (inTransaction())
        endByDefaultAction();
    m_databases.tellEach([this](Connection& connection) { connection.removeTransaction(this); });
}

void Transaction::addDatabase(Connection* connection)
{
    m_databases.add(connection);
    connection->addTransaction(this);
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
    if (databases().empty())
        throw LayerError(QStringLiteral("No databases are listed in transaction component"));
    for (Connection* connection : databases())
        if (!connection->connected())
            throw LayerError(QStringLiteral("Cannot perform operation -- DB is not open"));

    const QByteArray& block = parameterBlock();
    std::vector<TransactionElement> elements;
    elements.reserve(databases().size());
    for (Connection* connection : databases())
        elements.push_back({connection->handle(), int(block.size()), block.constData()});

    StatusVector status;
    m_client->isc_start_multiple(status.get(), m_handle.address(), short(elements.size()), elements.data());
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
    closeAll(m_users);
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
    closeAll(m_users);
    const bool commits =
        m_defaultAction == TransactionAction::Commit || m_defaultAction == TransactionAction::CommitRetaining;
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
    closeAll(m_users);
    m_handle.abandon();
}

void Transaction::check(const ISC_STATUS* status)
{
    try {
        m_client->check(status);
    } catch (const ConnectionLostError&) {
        m_databases.tellEach([](Connection& connection) { connection.forceClose(); });
        throw;
    }
}

}  // namespace korvat
