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

// Variables are laid out on 8-byte boundaries, so doubles and 64-bit
// integers can be read in place.
std::size_t storageSize(const XSQLVAR& var)
{
    std::size_t size = std::size_t(var.sqllen) + ((var.sqltype & ~1) == SQL_VARYING ? 2 : 0);
    return (size + 7) & ~std::size_t(7);
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
    const char tpb[] = {isc_tpb_version3,
                        char(access == Access::ReadOnly ? isc_tpb_read : isc_tpb_write),
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

Sqlda::Sqlda(short capacity)
{
    reserve(capacity);
}

void Sqlda::reserve(short capacity)
{
    m_descriptor.assign(XSQLDA_LENGTH(capacity), std::byte{0});
    get()->version = SQLDA_VERSION1;
    get()->sqln = capacity;
}

void Sqlda::allocateBuffers()
{
    const short n = count();
    std::size_t total = 0;
    for (short i = 0; i < n; ++i)
        total += storageSize(var(i));
    m_data.assign(total, std::byte{0});
    m_nulls.assign(std::size_t(n), 0);
    std::size_t offset = 0;
    for (short i = 0; i < n; ++i) {
        XSQLVAR& v = var(i);
        v.sqldata = reinterpret_cast<ISC_SCHAR*>(m_data.data() + offset);
        v.sqlind = &m_nulls[std::size_t(i)];
        v.sqltype |= 1;
        offset += storageSize(v);
    }
}

void Sqlda::setInteger(int index, qint64 value)
{
    XSQLVAR& v = var(index);
    *v.sqlind = 0;
    switch (v.sqltype & ~1) {
    case SQL_SHORT: *reinterpret_cast<ISC_SHORT*>(v.sqldata) = ISC_SHORT(value); break;
    case SQL_LONG: *reinterpret_cast<ISC_LONG*>(v.sqldata) = ISC_LONG(value); break;
    case SQL_INT64: *reinterpret_cast<ISC_INT64*>(v.sqldata) = value; break;
    default: throw std::logic_error("not an integer variable");
    }
}

void Sqlda::setDouble(int index, double value)
{
    XSQLVAR& v = var(index);
    if ((v.sqltype & ~1) != SQL_DOUBLE)
        throw std::logic_error("not a double variable");
    *v.sqlind = 0;
    *reinterpret_cast<double*>(v.sqldata) = value;
}

void Sqlda::setText(int index, const QByteArray& bytes)
{
    XSQLVAR& v = var(index);
    if ((v.sqltype & ~1) != SQL_VARYING || bytes.size() > v.sqllen)
        throw std::logic_error("text does not fit its variable");
    *v.sqlind = 0;
    const auto length = ISC_USHORT(bytes.size());
    std::memcpy(v.sqldata, &length, sizeof length);
    std::memcpy(v.sqldata + sizeof length, bytes.constData(), std::size_t(bytes.size()));
}

void Sqlda::setTimestamp(int index, const ISC_TIMESTAMP& value)
{
    XSQLVAR& v = var(index);
    if ((v.sqltype & ~1) != SQL_TIMESTAMP)
        throw std::logic_error("not a timestamp variable");
    *v.sqlind = 0;
    std::memcpy(v.sqldata, &value, sizeof value);
}

double Sqlda::doubleAt(int index)
{
    XSQLVAR& v = var(index);
    if ((v.sqltype & ~1) != SQL_DOUBLE)
        throw std::logic_error("not a double variable");
    return *v.sqlind < 0 ? 0.0 : *reinterpret_cast<const double*>(v.sqldata);
}

qint64 Sqlda::integerAt(int index)
{
    XSQLVAR& v = var(index);
    if (*v.sqlind < 0)
        return 0;
    switch (v.sqltype & ~1) {
    case SQL_SHORT: return *reinterpret_cast<const ISC_SHORT*>(v.sqldata);
    case SQL_LONG: return *reinterpret_cast<const ISC_LONG*>(v.sqldata);
    case SQL_INT64: return *reinterpret_cast<const ISC_INT64*>(v.sqldata);
    default: throw std::logic_error("not an integer variable");
    }
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

void Statement::prepare(Transaction& transaction, const QByteArray& sql, Sqlda* output)
{
    ISC_STATUS_ARRAY status;
    m_client.isc_dsql_prepare(status, transaction.handle(), &m_handle, 0, sql.constData(), SQL_DIALECT_V6,
                     output ? output->get() : nullptr);
    check(m_client, status, "prepare");
    if (output && output->count() > output->get()->sqln) {
        output->reserve(output->count());
        m_client.isc_dsql_describe(status, &m_handle, SQLDA_VERSION1, output->get());
        check(m_client, status, "describe");
    }
    if (output)
        output->allocateBuffers();
}

void Statement::describeParameters(Sqlda& input)
{
    ISC_STATUS_ARRAY status;
    m_client.isc_dsql_describe_bind(status, &m_handle, SQLDA_VERSION1, input.get());
    check(m_client, status, "describe parameters");
    if (input.count() > input.get()->sqln) {
        input.reserve(input.count());
        m_client.isc_dsql_describe_bind(status, &m_handle, SQLDA_VERSION1, input.get());
        check(m_client, status, "describe parameters");
    }
    input.allocateBuffers();
}

void Statement::execute(Transaction& transaction, Sqlda* input)
{
    ISC_STATUS_ARRAY status;
    m_client.isc_dsql_execute(status, transaction.handle(), &m_handle, SQLDA_VERSION1, input ? input->get() : nullptr);
    check(m_client, status, "execute");
}

bool Statement::fetch(Sqlda& output)
{
    ISC_STATUS_ARRAY status;
    const ISC_STATUS result = m_client.isc_dsql_fetch(status, &m_handle, SQLDA_VERSION1, output.get());
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
