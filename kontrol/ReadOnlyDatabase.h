#pragma once

#include "DatabaseCopy.h"

#include "ClientLibrary.h"
#include "Connection.h"
#include "SqlDescriptorArea.h"
#include "Transaction.h"

#include <QString>
#include <functional>
#include <memory>

namespace korvat::kontrol {

// One database of a check, attached as the window program attaches it (same
// user, character set NONE) and read in a single read-only snapshot
// transaction, so every table is read as of one moment. It is never written.
class ReadOnlyDatabase {
public:
    // `role` names the database in messages ("Kaynak", "Hedef"). Throws
    // KontrolError when it cannot be attached.
    ReadOnlyDatabase(std::shared_ptr<ClientLibrary> client, const QString& databaseName, QString role);

    const QString& name() const { return m_name; }
    const QString& role() const { return m_role; }

    // Runs a select over `table`, handing every fetched row to `row`. A table
    // or column the database lacks, like any failure, throws KontrolError.
    void select(const QString& table, const QString& sql,
                const std::function<void(const SqlDescriptorArea&)>& row);

private:
    QString withOriginalName(QString message) const;

    QString m_name;
    QString m_role;
    DatabaseCopy m_copy;
    Connection m_connection;
    Transaction m_transaction;
};

}  // namespace korvat::kontrol
