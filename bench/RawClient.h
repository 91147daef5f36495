#pragma once

// Thin owners of client-library handles for the benchmark's own work:
// building source databases and the floor program, with the fixtures'
// descriptor areas. Nothing here converts values beyond what a caller asks
// for, so the floor pays only for the statements themselves.
#include "ClientLibrary.h"
#include "FixtureDescriptorArea.h"

#include <ibase.h>

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <vector>

namespace bench {

// Every call goes through the client library's table of entry points, as
// the data layer's do, so that both can be counted alike.
using korvat::ClientLibrary;
using korvat::test::DescriptorArea;

// Throws std::runtime_error with the server's message when the call failed.
void check(const ClientLibrary& client, const ISC_STATUS* status, const char* what);

class Attachment {
public:
    // A plain path (embedded engine) or "host/port:path"; connection
    // character set NONE, as the data layer attaches.
    Attachment(const ClientLibrary& client, const QString& name, const QByteArray& user,
               const QByteArray& password);
    ~Attachment();
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    isc_db_handle* handle() { return &m_handle; }
    const ClientLibrary& client() const { return m_client; }

private:
    const ClientLibrary& m_client;
    isc_db_handle m_handle = 0;
};

class Transaction {
public:
    enum class Access {
        ReadOnly,
        ReadWrite
    };
    // Read committed, record version, no wait: the data layer's parameters.
    Transaction(Attachment& attachment, Access access);
    ~Transaction();  // rolls back what was not committed
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commitRetaining();
    void commit();
    isc_tr_handle* handle() { return &m_handle; }

private:
    const ClientLibrary& m_client;
    isc_tr_handle m_handle = 0;
};

class Statement {
public:
    explicit Statement(Attachment& attachment);
    ~Statement();  // drops the handle
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Prepares (describing the output into `output` when given).
    void prepare(Transaction& transaction, const QByteArray& sql, DescriptorArea* output = nullptr);
    // Describes the input parameters and gives them storage.
    void describeParameters(DescriptorArea& input);
    void execute(Transaction& transaction, DescriptorArea* input = nullptr);
    bool fetch(DescriptorArea& output);
    void close();

private:
    const ClientLibrary& m_client;
    isc_stmt_handle m_handle = 0;
};

}  // namespace bench
