#include "TransferScope.h"

#include "DataSet.h"
#include "ErrorText.h"
#include "Errors.h"
#include "Transaction.h"

namespace {

const QString undoneLine = QStringLiteral("Bu aktarımda yazılan kayıtlar geri alındı.");

}  // namespace

QString codeOrNone(const QString& code)
{
    const QString trimmed = code.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("(kodsuz)") : trimmed;
}

QString rowFailureLine(const QString& kind, const QString& code)
{
    return QStringLiteral("%1 %2 aktarılamadı:").arg(kind, codeOrNone(code));
}

TransferScope::TransferScope(korvat::Connection& target, korvat::Transaction& transaction,
                             korvat::DataSet& shown)
    : m_transaction(transaction), m_shown(shown)
{
    if (transaction.inTransaction())
        m_savepoint.emplace(target, transaction, QStringLiteral("KORVAT_AKTARIM"));
}

bool TransferScope::run(const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const Stopped&) {
        undo();
        return false;
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        const bool undone = m_savepoint && undo();
        QString message = messageForErrorBox(error);
        if (!m_rowLine.isEmpty())
            message = m_rowLine + QLatin1Char('\n') + message;
        if (undone)
            message += QLatin1Char('\n') + undoneLine;
        throw korvat::LayerError(message);
    }
}

bool TransferScope::undo() noexcept
{
    if (!m_savepoint)
        return false;
    bool undone = true;
    try {
        m_savepoint->rollBack();
    } catch (...) {
        // A lost server has dropped the transaction, and everything of the
        // press with it.
        undone = !m_transaction.inTransaction();
    }
    try {
        if (m_shown.active()) {
            m_shown.close();
            m_shown.open();
        }
    } catch (...) {
        // The grid stays empty; the error that ended the press is the one to show.
    }
    return undone;
}
