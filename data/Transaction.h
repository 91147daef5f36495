#pragma once

#include "ClientLibrary.h"
#include "DatabaseHandles.h"
#include "DatabaseUser.h"
#include "ParameterList.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <exception>
#include <memory>
#include <vector>

namespace korvat {

class Connection;

enum class TransactionAction {
    Commit,
    CommitRetaining,
    Rollback,
    RollbackRetaining
};

// A transaction over one or more connections (`IBTransaction1`, or the source
// connection's built-in read transaction).
class Transaction {
public:
    Transaction(QString objectName, std::shared_ptr<ClientLibrary> client);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    const QString& objectName() const { return m_objectName; }

    const QStringList& params() const { return m_params.lines(); }
    void setParams(const QStringList& params) { m_params.setLines(params); }
    // The block that the next start sends.
    const QByteArray& parameterBlock() { return m_params.block(); }

    TransactionAction defaultAction() const { return m_defaultAction; }
    void setDefaultAction(TransactionAction action) { m_defaultAction = action; }

    void addDatabase(Connection* connection);
    // For a connection that goes first.
    void removeDatabase(Connection* connection) { m_databases.remove(connection); }
    const std::vector<Connection*>& databases() const { return m_databases.members(); }

    // The data sets and statements closed when the transaction ends.
    DatabaseUsers& users() { return m_users; }

    bool inTransaction() const { return m_handle.isSet(); }
    void setActive(bool active);
    void start();
    void commit();
    void commitRetaining();
    void rollback();

    // Ends an active transaction by its default action, forced: a commit that
    // fails is rolled back and the transaction ends either way. The commit's
    // error is returned, not thrown, so the caller can finish its own work first.
    std::exception_ptr endByDefaultAction() noexcept;

    // The connection to the server is gone: forgets the handle without calls.
    void dropLostHandle() noexcept;

    isc_tr_handle* handle() { return m_handle.address(); }
    ClientLibrary& client() const { return *m_client; }

    // Runs the client's verdict on a call made for this transaction; a lost
    // connection closes the transaction's connections before the error leaves.
    void check(const ISC_STATUS* status);

private:
    void requireActive() const;
    void end(TransactionAction action);

    QString m_objectName;
    std::shared_ptr<ClientLibrary> m_client;
    ParameterList m_params;
    TransactionAction m_defaultAction = TransactionAction::Commit;
    MemberList<Connection> m_databases;
    DatabaseUsers m_users;
    TransactionHandle m_handle;
};

}  // namespace korvat
