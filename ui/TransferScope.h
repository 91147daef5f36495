#pragma once

#include "Savepoint.h"

#include <QString>

#include <exception>
#include <functional>
#include <optional>

namespace korvat {
class Connection;
class DataSet;
class Transaction;
}  // namespace korvat

// One press of a transfer button, kept whole: a savepoint is set in the
// target's transaction before the first row, and a transfer that fails from
// its first row on, or is stopped by a termination signal, is undone to it.
// Nothing of that press then remains, pending or committed at a later
// commit; rows of earlier transfers stay as they were. Left pending, the rows
// of a failed press would be committed by the next transfer or the end of
// the program, although the operator saw only an error, and a second press
// would carry them twice.
//
// The error then shown names the source row that failed, on a line before
// the error, and ends with a line saying that the press was undone.
class TransferScope {
public:
    // `shown` is the target data set the press fills, opened again after an
    // undo so that its grid shows what the target holds. Without an active
    // transaction no savepoint is set and nothing is undone: the transfer
    // then fails at its first use of the closed target, as it always did.
    TransferScope(korvat::Connection& target, korvat::Transaction& transaction, korvat::DataSet& shown);

    // Thrown by the work when the operator chose to stop the press.
    struct Stopped { };

    // Runs the press's work; an error that leaves it undoes the press and
    // goes on as an error with the lines above. False when the operator
    // stopped it (Stopped): the press is undone and nothing is shown.
    bool run(const std::function<void()>& work);

    // The line naming the source row now being carried ("Stok kartı K15
    // aktarılamadı:"); empty between rows.
    void beginRow(QString failureLine) { m_rowLine = std::move(failureLine); }
    void endRow() { m_rowLine.clear(); }

    // Undoes the press (a stop by a termination signal). True when nothing
    // of it remains: undone, or dropped with a transaction the server lost.
    bool undo() noexcept;

private:
    korvat::Transaction& m_transaction;
    korvat::DataSet& m_shown;
    std::optional<korvat::Savepoint> m_savepoint;
    QString m_rowLine;
};

// A source row's code as the messages name it: trimmed, "(kodsuz)" when empty.
QString codeOrNone(const QString& code);
// The line that names a failed source row: "Stok kartı K15 aktarılamadı:".
QString rowFailureLine(const QString& kind, const QString& code);
