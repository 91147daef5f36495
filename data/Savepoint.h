#pragma once

#include <QString>

namespace korvat {

class Connection;
class Transaction;

// A savepoint in an active transaction: what the transaction writes after it
// can be undone without touching what it wrote before. The transfers set one
// before their first row, so that a transfer that fails or is stopped leaves
// nothing of itself behind, pending or committed. A commit of the
// transaction releases it.
class Savepoint {
public:
    // Sets the savepoint (SAVEPOINT name) in the transaction.
    Savepoint(Connection& connection, Transaction& transaction, QString name);

    // Undoes everything the transaction wrote since the savepoint (ROLLBACK
    // TO SAVEPOINT name); the savepoint stays for a further undo.
    void rollBack();

private:
    void run(const QString& sql);

    Connection& m_connection;
    Transaction& m_transaction;
    QString m_name;
};

}  // namespace korvat
