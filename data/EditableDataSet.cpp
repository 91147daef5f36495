#include "EditableDataSet.h"

#include "ColumnValue.h"
#include "Connection.h"
#include "FieldText.h"
#include "SqlParameterScanner.h"
#include "Transaction.h"

namespace korvat {

namespace {

// The server's reserved words that could be mistaken for a generator's name.
const QSet<QString> reservedWords = {
    QStringLiteral("ADD"),       QStringLiteral("ALL"),       QStringLiteral("ALTER"),
    QStringLiteral("AND"),       QStringLiteral("ANY"),       QStringLiteral("AS"),
    QStringLiteral("AVG"),       QStringLiteral("BEGIN"),     QStringLiteral("BETWEEN"),
    QStringLiteral("BY"),        QStringLiteral("CASE"),      QStringLiteral("CAST"),
    QStringLiteral("CHAR"),      QStringLiteral("CHECK"),     QStringLiteral("COLUMN"),
    QStringLiteral("COMMIT"),    QStringLiteral("COUNT"),     QStringLiteral("CREATE"),
    QStringLiteral("CURRENT"),   QStringLiteral("DATE"),      QStringLiteral("DECLARE"),
    QStringLiteral("DEFAULT"),   QStringLiteral("DELETE"),    QStringLiteral("DISTINCT"),
    QStringLiteral("DOUBLE"),    QStringLiteral("DROP"),      QStringLiteral("ELSE"),
    QStringLiteral("END"),       QStringLiteral("EXISTS"),    QStringLiteral("FLOAT"),
    QStringLiteral("FOR"),       QStringLiteral("FROM"),      QStringLiteral("FULL"),
    QStringLiteral("FUNCTION"),  QStringLiteral("GEN_ID"),    QStringLiteral("GRANT"),
    QStringLiteral("GROUP"),     QStringLiteral("HAVING"),    QStringLiteral("IN"),
    QStringLiteral("INDEX"),     QStringLiteral("INNER"),     QStringLiteral("INSERT"),
    QStringLiteral("INTEGER"),   QStringLiteral("INTO"),      QStringLiteral("IS"),
    QStringLiteral("JOIN"),      QStringLiteral("KEY"),       QStringLiteral("LEFT"),
    QStringLiteral("LIKE"),      QStringLiteral("MAX"),       QStringLiteral("MIN"),
    QStringLiteral("NOT"),       QStringLiteral("NULL"),      QStringLiteral("ON"),
    QStringLiteral("OR"),        QStringLiteral("ORDER"),     QStringLiteral("OUTER"),
    QStringLiteral("PRIMARY"),   QStringLiteral("PROCEDURE"), QStringLiteral("REFERENCES"),
    QStringLiteral("RIGHT"),     QStringLiteral("ROLLBACK"),  QStringLiteral("SELECT"),
    QStringLiteral("SET"),       QStringLiteral("SMALLINT"),  QStringLiteral("SUM"),
    QStringLiteral("TABLE"),     QStringLiteral("THEN"),      QStringLiteral("TIME"),
    QStringLiteral("TIMESTAMP"), QStringLiteral("TO"),        QStringLiteral("TRIGGER"),
    QStringLiteral("UNION"),     QStringLiteral("UNIQUE"),    QStringLiteral("UPDATE"),
    QStringLiteral("USER"),      QStringLiteral("VALUES"),    QStringLiteral("VARCHAR"),
    QStringLiteral("VIEW"),      QStringLiteral("WHEN"),      QStringLiteral("WHERE"),
    QStringLiteral("WITH"),
};

// A parameter's field: "OLD_" or "NEW_" before a name is not part of it.
QStringView fieldNameOfParameter(const QString& parameter, bool* old)
{
    *old = parameter.startsWith(QLatin1String("OLD_"), Qt::CaseInsensitive);
    if (*old || parameter.startsWith(QLatin1String("NEW_"), Qt::CaseInsensitive))
        return QStringView(parameter).mid(4);
    return parameter;
}

}  // namespace

QString generatorNameInStatement(const QString& name, int dialect)
{
    const bool plain =
        name == name.toUpper() && !name.contains(QLatin1Char(' ')) && !reservedWords.contains(name);
    if (plain)
        return name;
    if (dialect >= 3)
        return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
               QLatin1Char('"');
    return name.trimmed().toUpper();
}

EditableDataSet::EditableDataSet(QString objectName, Connection& connection, Transaction& transaction,
                                 const RegionalSettings& settings, TableInfoCache& tableInfo,
                                 Settings definition)
    : DataSet(std::move(objectName), connection, &transaction, settings),
      m_tableInfoCache(tableInfo),
      m_definition(std::move(definition))
{
    m_insert.lines = m_definition.statements.insert;
    m_modify.lines = m_definition.statements.modify;
    m_delete.lines = m_definition.statements.remove;
    m_refresh.lines = m_definition.statements.refresh;
    for (EditStatement* edit : {&m_insert, &m_modify, &m_delete, &m_refresh}) {
        const ScannedStatement scanned = scanParameters(edit->lines.join(QLatin1Char('\n')));
        edit->serverText = scanned.serverText;
        edit->parameters = scanned.parameterNames;
    }
}

EditableDataSet::~EditableDataSet()
{
    close();
}

std::vector<int> EditableDataSet::defineFields(SqlDescriptorArea& output)
{
    const TableInfo& info = m_tableInfoCache.lookup(connection(), m_definition.tableName);
    m_refreshAfterInsert = false;
    std::vector<FieldDef> defs;
    std::vector<int> columns;
    for (int c = 0; c < output.count(); ++c) {
        const XSQLVAR& column = output.var(c);
        FieldDef def;
        def.name = columnName(column);
        def.kind = fieldKindOfColumn(column);
        const short type = baseType(column);
        if (def.kind == FieldKind::String)
            def.size = (type == SQL_TEXT || type == SQL_VARYING) ? columnCharacters(column) : 0;
        def.fixedLength = type == SQL_TEXT;
        const QString table = columnTable(column);
        const bool computed = info.computedColumns.contains(def.name);
        const bool defaulted = info.defaultedColumns.contains(def.name);
        m_refreshAfterInsert = m_refreshAfterInsert || computed || defaulted;
        def.readOnly = computed;
        def.required = !computed && !defaulted && !table.isEmpty() && (column.sqltype & 1) == 0;
        def.key = info.primaryKey.contains(def.name);
        def.origin = table.isEmpty() ? QString() : table + QLatin1Char('.') + def.name;
        defs.push_back(def);
        columns.push_back(c);
    }
    setFields(std::move(defs));
    editBuffer().assign(std::size_t(fieldCount()), std::monostate{});
    for (EditStatement* edit : {&m_insert, &m_modify, &m_delete, &m_refresh})
        edit->parameterFields.clear();
    return columns;
}

void EditableDataSet::prepare(EditStatement& edit)
{
    if (edit.statement && edit.statement->isPrepared())
        return;
    Statement statement(connection(), transaction());
    statement.prepare(edit.serverText);
    edit.statement.emplace(std::move(statement));
}

void EditableDataSet::prepareEditStatements()
{
    // A statement the server refuses now (a column the table lacks) is
    // prepared again at its first use, which then raises the server's error.
    for (EditStatement* edit : {&m_insert, &m_modify, &m_delete, &m_refresh}) {
        try {
            prepare(*edit);
        } catch (const ServerError&) {
            edit->statement.reset();
        }
    }
}

void EditableDataSet::releaseEditStatements() noexcept
{
    for (EditStatement* edit : {&m_insert, &m_modify, &m_delete, &m_refresh}) {
        edit->statement.reset();
        edit->parameterFields.clear();
    }
    // Only its handle goes: a lost connection closes the data set while a
    // key is being drawn, and the statement is still in use then.
    if (m_generator)
        m_generator->unprepare();
}

const std::vector<std::pair<const Field*, bool>>& EditableDataSet::parameterFields(EditStatement& edit,
                                                                                   int count)
{
    if (int(edit.parameterFields.size()) == count)
        return edit.parameterFields;
    std::vector<std::pair<const Field*, bool>> found;
    for (int p = 0; p < count; ++p) {
        bool old = false;
        const QStringView name = fieldNameOfParameter(edit.parameters[p], &old);
        const Field* field = findField(name);
        if (!field)
            throw prefixedError(QStringLiteral("Field '%1' not found").arg(name));
        found.emplace_back(field, old);
    }
    edit.parameterFields = std::move(found);
    return edit.parameterFields;
}

void EditableDataSet::run(EditStatement& edit, const std::vector<FieldValue>& values,
                          const std::vector<FieldValue>* oldValues)
{
    prepare(edit);
    Statement& statement = *edit.statement;
    SqlDescriptorArea& input = statement.input();
    const int count = std::min(int(edit.parameters.size()), input.count());
    const std::vector<std::pair<const Field*, bool>>& fields = parameterFields(edit, count);
    for (int p = 0; p < count; ++p) {
        const auto [field, old] = fields[p];
        const FieldValue& value = (old && oldValues ? *oldValues : values)[field->index()];
        if (const auto* text = std::get_if<QString>(&value);
            text && field->size() > 0 && text->size() > field->size())
            throw stringTooLongError(text->size(), field->size());
        bindFieldValue(input, p, value);
    }
    statement.execute();
}

void EditableDataSet::append()
{
    if (!active())
        throw closedError();
    checkBrowseMode();
    fetchAll();
    editBuffer().assign(std::size_t(fieldCount()), std::monostate{});
    setModified(false);
    const int pending = int(rows().size());
    setState(DataSetState::Insert);
    notify([pending](DataSetObserver& o) { o.rowsAdded(pending, pending); });
    setCurrent(pending);
    setEof(false);
}

void EditableDataSet::edit()
{
    if (!active())
        throw closedError();
    if (state() == DataSetState::Insert || state() == DataSetState::Edit)
        return;
    if (rows().empty()) {
        append();
        return;
    }
    m_oldValues = valuesOf(currentRow());
    editBuffer() = m_oldValues;
    setModified(false);
    setState(DataSetState::Edit);
}

void EditableDataSet::checkBrowseMode()
{
    if (state() != DataSetState::Insert && state() != DataSetState::Edit)
        return;
    if (modified())
        post();
    else
        cancel();
}

void EditableDataSet::cancel()
{
    if (state() == DataSetState::Insert) {
        const int pending = int(rows().size());
        setState(DataSetState::Browse);
        setModified(false);
        notify([pending](DataSetObserver& o) { o.rowsRemoved(pending, pending); });
        setCurrent(rows().empty() ? -1 : pending - 1);
    } else if (state() == DataSetState::Edit) {
        setState(DataSetState::Browse);
        setModified(false);
        const int row = currentRow();
        notify([row](DataSetObserver& o) { o.rowChanged(row); });
    }
}

void EditableDataSet::post()
{
    if (state() == DataSetState::Insert)
        postInsert();
    else if (state() == DataSetState::Edit)
        postEdit();
    else if (!active())
        throw closedError();
}

void EditableDataSet::drawKey()
{
    Field* key = findField(m_definition.keyField);
    if (!key || !key->isNull())
        return;
    if (!m_generator || &m_generator->transaction() != &transaction())
        m_generator.emplace(connection(), transaction());
    Statement& generator = *m_generator;
    // Dropped after every key, whether it came or not.
    const struct DropAfterUse {
        Statement& statement;
        ~DropAfterUse() { statement.unprepare(); }
    } dropAfterUse{generator};
    const int dialect = connection().sqlDialect();
    if (m_generatorText.isEmpty() || m_generatorTextDialect != dialect) {
        m_generatorText = QStringLiteral("SELECT GEN_ID(%1, %2) FROM RDB$DATABASE")
                              .arg(generatorNameInStatement(m_definition.generator, dialect))
                              .arg(1);
        m_generatorTextDialect = dialect;
    }
    generator.prepare(m_generatorText);
    generator.execute();
    if (!generator.fetch())
        throw prefixedError(QStringLiteral("Generator %1 gave no value").arg(m_definition.generator));
    key->setAsInteger(readIntegerColumn(generator.output(), 0));
}

void EditableDataSet::checkRequired() const
{
    for (int i = 0; i < fieldCount(); ++i) {
        const Field& f = field(i);
        if (f.required() && !f.readOnly() && f.isNull())
            throw LayerError(QStringLiteral("Field '%1' must have a value").arg(f.fieldName()));
    }
}

void EditableDataSet::postInsert()
{
    drawKey();
    checkRequired();
    run(m_insert, editBuffer(), nullptr);

    // The row is stored: it keeps its place after the last row.
    rows().push_back(rowFromValues(editBuffer()));
    const int row = int(rows().size()) - 1;
    setModified(false);
    setState(DataSetState::Browse);
    if (m_refreshAfterInsert)
        refreshRow(row);
    notify([row](DataSetObserver& o) { o.rowChanged(row); });
}

void EditableDataSet::postEdit()
{
    checkRequired();
    run(m_modify, editBuffer(), &m_oldValues);
    const int row = currentRow();
    rows()[row] = rowFromValues(editBuffer());
    setModified(false);
    setState(DataSetState::Browse);
    notify([row](DataSetObserver& o) { o.rowChanged(row); });
}

void EditableDataSet::refreshRow(int row)
{
    std::vector<FieldValue> values = valuesOf(row);
    run(m_refresh, values, nullptr);
    Statement& statement = *m_refresh.statement;
    if (statement.fetch()) {
        SqlDescriptorArea& output = statement.output();
        for (int c = 0; c < output.count(); ++c)
            if (Field* f = findField(columnName(output.var(c))))
                values[f->index()] = readColumnValue(output, c, f->def());
        rows()[row] = rowFromValues(values);
    }
    statement.closeCursor();
}

void EditableDataSet::deleteCurrent()
{
    if (!active())
        throw closedError();
    if (state() == DataSetState::Insert) {
        cancel();
        return;
    }
    if (state() == DataSetState::Edit)
        cancel();
    const int row = currentRow();
    if (row < 0 || row >= int(rows().size()))
        return;
    const std::vector<FieldValue> values = valuesOf(row);
    run(m_delete, values, &values);
    rows().erase(rows().begin() + row);
    notify([row](DataSetObserver& o) { o.rowsRemoved(row, row); });
    // The row that follows takes the deleted one's place.
    const int next = std::min(row, int(rows().size()) - 1);
    if (next == currentRow())
        notify([next](DataSetObserver& o) { o.currentRowChanged(next); });
    setCurrent(next);
}

}  // namespace korvat
