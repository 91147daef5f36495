#pragma once

#include "DatabaseUser.h"
#include "ParameterBinding.h"
#include "RegionalSettings.h"
#include "SqlParameterScanner.h"
#include "Statement.h"
#include "StatementParameter.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace korvat {

class Connection;
class Transaction;

// The free statement object (`qry`): a statement text built line by line,
// named parameters set by the caller, executed in its transaction without a
// commit. Every change of the text drops the preparation, so the next
// execute prepares the new text; executing an unchanged text again reuses it.
//
// A name that occurs more than once in the text is one parameter: setting it
// sets every position where it stands. References to parameters stay valid
// until the text changes.
class FreeStatement : public DatabaseUser {
public:
    FreeStatement(QString objectName, Connection& connection, Transaction& transaction,
                  const RegionalSettings& settings);
    FreeStatement(const FreeStatement&) = delete;
    FreeStatement& operator=(const FreeStatement&) = delete;

    const QString& objectName() const { return m_objectName; }
    const RegionalSettings& regionalSettings() const { return m_settings; }

    const QStringList& text() const { return m_text; }
    void clearText();
    void addLine(const QString& line);

    // The parameters in the order their names first occur in the text.
    const std::vector<StatementParameter>& params() const { return m_params; }
    // Ignores case; raises "<object>: Parameter '<name>' not found".
    StatementParameter& paramByName(const QString& name);

    bool isPrepared() const { return m_statement.isPrepared(); }
    // Closes and forgets the preparation; text and values stay, and so does
    // the handle, which the next prepare uses again.
    void close() noexcept;

    // Runs the text with the parameters' values in the transaction, attaching
    // the connection and starting the transaction when needed. Commits nothing.
    void execute();

    // The end of the transaction or of the connection drops the handle too.
    void closeForEnd() noexcept override;

private:
    void textChanged();  // after every change of m_text: closes, then takes the text's parameters
    const ScannedStatement& scanOf(const QString& text);
    bool textIsBlank() const;
    void makeReady();
    void prepare();

    QString m_objectName;
    Connection& m_connection;
    Transaction& m_transaction;
    RegionalSettings m_settings;
    QStringList m_text;
    QString m_serverText;
    std::vector<StatementParameter> m_params;
    // For each '?' of the server text, the parameter it takes its value from.
    std::vector<std::size_t> m_positions;
    // The input columns as described at the last prepare.
    std::vector<ParameterColumn> m_columns;
    // The last texts scanned, newest first: an entry written line by line
    // for every row goes through the same few texts each time.
    std::vector<std::pair<QString, ScannedStatement>> m_recentScans;
    Statement m_statement;
    // Last, so the statement is no longer told of ends while it goes away.
    Membership<DatabaseUser> m_inConnection;
    Membership<DatabaseUser> m_inTransaction;
};

}  // namespace korvat
