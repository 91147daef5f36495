#include "RawClient.h"

#include <QFile>

#include <cstring>
#include <stdexcept>
#include <string>

namespace bench {

void check(const ClientLibrary& client, const ISC_STATUS* status, const char* what)
{
    if (status[0] != 1 || status[1] == 0)
        return;
    std::string message = what;
    char line[1024];
    const ISC_STATUS* cursor = status;
    while (client.fb_interpret(line, sizeof line, &cursor) > 0)
        message += std::string(": ") + line;
    throw std::runtime_error(message);
}

namespace {

void appendItem(QByteArray& block, char item, const QByteArray& value)
{
    block.append(item);
    block.append(char(value.size()));
    block.append(value);
}

}  // namespace

Attachment::Attachment(const ClientLibrary& client, const QString& name, const QByteArray& user,
                       const QByteArray& password)
    : m_client(client)
{
    QByteArray dpb(1, char(isc_dpb_version1));
    appendItem(dpb, isc_dpb_user_name, user);
    appendItem(dpb, isc_dpb_password, password);
    const QByteArray file = QFile::encodeName(name);
    ISC_STATUS_ARRAY status;
    m_client.isc_attach_database(status, short(file.size()), file.constData(), &m_handle, short(dpb.size()),
                                 dpb.constData());
    check(m_client, status, "attach");
}

Attachment::~Attachment()
{
    ISC_STATUS_ARRAY status;
    if (m_handle)
        m_client.isc_detach_database(status, &m_handle);
}

Transaction::Transaction(Attachment& attachment, Access access) : m_client(attachment.client())
{
    const char tpb[] = {isc_tpb_version3, char(access == Access::ReadOnly ? isc_tpb_read : isc_tpb_write),
                        isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_nowait};
    ISC_STATUS_ARRAY status;
    // One (attachment, parameter block) element, as the library reads it.
    struct {
        isc_db_handle* database;
        int blockLength;
        const char* block;
    } element{attachment.handle(), int(sizeof tpb), tpb};
    m_client.isc_start_multiple(status, &m_handle, 1, &element);
    check(m_client, status, "start transaction");
}

Transaction::~Transaction()
{
    ISC_STATUS_ARRAY status;
    if (m_handle)
        m_client.isc_rollback_transaction(status, &m_handle);
}

void Transaction::commitRetaining()
{
    ISC_STATUS_ARRAY status;
    m_client.isc_commit_retaining(status, &m_handle);
    check(m_client, status, "commit retaining");
}

void Transaction::commit()
{
    ISC_STATUS_ARRAY status;
    m_client.isc_commit_transaction(status, &m_handle);
    check(m_client, status, "commit");
}

Statement::Statement(Attachment& attachment) : m_client(attachment.client())
{
    ISC_STATUS_ARRAY status;
    m_client.isc_dsql_alloc_statement2(status, attachment.handle(), &m_handle);
    check(m_client, status, "allocate statement");
}

Statement::~Statement()
{
    ISC_STATUS_ARRAY status;
    if (m_handle)
        m_client.isc_dsql_free_statement(status, &m_handle, DSQL_drop);
}

void Statement::prepare(Transaction& transaction, const QByteArray& sql, DescriptorArea* output)
{
    ISC_STATUS_ARRAY status;
    m_client.isc_dsql_prepare(status, transaction.handle(), &m_handle, 0, sql.constData(), SQL_DIALECT_V6,
                              output ? output->sqlda() : nullptr);
    check(m_client, status, "prepare");
    if (output && output->needsMoreRoom()) {
        output->reserve(output->count());
        m_client.isc_dsql_describe(status, &m_handle, SQLDA_VERSION1, output->sqlda());
        check(m_client, status, "describe");
    }
    if (output)
        output->bindBuffers();
}

void Statement::describeParameters(DescriptorArea& input)
{
    ISC_STATUS_ARRAY status;
    m_client.isc_dsql_describe_bind(status, &m_handle, SQLDA_VERSION1, input.sqlda());
    check(m_client, status, "describe parameters");
    if (input.needsMoreRoom()) {
        input.reserve(input.count());
        m_client.isc_dsql_describe_bind(status, &m_handle, SQLDA_VERSION1, input.sqlda());
        check(m_client, status, "describe parameters");
    }
    input.bindBuffers();
}

void Statement::execute(Transaction& transaction, DescriptorArea* input)
{
    ISC_STATUS_ARRAY status;
    m_client.isc_dsql_execute(status, transaction.handle(), &m_handle, SQLDA_VERSION1,
                              input ? input->sqlda() : nullptr);
    check(m_client, status, "execute");
}

bool Statement::fetch(DescriptorArea& output)
{
    ISC_STATUS_ARRAY status;
    const ISC_STATUS result = m_client.isc_dsql_fetch(status, &m_handle, SQLDA_VERSION1, output.sqlda());
    if (result == 100)
        return false;
    check(m_client, status, "fetch");
    return true;
}

void Statement::close()
{
    ISC_STATUS_ARRAY status;
    m_client.isc_dsql_free_statement(status, &m_handle, DSQL_close);
    check(m_client, status, "close");
}

}  // namespace bench
