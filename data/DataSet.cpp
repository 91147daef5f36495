#include "DataSet.h"

#include "ColumnValue.h"
#include "Connection.h"
#include "NameFolding.h"
#include "Transaction.h"

#include <algorithm>
#include <limits>

namespace korvat {

DataSet::DataSet(QString objectName, Connection& connection, Transaction* transaction,
                 const RegionalSettings& settings)
    : m_objectName(std::move(objectName)),
      m_connection(connection),
      m_transaction(transaction),
      m_settings(settings),
      m_inConnection(connection.users(), *this)
{
}

DataSet::~DataSet()
{
    close();
    notify([](DataSetObserver& o) { o.dataSetDestroyed(); });
}

Transaction& DataSet::transaction() const
{
    return m_transaction ? *m_transaction : m_connection.transactionForUsers();
}

LayerError DataSet::prefixedError(const QString& message) const
{
    return LayerError(prefixed(m_objectName, message));
}

LayerError DataSet::closedError() const
{
    return prefixedError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void DataSet::setFields(std::vector<FieldDef> defs, const std::vector<QString>& objectNames)
{
    m_fields.clear();
    m_foldedNames.clear();
    m_defs = std::move(defs);
    m_layout = RowLayout(m_defs);
    m_fields.reserve(m_defs.size());
    for (std::size_t i = 0; i < m_defs.size(); ++i) {
        m_fields.push_back(std::make_unique<Field>(*this, int(i), m_defs[i],
                                                   i < objectNames.size() ? objectNames[i] : QString()));
        m_foldedNames.push_back(foldName(m_defs[i].name));
    }
}

void DataSet::open()
{
    if (active())
        return;
    Transaction& inTransaction = transaction();
    if (!inTransaction.inTransaction())
        inTransaction.start();

    Statement select(m_connection, inTransaction);
    select.prepare(selectText().join(QLatin1Char('\n')));
    std::vector<int> columns = defineFields(select.output());
    select.execute();

    m_select.emplace(std::move(select));
    m_openTransaction = &inTransaction;
    m_inOpenTransaction.join(inTransaction.users(), *this);
    m_columnOfField = std::move(columns);
    m_rows.clear();
    m_rowStore.clear();
    m_allFetched = false;
    m_modified = false;
    try {
        prepareEditStatements();
        m_state = DataSetState::Browse;
        fetchOne(/*announce=*/false);  // the opening itself tells of the first row
    } catch (...) {
        close();
        throw;
    }
    m_current = m_rows.empty() ? -1 : 0;
    m_eof = m_rows.empty();
    notify([](DataSetObserver& o) { o.dataSetOpened(); });
}

void DataSet::close() noexcept
{
    if (m_state == DataSetState::Inactive && !m_select)
        return;
    releaseEditStatements();
    m_select.reset();
    m_inOpenTransaction.leave();
    m_openTransaction = nullptr;
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_rowStore.clear();
    m_buffer.clear();
    m_state = DataSetState::Inactive;
    m_current = -1;
    m_eof = true;
    m_allFetched = true;
    m_modified = false;
    if (!keepsFieldsWhenClosed()) {
        m_fields.clear();
        m_foldedNames.clear();
        m_defs.clear();
        m_layout = RowLayout();
    }
    notify([](DataSetObserver& o) { o.dataSetClosed(); });
}

int DataSet::serverRowCount() const
{
    if (!active())
        return 0;
    Statement count(m_connection, *m_openTransaction);
    count.prepare(QStringLiteral("select count(*) from (%1)").arg(selectText().join(QLatin1Char('\n'))));
    count.execute();
    const qint64 rows = count.fetch() ? readIntegerColumn(count.output(), 0) : 0;
    count.closeCursor();
    return int(std::min<qint64>(rows, std::numeric_limits<int>::max()));
}

QStringList DataSet::serverTexts(const QString& column) const
{
    if (!active())
        return {};
    Statement values(m_connection, *m_openTransaction);
    values.prepare(QStringLiteral("select %1 from (%2)").arg(column, selectText().join(QLatin1Char('\n'))));
    values.execute();
    QStringList texts;
    const FieldDef asText;
    while (values.fetch()) {
        const FieldValue value = readColumnValue(values.output(), 0, asText);
        if (const QString* text = std::get_if<QString>(&value))
            texts.append(*text);
        else if (const qint32* number = std::get_if<qint32>(&value))
            texts.append(QString::number(*number));
        else
            texts.append(QString());
    }
    values.closeCursor();
    return texts;
}

bool DataSet::fetchOne(bool announce)
{
    if (m_allFetched || !m_select)
        return false;
    if (!m_select->fetch()) {
        m_allFetched = true;
        m_select->closeCursor();
        return false;
    }
    // The row is written straight from the descriptor area into its
    // compact form, texts decoded in place.
    m_rowBuilder.begin(m_layout);
    for (std::size_t i = 0; i < m_defs.size(); ++i) {
        const ColumnReading column = readColumn(m_select->output(), m_columnOfField[i], m_defs[i]);
        switch (column.kind) {
        case ColumnReading::Kind::Null: m_rowBuilder.addNull(); break;
        case ColumnReading::Kind::Integer: m_rowBuilder.addInteger(column.integer); break;
        case ColumnReading::Kind::Float: m_rowBuilder.addDouble(column.number); break;
        case ColumnReading::Kind::Text:
            if (column.characterSet.isUtf8())
                m_rowBuilder.addText(columnText(column, m_defs[i]));
            else
                AnsiCodePage::decodeInto(column.text, m_rowBuilder.addTextRoom(column.text.size()));
            break;
        }
    }
    m_rows.push_back(m_rowBuilder.finish(m_rowStore));
    if (announce) {
        const int row = int(m_rows.size()) - 1;
        notify([row](DataSetObserver& o) { o.rowsAdded(row, row); });
    }
    return true;
}

int DataSet::fetchMore(int count)
{
    if (!active())
        return 0;
    int fetched = 0;
    while (fetched < count && fetchOne())
        ++fetched;
    return fetched;
}

void DataSet::fetchAll()
{
    if (!active())
        return;
    while (fetchOne()) {
    }
}

int DataSet::recordCount() const
{
    return active() ? int(m_rows.size()) : 0;
}

int DataSet::rowsShown() const
{
    if (!active())
        return 0;
    return int(m_rows.size()) + (m_state == DataSetState::Insert ? 1 : 0);
}

void DataSet::setCurrent(int row)
{
    if (row == m_current)
        return;
    m_current = row;
    notify([row](DataSetObserver& o) { o.currentRowChanged(row); });
}

void DataSet::setState(DataSetState state)
{
    if (state == m_state)
        return;
    m_state = state;
    notify([](DataSetObserver& o) { o.stateChanged(); });
}

void DataSet::first()
{
    if (!active())
        throw closedError();
    checkBrowseMode();
    if (m_rows.empty())
        fetchOne();
    setCurrent(m_rows.empty() ? -1 : 0);
    m_eof = m_rows.empty();
}

void DataSet::next()
{
    if (!active())
        throw closedError();
    checkBrowseMode();
    if (m_current + 1 < int(m_rows.size()) || fetchOne()) {
        setCurrent(m_current + 1);
        m_eof = false;
    } else {
        m_eof = true;
    }
}

void DataSet::moveTo(int row)
{
    if (!active())
        throw closedError();
    if (row == m_current)
        return;
    checkBrowseMode();
    while (row >= int(m_rows.size()) && fetchOne()) {
    }
    if (m_rows.empty())
        return;
    setCurrent(std::clamp(row, 0, int(m_rows.size()) - 1));
    m_eof = false;
}

void DataSet::checkBrowseMode()
{
}

Field* DataSet::findField(QStringView name) const
{
    const auto found = std::find_if(m_foldedNames.begin(), m_foldedNames.end(),
                                    [name](const QString& folded) { return equalsFolded(name, folded); });
    return found == m_foldedNames.end() ? nullptr : m_fields[found - m_foldedNames.begin()].get();
}

Field& DataSet::fieldByName(QStringView name) const
{
    if (Field* field = findField(name))
        return *field;
    throw prefixedError(QStringLiteral("Field '%1' not found").arg(name));
}

RowData DataSet::rowFromValues(const std::vector<FieldValue>& values)
{
    m_rowBuilder.begin(m_layout);
    for (std::size_t i = 0; i < values.size() && int(i) < m_layout.fieldCount(); ++i)
        m_rowBuilder.addValue(values[i]);
    return m_rowBuilder.finish(m_rowStore);
}

std::vector<FieldValue> DataSet::valuesOf(int row) const
{
    std::vector<FieldValue> values;
    values.reserve(m_defs.size());
    for (int i = 0; i < int(m_defs.size()); ++i)
        values.push_back(m_rows[row].value(m_layout, i));
    return values;
}

FieldValue DataSet::valueAt(int row, int field) const
{
    if (!active() || field < 0 || field >= int(m_defs.size()))
        return std::monostate{};
    // A pending new row stands after the last row; a changed row is the current one.
    if ((m_state == DataSetState::Insert && row == int(m_rows.size())) ||
        (m_state == DataSetState::Edit && row == m_current))
        return m_buffer[field];
    if (row < 0 || row >= int(m_rows.size()))
        return std::monostate{};
    return m_rows[row].value(m_layout, field);
}

FieldValue DataSet::currentValue(int field) const
{
    return valueAt(m_current, field);
}

void DataSet::setCurrentValue(int field, const FieldValue& value)
{
    if (!canModify())
        throw prefixedError(QStringLiteral("Cannot modify a read-only dataset"));
    if (m_state != DataSetState::Insert && m_state != DataSetState::Edit)
        throw prefixedError(QStringLiteral("Dataset not in edit or insert mode"));
    m_buffer[field] = value;
    m_modified = true;
    const int row = m_current;
    notify([row](DataSetObserver& o) { o.rowChanged(row); });
}

void DataSet::addObserver(DataSetObserver* observer)
{
    if (std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void DataSet::removeObserver(DataSetObserver* observer)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer), m_observers.end());
}

}  // namespace korvat
