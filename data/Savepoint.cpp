#include "Savepoint.h"

#include "Statement.h"

namespace korvat {

Savepoint::Savepoint(Connection& connection, Transaction& transaction, QString name)
    : m_connection(connection), m_transaction(transaction), m_name(std::move(name))
{
    run(QStringLiteral("savepoint %1").arg(m_name));
}

void Savepoint::rollBack()
{
    run(QStringLiteral("rollback to savepoint %1").arg(m_name));
}

void Savepoint::run(const QString& sql)
{
    Statement statement(m_connection, m_transaction);
    statement.prepare(sql);
    statement.execute();
}

}  // namespace korvat
