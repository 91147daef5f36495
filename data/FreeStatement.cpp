#include "FreeStatement.h"

#include "Connection.h"
#include "Errors.h"
#include "NameFolding.h"
#include "SqlParameterScanner.h"
#include "Transaction.h"

#include <algorithm>

namespace korvat {

FreeStatement::FreeStatement(QString objectName, Connection& connection, Transaction& transaction,
                             const RegionalSettings& settings)
    : m_objectName(std::move(objectName)),
      m_connection(connection),
      m_transaction(transaction),
      m_settings(settings),
      m_statement(connection, transaction),
      m_inConnection(connection.users(), *this),
      m_inTransaction(transaction.users(), *this)
{
}

void FreeStatement::clearText()
{
    m_text.clear();
    textChanged();
}

void FreeStatement::addLine(const QString& line)
{
    m_text.append(line);
    textChanged();
}

void FreeStatement::textChanged()
{
    close();
    const ScannedStatement& scanned = scanOf(m_text.join(QLatin1Char('\n')));

    std::vector<StatementParameter> params;
    std::vector<std::size_t> positions;
    for (const QString& name : scanned.parameterNames) {
        auto same = [&](const StatementParameter& p) { return sameName(p.name(), name); };
        auto found = std::find_if(params.begin(), params.end(), same);
        if (found == params.end()) {
            StatementParameter& added = params.emplace_back(name);
            auto old = std::find_if(m_params.begin(), m_params.end(), same);
            if (old != m_params.end())
                added.takeValueOf(*old);
            found = params.end() - 1;
        }
        positions.push_back(std::size_t(found - params.begin()));
    }
    m_serverText = scanned.serverText;
    m_params = std::move(params);
    m_positions = std::move(positions);
}

const ScannedStatement& FreeStatement::scanOf(const QString& text)
{
    constexpr std::size_t remembered = 4;
    auto found = std::find_if(m_recentScans.begin(), m_recentScans.end(),
                              [&](const auto& recent) { return recent.first == text; });
    if (found == m_recentScans.end()) {
        if (m_recentScans.size() == remembered)
            m_recentScans.pop_back();
        m_recentScans.emplace(m_recentScans.begin(), text, scanParameters(text));
        return m_recentScans.front().second;
    }
    return found->second;
}

bool FreeStatement::textIsBlank() const
{
    return std::all_of(m_text.begin(), m_text.end(), [](const QString& line) {
        return std::all_of(line.begin(), line.end(), [](QChar c) { return c.isSpace(); });
    });
}

StatementParameter& FreeStatement::paramByName(const QString& name)
{
    // A text without parameters goes to the server first, so a faulty text is
    // reported as the server's error rather than as a missing parameter.
    if (m_params.empty() && !isPrepared() && !textIsBlank())
        prepare();
    for (StatementParameter& parameter : m_params)
        if (sameName(parameter.name(), name))
            return parameter;
    throw LayerError(prefixed(m_objectName, QStringLiteral("Parameter '%1' not found").arg(name)));
}

void FreeStatement::close() noexcept
{
    // The handle stays for the next text; only an end drops it.
    m_statement.forgetPreparation();
    m_columns.clear();
}

void FreeStatement::closeForEnd() noexcept
{
    m_statement.unprepare();
    m_columns.clear();
}

void FreeStatement::makeReady()
{
    if (!m_connection.connected())
        m_connection.open();
    // Started here it stays active: the caller's writes belong to it.
    if (!m_transaction.inTransaction())
        m_transaction.start();
}

void FreeStatement::prepare()
{
    makeReady();
    m_statement.prepare(m_serverText);
    const SqlDescriptorArea& input = m_statement.input();
    m_columns.clear();
    for (int i = 0; i < input.count(); ++i)
        m_columns.push_back(describedColumn(input.var(i)));
}

void FreeStatement::execute()
{
    if (textIsBlank())
        throw LayerError(QStringLiteral("Empty SQL Statement"));
    // Prepared means attached and inside the transaction: an end of either
    // drops the preparation.
    if (!isPrepared())
        prepare();

    SqlDescriptorArea& input = m_statement.input();
    for (int i = 0; i < input.count(); ++i) {
        // A position the text does not name (a '?' written as such) goes as NULL.
        if (std::size_t(i) < m_positions.size())
            bindParameter(input, i, m_columns[i], m_params[m_positions[i]], m_connection);
        else
            input.bindNull(i);
    }

    m_statement.execute();
    // Nothing here reads a result; a select only has its cursor opened and closed.
    if (m_statement.cursorOpen())
        m_statement.closeCursor();
}

}  // namespace korvat
