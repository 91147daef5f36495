#include "DataSetModel.h"

#include "DataSet.h"
#include "EditableDataSet.h"
#include "Errors.h"
#include "Field.h"

#include <QtDebug>
#include <algorithm>

using korvat::DataSet;
using korvat::DataSetState;
using korvat::EditableDataSet;
using korvat::Field;
using korvat::FieldKind;

namespace {

// Without a view to size it, a fetch asks for about a screenful.
constexpr int defaultBatchSize = 32;

}  // namespace

const QString DataSetModel::browseMark = QString(QChar(0x25B6));
const QString DataSetModel::insertMark = QStringLiteral("*");
const QString DataSetModel::editMark = QString(QChar(0x270E));

DataSetModel::DataSetModel(DataSet& dataSet, GridColumnList columns, QObject* parent)
    : QAbstractTableModel(parent), m_dataSet(&dataSet), m_allFields(columns.empty())
{
    for (const GridColumn& column : columns) {
        m_names.push_back(QString::fromLatin1(column.fieldName));
        m_widths.push_back(column.width);
    }
    takeDataSetState();
    m_dataSet->addObserver(this);
}

DataSetModel::~DataSetModel()
{
    if (m_dataSet)
        m_dataSet->removeObserver(this);
}

void DataSetModel::detach()
{
    if (!m_dataSet)
        return;
    m_dataSet->removeObserver(this);
    m_changingRows = true;
    beginResetModel();
    m_dataSet = nullptr;
    takeDataSetState();
    endResetModel();
    m_changingRows = false;
    emit currentRowMoved(-1);
}

void DataSetModel::reportError(std::exception_ptr error) const
{
    if (m_errorHandler) {
        m_errorHandler(error);
        return;
    }
    try {
        std::rethrow_exception(error);
    } catch (const korvat::DataError& dataError) {
        qWarning().noquote() << dataError.message();
    } catch (const std::exception& other) {
        qWarning() << other.what();
    } catch (...) {
        qWarning() << "Unknown error in a grid";
    }
}

void DataSetModel::takeDataSetState()
{
    m_open = m_dataSet && m_dataSet->active();
    m_fetchFailed = false;
    if (m_allFields) {
        m_names.clear();
        m_widths.clear();
        for (int i = 0; m_open && i < m_dataSet->fieldCount(); ++i) {
            m_names.push_back(m_dataSet->field(i).fieldName());
            m_widths.push_back(0);
        }
    }
    resolveFields();
    m_rowCount = m_open ? m_dataSet->rowsShown() : 0;
    m_heldRows = 0;
    m_current = m_open ? m_dataSet->currentRow() : -1;
}

void DataSetModel::resolveFields()
{
    m_fieldOfColumn.assign(m_names.size(), -1);
    if (!m_open)
        return;
    for (std::size_t c = 0; c < m_names.size(); ++c)
        if (const Field* field = m_dataSet->findField(m_names[c]))
            m_fieldOfColumn[c] = field->index();
}

int DataSetModel::columnWidth(int column) const
{
    return column >= 0 && column < int(m_widths.size()) ? m_widths[column] : 0;
}

QString DataSetModel::fieldNameAt(int column) const
{
    return column >= 0 && column < int(m_names.size()) ? m_names[column] : QString();
}

int DataSetModel::fieldIndexAt(int column) const
{
    return column >= 0 && column < int(m_fieldOfColumn.size()) ? m_fieldOfColumn[column] : -1;
}

int DataSetModel::dataSetRow(int row) const
{
    if (m_removedCount == 0 || row < m_removedFirst)
        return row;
    return row < m_removedFirst + m_removedCount ? -1 : row - m_removedCount;
}

int DataSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int DataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::TextAlignmentRole)
        return {};
    if (!m_open || !index.isValid() || index.row() >= m_rowCount || index.column() >= columnCount())
        return {};
    const int fieldIndex = m_fieldOfColumn[index.column()];
    const int row = dataSetRow(index.row());
    if (fieldIndex < 0 || row < 0)
        return {};
    const Field& field = m_dataSet->field(fieldIndex);
    if (role == Qt::TextAlignmentRole) {
        const bool number = field.kind() != FieldKind::String;
        return QVariant::fromValue(Qt::Alignment(number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    return field.textOf(m_dataSet->valueAt(row, fieldIndex));
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole)
            return fieldNameAt(section);
        return {};
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    if (role != Qt::DisplayRole)
        return {};
    if (!m_open || section != m_current || section < 0 || section >= m_rowCount)
        return QString();
    switch (m_dataSet->state()) {
    case DataSetState::Insert: return insertMark;
    case DataSetState::Edit: return editMark;
    default: return browseMark;
    }
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    const int fieldIndex = fieldIndexAt(index.column());
    if (m_open && fieldIndex >= 0 && m_dataSet->canModify() && !m_dataSet->field(fieldIndex).readOnly())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool DataSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.row() >= m_rowCount || !(flags(index) & Qt::ItemIsEditable))
        return false;
    auto* editable = dynamic_cast<EditableDataSet*>(m_dataSet);
    if (!editable)
        return false;
    const int row = index.row();
    const QString text = value.toString();
    try {
        // Leaving another row posts it, as moving there in the grid would.
        if (editable->currentRow() != row)
            editable->moveTo(row);
        if (editable->currentRow() != row)
            return false;
        Field& field = editable->field(m_fieldOfColumn[index.column()]);
        if (editable->state() == DataSetState::Browse) {
            // An editor closed without a change starts no edit.
            if (field.asString() == text)
                return true;
            editable->edit();
        }
        field.setAsString(text);
        return true;
    } catch (...) {
        reportError(std::current_exception());
        return false;
    }
}

bool DataSetModel::canFetchMore(const QModelIndex& parent) const
{
    // No rows may come in while others are being announced.
    return !parent.isValid() && m_open && !m_fetchFailed && !m_changingRows && !m_dataSet->allFetched();
}

void DataSetModel::fetchMore(const QModelIndex& parent)
{
    if (canFetchMore(parent))
        fetchRows(m_batchSize ? std::max(1, m_batchSize()) : defaultBatchSize);
}

void DataSetModel::setHoldingRows(bool holding)
{
    m_holding = holding;
    if (!holding)
        showHeldRows();
}

void DataSetModel::showHeldRows()
{
    if (m_heldRows == 0)
        return;
    const int count = m_heldRows;
    m_heldRows = 0;
    insertShownRows(m_rowCount, count);
}

void DataSetModel::fetchRows(int count)
{
    // Fetched rows come after the held ones.
    showHeldRows();
    std::exception_ptr failure;
    m_fetching = true;
    m_fetchedRows = 0;
    try {
        m_dataSet->fetchMore(count);
    } catch (...) {
        failure = std::current_exception();
    }
    m_fetching = false;
    if (m_fetchedRows > 0)
        insertShownRows(m_rowCount, m_fetchedRows);
    if (failure) {
        // The view would ask again at once; the next move of the data set retries.
        m_fetchFailed = true;
        reportError(failure);
    }
}

void DataSetModel::dataSetOpened()
{
    resetToDataSet();
    // A grid asks for its rows as the data set opens, not once events run:
    // whoever reads the record count next finds the rows the grid shows.
    if (m_batchSize && canFetchMore({}))
        fetchRows(m_batchSize());
    emit currentRowMoved(m_current);
}

void DataSetModel::dataSetClosed()
{
    resetToDataSet();
    emit currentRowMoved(-1);
}

void DataSetModel::rowsAdded(int first, int last)
{
    // The first row arrives while the data set opens; the reset then covers it.
    if (!m_open)
        return;
    const int count = last - first + 1;
    if (m_fetching) {
        m_fetchedRows += count;
        return;
    }
    m_fetchFailed = false;
    if (m_holding && first >= m_rowCount) {
        if (m_heldRows == 0)
            emit rowsHeld();
        m_heldRows += count;
        return;
    }
    showHeldRows();
    insertShownRows(std::min(first, m_rowCount), count);
}

void DataSetModel::insertShownRows(int at, int count)
{
    m_changingRows = true;
    beginInsertRows({}, at, at + count - 1);
    m_rowCount += count;
    endInsertRows();
    m_changingRows = false;
}

void DataSetModel::resetToDataSet()
{
    m_changingRows = true;
    beginResetModel();
    takeDataSetState();
    endResetModel();
    m_changingRows = false;
}

void DataSetModel::rowsRemoved(int first, int last)
{
    if (!m_open)
        return;
    // Held rows among the removed ones were never shown.
    if (m_heldRows > 0 && last >= m_rowCount)
        m_heldRows -= std::min(m_heldRows, last - std::max(first, m_rowCount) + 1);
    if (first >= m_rowCount)
        return;
    last = std::min(last, m_rowCount - 1);
    m_changingRows = true;
    m_removedFirst = first;
    m_removedCount = last - first + 1;
    beginRemoveRows({}, first, last);
    m_rowCount -= m_removedCount;
    m_removedFirst = -1;
    m_removedCount = 0;
    endRemoveRows();
    m_changingRows = false;
}

void DataSetModel::rowChanged(int row)
{
    if (!m_open || row < 0 || row >= m_rowCount || columnCount() == 0)
        return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void DataSetModel::currentRowChanged(int row)
{
    const int previous = m_current;
    m_current = row;
    if (!m_open)
        return;
    markChanged(previous);
    markChanged(row);
    emit currentRowMoved(row);
}

void DataSetModel::stateChanged()
{
    if (m_open)
        markChanged(m_current);
}

void DataSetModel::markChanged(int row)
{
    if (row >= 0 && row < m_rowCount)
        emit headerDataChanged(Qt::Vertical, row, row);
}
