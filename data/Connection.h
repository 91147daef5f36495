#pragma once

#include "AnsiCodePage.h"
#include "CharacterSet.h"
#include "ClientLibrary.h"
#include "DatabaseHandles.h"
#include "DatabaseUser.h"
#include "ParameterList.h"
#include "StatementTypes.h"
#include "Transaction.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

namespace korvat {

// True for a file name the embedded engine opens itself, false for a
// server's "host:path" or "host/port:path".
bool isLocalDatabaseName(const QString& name);

// A connection to one database file (`IBDatabase1`, `IBDatabase2`).
class Connection {
public:
    static constexpr int preferredSqlDialect = 3;

    Connection(QString objectName, std::shared_ptr<ClientLibrary> client, QString databaseName);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const QString& objectName() const { return m_objectName; }

    const QString& databaseName() const { return m_databaseName; }
    // Only while detached; setting the name it already has changes nothing.
    void setDatabaseName(const QString& name);

    // The port of a Firebird server on this machine: a file that the server
    // holds open, which the embedded engine cannot open, is attached through it.
    int localServerPort() const { return m_localServerPort; }
    void setLocalServerPort(int port) { m_localServerPort = port; }

    const QStringList& params() const { return m_params.lines(); }
    void setParams(const QStringList& params) { m_params.setLines(params); }
    // The block that the next attach sends.
    const QByteArray& parameterBlock() { return m_params.block(); }

    bool connected() const { return m_attachment.isSet(); }
    // The name the connection attached by: the database name, or the local
    // server's name for it when the file was reached through that server.
    const QString& attachedName() const { return m_attachedName; }
    // A number of this attachment, new at every attach in the process: what
    // was done once per attachment (the target's backup) is told by it.
    quint64 attachmentNumber() const { return m_attachmentNumber; }
    void setConnected(bool connected);
    void open();
    // Closes every user, ends every transaction by its default action (forced)
    // and detaches. A forced commit that failed is raised once the connection
    // is detached, so nothing is left half-closed and the operator still hears of it.
    void close();

    // Dialect in which statements are prepared: 3, or the database's lower one.
    int sqlDialect() const { return m_sqlDialect; }
    int databaseSqlDialect() const { return m_databaseSqlDialect; }

    Transaction* defaultTransaction() const { return m_defaultTransaction; }
    void setDefaultTransaction(Transaction* transaction);
    // The built-in read transaction, for users that name no transaction while
    // the connection has no default one.
    Transaction& internalTransaction() { return m_internalTransaction; }
    // The transaction a user that names none works in.
    Transaction& transactionForUsers();

    // For the transaction, as it takes this connection in and as it goes.
    void addTransaction(Transaction* transaction) { m_transactions.add(transaction); }
    void removeTransaction(Transaction* transaction);
    // The data sets and statements closed when the connection ends.
    DatabaseUsers& users() { return m_users; }

    isc_db_handle* handle() { return m_attachment.address(); }
    ClientLibrary& client() const { return *m_client; }
    const std::shared_ptr<ClientLibrary>& sharedClient() const { return m_client; }
    AnsiCodePage& codePage() { return m_codePage; }
    // The database's default character set, read at attach. Texts themselves
    // cross in their columns' own sets; this one decides the bytes of a
    // statement's text (its literals).
    CharacterSet characterSet() const { return m_characterSet; }
    QByteArray encodeStatementText(const QString& text);
    StatementTypes& statementTypes() { return m_statementTypes; }

    // Runs the client's verdict on a call made on this connection; a lost
    // connection is closed at once, without further calls, before the error leaves.
    void check(const ISC_STATUS* status);

    // The server is gone: closes users, forgets transactions and the attachment.
    void forceClose() noexcept;

private:
    // Attaches by name; false with the failure in `status` otherwise.
    bool tryAttach(const QString& name, StatusVector& status);
    // A server on this machine that holds the file open keeps the embedded
    // engine out of it but can serve it itself; so can the server of an older
    // version for a file of its older on-disk structure. True once attached
    // so; otherwise `status` holds the error to report.
    bool attachThroughLocalServer(StatusVector& status);
    // Raises the failed attach's error, typed for a file of an older
    // structure and for one that another program holds open.
    [[noreturn]] void raiseAttachFailure(const ISC_STATUS* status);
    int readDatabaseSqlDialect();
    CharacterSet readDefaultCharacterSet();

    QString m_objectName;
    std::shared_ptr<ClientLibrary> m_client;
    QString m_databaseName;
    ParameterList m_params;
    int m_localServerPort = 3050;
    int m_sqlDialect = preferredSqlDialect;
    int m_databaseSqlDialect = preferredSqlDialect;
    Transaction* m_defaultTransaction = nullptr;
    Transaction m_internalTransaction;
    MemberList<Transaction> m_transactions;
    DatabaseUsers m_users;
    AnsiCodePage m_codePage;
    CharacterSet m_characterSet;
    StatementTypes m_statementTypes;
    QString m_attachedName;
    quint64 m_attachmentNumber = 0;
    AttachmentHandle m_attachment;
};

}  // namespace korvat
