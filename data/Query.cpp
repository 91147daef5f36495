#include "Query.h"

#include "ColumnValue.h"

namespace korvat {

Query::Query(QString objectName, Connection& connection, const RegionalSettings& settings,
             const schema::MasterTable& table, QStringList selectLines)
    : DataSet(std::move(objectName), connection, nullptr, settings), m_selectLines(std::move(selectLines))
{
    std::vector<FieldDef> defs = schema::queryFieldDefs(table);
    std::vector<QString> objectNames;
    objectNames.reserve(defs.size());
    for (const FieldDef& def : defs)
        objectNames.push_back(this->objectName() + def.name);
    setFields(std::move(defs), objectNames);
}

Field& Query::fieldObject(const QString& name) const
{
    for (int i = 0; i < fieldCount(); ++i)
        if (field(i).objectName() == name)
            return field(i);
    throw prefixedError(QStringLiteral("Field '%1' not found").arg(name));
}

std::vector<int> Query::defineFields(SqlDescriptorArea& output)
{
    // Each field object is bound to the result column of its name; columns
    // without a field object are not reachable.
    std::vector<int> columns;
    columns.reserve(fieldDefs().size());
    for (const FieldDef& def : fieldDefs()) {
        int found = -1;
        for (int c = 0; c < output.count() && found < 0; ++c)
            if (columnName(output.var(c)) == def.name)
                found = c;
        if (found < 0)
            throw prefixedError(QStringLiteral("Field '%1' not found").arg(def.name));
        if (!columnFitsKind(output.var(found), def.kind))
            throw prefixedError(
                QStringLiteral("Type mismatch for field '%1', expecting: %2 actual: %3")
                    .arg(def.name, fieldKindName(def.kind), columnKindName(output.var(found))));
        columns.push_back(found);
    }
    return columns;
}

}  // namespace korvat
