#include "Statement.h"

#include "Connection.h"
#include "Transaction.h"

#include <algorithm>

namespace korvat {

Statement::Statement(Connection& connection, Transaction& transaction)
    : m_connection(connection), m_transaction(transaction), m_handle(connection.sharedClient())
{
}

void Statement::prepare(const QString& serverText)
{
    forgetPreparation();
    ClientLibrary& client = m_connection.client();
    StatusVector status;
    // A handle kept from an earlier text is prepared again as it is.
    if (!m_handle.isSet()) {
        client.isc_dsql_alloc_statement2(status.get(), m_connection.handle(), m_handle.address());
        m_connection.check(status.get());
    }

    const QByteArray text = m_connection.encodeStatementText(serverText);
    // Room kept from an earlier text saves describing a wide result twice.
    m_output.reset(std::max(16, m_output.capacity()));
    client.isc_dsql_prepare(status.get(), m_transaction.handle(), m_handle.address(),
                            static_cast<unsigned short>(text.size()), text.constData(),
                            static_cast<unsigned short>(m_connection.sqlDialect()), m_output.get());
    if (status.failed()) {
        m_handle.reset();
        m_transaction.check(status.get());
    }
    // Parameters are question marks: a text without one has none to describe.
    describe(text.contains('?'));
    m_select = readIsSelect(text);
    m_prepared = true;
}

void Statement::describe(bool mayHaveParameters)
{
    ClientLibrary& client = m_connection.client();
    StatusVector status;
    const unsigned short dialect = static_cast<unsigned short>(m_connection.sqlDialect());
    if (m_output.growToDescribed()) {
        client.isc_dsql_describe(status.get(), m_handle.address(), dialect, m_output.get());
        m_connection.check(status.get());
    }
    m_output.allocateDescribedBuffers();

    // Room for the usual number of parameters, kept from one text to the next.
    m_input.reset(mayHaveParameters ? std::max(16, m_input.capacity()) : 1);
    if (!mayHaveParameters)
        return;
    client.isc_dsql_describe_bind(status.get(), m_handle.address(), dialect, m_input.get());
    m_connection.check(status.get());
    if (m_input.growToDescribed()) {
        client.isc_dsql_describe_bind(status.get(), m_handle.address(), dialect, m_input.get());
        m_connection.check(status.get());
    }
    m_input.keepDescribedCharacterSets();
}

bool Statement::readIsSelect(const QByteArray& text)
{
    // Every select has a column; a statement without one needs no asking.
    if (m_output.count() == 0)
        return false;
    StatementTypes& known = m_connection.statementTypes();
    if (const std::optional<bool> select = known.isSelect(text))
        return *select;
    const char items[] = {isc_info_sql_stmt_type};
    char reply[16] = {};
    StatusVector status;
    m_connection.client().isc_dsql_sql_info(status.get(), m_handle.address(), short(sizeof items), items,
                                            short(sizeof reply), reply);
    m_connection.check(status.get());
    const std::optional<qint64> type =
        ClientLibrary::infoValue(QByteArrayView(reply, sizeof reply), isc_info_sql_stmt_type);
    if (!type)
        return true;
    const bool select = *type == isc_info_sql_stmt_select || *type == isc_info_sql_stmt_select_for_upd;
    known.remember(text, select);
    return select;
}

void Statement::execute()
{
    closeCursor();
    StatusVector status;
    m_connection.client().isc_dsql_execute(status.get(), m_transaction.handle(), m_handle.address(),
                                           static_cast<unsigned short>(m_connection.sqlDialect()),
                                           m_input.count() > 0 ? m_input.get() : nullptr);
    m_transaction.check(status.get());
    m_cursorOpen = m_select;
}

bool Statement::fetch()
{
    StatusVector status;
    const ISC_STATUS result = m_connection.client().isc_dsql_fetch(
        status.get(), m_handle.address(), static_cast<unsigned short>(m_connection.sqlDialect()),
        m_output.get());
    if (result == 100)
        return false;
    m_transaction.check(status.get());
    return true;
}

void Statement::closeCursor() noexcept
{
    if (!m_cursorOpen)
        return;
    m_cursorOpen = false;
    if (!m_handle.isSet())
        return;
    StatusVector status;
    m_connection.client().isc_dsql_free_statement(status.get(), m_handle.address(), DSQL_close);
}

void Statement::forgetPreparation() noexcept
{
    closeCursor();
    m_prepared = false;
    m_select = false;
}

void Statement::unprepare() noexcept
{
    m_cursorOpen = false;
    m_prepared = false;
    m_select = false;
    m_handle.reset();
}

}  // namespace korvat
