#pragma once

#include "DatabaseHandles.h"
#include "SqlDescriptorArea.h"

#include <QString>

namespace korvat {

class Connection;
class Transaction;

// One DSQL statement on a connection, run in a transaction: prepare, describe,
// execute, fetch. It owns its handle and its two descriptor areas.
class Statement {
public:
    Statement(Connection& connection, Transaction& transaction);
    ~Statement() = default;
    Statement(Statement&&) noexcept = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Prepares the text (already scanned: parameters as question marks) and
    // describes its result columns and its parameters.
    void prepare(const QString& serverText);
    bool isPrepared() const { return m_prepared; }
    bool isSelect() const { return m_select; }

    SqlDescriptorArea& output() { return m_output; }
    SqlDescriptorArea& input() { return m_input; }

    // Runs the statement; a select opens its cursor.
    void execute();
    // Fetches the next row into the output area; false when there is none.
    bool fetch();
    bool cursorOpen() const { return m_cursorOpen; }
    void closeCursor() noexcept;
    // Forgets the preparation but keeps the handle, which the next prepare
    // uses again: a text changed for every row costs no new handle.
    void forgetPreparation() noexcept;
    // Drops the statement's preparation and handle.
    void unprepare() noexcept;

    Connection& connection() const { return m_connection; }
    Transaction& transaction() const { return m_transaction; }

private:
    void describe(bool mayHaveParameters);
    bool readIsSelect(const QByteArray& text);

    Connection& m_connection;
    Transaction& m_transaction;
    StatementHandle m_handle;
    SqlDescriptorArea m_output;
    SqlDescriptorArea m_input;
    bool m_prepared = false;
    bool m_select = false;
    bool m_cursorOpen = false;
};

}  // namespace korvat
