#include "TableInfo.h"

#include "ColumnValue.h"
#include "Connection.h"
#include "SqlParameterScanner.h"
#include "Statement.h"
#include "Transaction.h"

namespace korvat {

namespace {

const QString fieldsStatement = QStringLiteral(
    "Select F.RDB$COMPUTED_BLR, F.RDB$DEFAULT_VALUE, R.RDB$DEFAULT_VALUE, R.RDB$FIELD_NAME from "
    "RDB$RELATION_FIELDS R, RDB$FIELDS F where R.RDB$RELATION_NAME = :RELATION and "
    "R.RDB$FIELD_SOURCE = F.RDB$FIELD_NAME and ((not F.RDB$COMPUTED_BLR is NULL) or      (not "
    "(F.RDB$DEFAULT_VALUE is NULL and R.RDB$DEFAULT_VALUE is NULL))) ");

const QString primaryKeyStatement = QStringLiteral(
    "SELECT RDB$FIELD_NAME, RDB$FIELD_POSITION FROM RDB$RELATION_CONSTRAINTS RR JOIN "
    "RDB$INDEX_SEGMENTS RI ON      RR.RDB$INDEX_NAME = RI.RDB$INDEX_NAME WHERE RDB$RELATION_NAME "
    "= :relation_name AND       RDB$CONSTRAINT_TYPE = 'PRIMARY KEY ' ORDER BY RDB$FIELD_POSITION ");

// Runs one of the two statements with the table's name as its parameter and
// calls back for each row.
template <typename OnRow>
void runForTable(Connection& connection, Transaction& transaction, const QString& text, const QString& table,
                 OnRow onRow)
{
    Statement statement(connection, transaction);
    statement.prepare(scanParameters(text).serverText);
    bindFieldValue(statement.input(), 0, table);
    statement.execute();
    while (statement.fetch())
        onRow(statement.output());
}

QString trimmedText(const SqlDescriptorArea& area, int index)
{
    FieldDef def;
    const FieldValue value = readColumnValue(area, index, def);
    const QString* text = std::get_if<QString>(&value);
    return text ? text->trimmed() : QString();
}

}  // namespace

const TableInfo& TableInfoCache::lookup(Connection& connection, const QString& table)
{
    const auto key = std::make_pair(connection.databaseName(), table);
    if (auto found = m_tables.find(key); found != m_tables.end())
        return found->second;

    Transaction transaction(QStringLiteral("TableInfoTransaction"), connection.sharedClient());
    transaction.setParams({QStringLiteral("read"), QStringLiteral("read_committed"),
                           QStringLiteral("rec_version"), QStringLiteral("nowait")});
    transaction.addDatabase(&connection);
    transaction.start();

    TableInfo info;
    runForTable(connection, transaction, fieldsStatement, table, [&](SqlDescriptorArea& row) {
        const QString column = trimmedText(row, 3);
        if (!row.isNull(0))
            info.computedColumns.insert(column);
        else
            info.defaultedColumns.insert(column);
    });
    runForTable(connection, transaction, primaryKeyStatement, table,
                [&](SqlDescriptorArea& row) { info.primaryKey << trimmedText(row, 0); });
    transaction.commit();

    return m_tables.emplace(key, std::move(info)).first->second;
}

}  // namespace korvat
