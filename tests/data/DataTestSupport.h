#pragma once

// Small pieces shared by the data layer's tests: a target-like connection
// with its transaction, on a new target file if wanted, and a check of an
// error's exact message.

#include "ClientCallCounts.h"
#include "ClientLibrary.h"
#include "Connection.h"
#include "DatabaseUser.h"
#include "Errors.h"
#include "Statement.h"
#include "TestWorkspace.h"
#include "Transaction.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string_view>

namespace korvat::test {

inline const QStringList connectionParams = {u"user_name=SYSDBA"_s, u"password=quietbolt"_s};
inline const QStringList targetTransactionParams = {u"read_committed"_s, u"rec_version"_s, u"nowait"_s};

// The message of the error that an action raises, or "<no error>".
inline QString errorMessage(const std::function<void()>& action)
{
    try {
        action();
    } catch (const DataError& error) {
        return error.message();
    }
    return u"<no error>"_s;
}

// The calls counted so far to one entry point of the client library (counting
// is on for libraries loaded after client_calls::enable()).
inline quint64 callsTo(std::string_view entryPoint)
{
    for (const auto& [name, count] : client_calls::counts())
        if (name == entryPoint)
            return count;
    return 0;
}

// Counts how often a connection or transaction closed it, a user of it for
// as long as it lives.
struct RecordingUser : DatabaseUser {
    template <typename Owner> explicit RecordingUser(Owner& owner) : membership(owner.users(), *this) { }
    void closeForEnd() noexcept override { ++closes; }

    int closes = 0;
    Membership<DatabaseUser> membership;
};

// A connection and its default transaction, set up as the data module sets
// up the target, but not yet attached.
struct TargetSide {
    explicit TargetSide(const QString& databaseName)
        : client(ClientLibrary::load()),
          connection(std::make_unique<Connection>(u"IBDatabase2"_s, client, databaseName)),
          transaction(std::make_unique<Transaction>(u"IBTransaction1"_s, client))
    {
        connection->setParams(connectionParams);
        transaction->setParams(targetTransactionParams);
        connection->setDefaultTransaction(transaction.get());
    }
    ~TargetSide()
    {
        transaction.reset();
        connection.reset();
    }

    void openAndStart()
    {
        connection->open();
        transaction->start();
    }
    // Then group 1 inserted in the transaction, not yet committed.
    void openWithPendingGroup()
    {
        openAndStart();
        run(u"insert into T_GRUBU (GRUBU_ID) values (1)"_s);
    }

    // Runs one statement without parameters in the target transaction.
    void run(const QString& sql)
    {
        Statement statement(*connection, *transaction);
        statement.prepare(sql);
        statement.execute();
    }

    std::shared_ptr<ClientLibrary> client;
    std::unique_ptr<Connection> connection;
    std::unique_ptr<Transaction> transaction;
};

// A new target of the schema in a workspace of its own, and a TargetSide on
// it, not yet attached.
struct NewTarget : TestWorkspace, TargetSide {
    explicit NewTarget(const SchemaOptions& options = {}) : TargetSide(created(options)) { }

private:
    QString created(const SchemaOptions& options)
    {
        createTarget(options).detach();
        return targetPath;
    }
};

}  // namespace korvat::test
