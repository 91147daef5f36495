#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <map>
#include <utility>

namespace korvat {

class Connection;

// What an editable data set learns of its table from the system tables.
struct TableInfo {
    QSet<QString> computedColumns;
    QSet<QString> defaultedColumns;
    QStringList primaryKey;

    bool hasComputedOrDefaulted() const { return !computedColumns.isEmpty() || !defaultedColumns.isEmpty(); }
};

// Reads a table's computed, defaulted and key columns once per table and
// database file name for the program's run, in a short read-only
// transaction of its own.
class TableInfoCache {
public:
    const TableInfo& lookup(Connection& connection, const QString& table);

private:
    std::map<std::pair<QString, QString>, TableInfo> m_tables;
};

}  // namespace korvat
