#include "GridBinding.h"

#include "DataSetModel.h"
#include "DataSource.h"
#include "EditableDataSet.h"
#include "IndicatorHeader.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <QTimer>
#include <algorithm>

using korvat::DataSet;
using korvat::DataSetState;
using korvat::EditableDataSet;

const QString GridBinding::deleteQuestion = QStringLiteral("Delete record?");

GridBinding::GridBinding(QTableView* view, const korvat::DataSource& source, GridColumnList columns,
                         GridActions actions, QObject* parent)
    : QObject(parent),
      m_view(view),
      m_model(new DataSetModel(source.dataSet(), columns, this)),
      m_actions(std::move(actions))
{
    m_model->setErrorHandler(m_actions.showError);
    // A screenful at a time; with the first row that opening brings, the
    // view then stands filled down to the row just below its bottom.
    m_model->setBatchSize([this] { return m_view ? rowsThatFit() : 1; });
    view->setModel(m_model);
    setUpView(source.dataSet().canModify() && source.autoEdit());

    connect(m_model, &DataSetModel::currentRowMoved, this, &GridBinding::followDataSet);
    connect(m_model, &DataSetModel::rowsHeld, this, &GridBinding::queueCatchUp);
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { viewMoved(current); });
    view->installEventFilter(this);

    if (source.dataSet().active())
        followDataSet(source.dataSet().currentRow());
}

GridBinding::~GridBinding()
{
    if (m_view) {
        m_view->removeEventFilter(this);
        m_view->setModel(nullptr);
    }
}

void GridBinding::setUpView(bool editable)
{
    QHeaderView* titles = m_view->horizontalHeader();
    titles->setSectionResizeMode(QHeaderView::Interactive);
    QFont titleFont = titles->font();
    titleFont.setWeight(QFont::Normal);
    titles->setFont(titleFont);
    // Set once: listed columns stay while the data set closes and opens, and
    // the header keeps their sections, widened by the operator or not.
    for (int c = 0; c < m_model->columnCount(); ++c)
        titles->resizeSection(c, m_model->columnWidth(c) > 0 ? m_model->columnWidth(c)
                                                             : titles->defaultSectionSize());

    // The indicator column: as wide as its widest mark, never measured per row.
    const QFontMetrics metrics(m_view->verticalHeader()->font());
    int markWidth = 0;
    for (const QString& mark : {DataSetModel::browseMark, DataSetModel::insertMark, DataSetModel::editMark})
        markWidth = std::max(markWidth, metrics.horizontalAdvance(mark));
    if (!qobject_cast<IndicatorHeader*>(m_view->verticalHeader()))
        m_view->setVerticalHeader(new IndicatorHeader(m_view));
    QHeaderView* indicator = m_view->verticalHeader();
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    indicator->setFixedWidth(markWidth + 8);

    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    if (editable)
        m_view->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                                QAbstractItemView::EditKeyPressed);
    else
        m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

int GridBinding::shownHeight() const
{
    if (m_view->isVisible())
        return m_view->viewport()->height();
    // A grid on a page not shown yet has no size of its own: it gets the
    // area of the nearest shown widget it sits in, less its frame and titles.
    const QWidget* area = m_view->parentWidget();
    while (area && !area->isVisible())
        area = area->parentWidget();
    if (!area)
        return m_view->viewport()->height();
    const QHeaderView* titles = m_view->horizontalHeader();
    return area->contentsRect().height() - 2 * m_view->frameWidth() -
           (titles->isHidden() ? 0 : titles->sizeHint().height());
}

int GridBinding::rowsThatFit() const
{
    const int rowHeight = std::max(1, m_view->verticalHeader()->defaultSectionSize());
    return std::max(1, (shownHeight() + rowHeight - 1) / rowHeight);
}

void GridBinding::setFollowingLater(bool later)
{
    m_model->setHoldingRows(later);
    if (!later && m_catchUpQueued)
        catchUp();
}

void GridBinding::catchUp()
{
    m_catchUpQueued = false;
    m_model->showHeldRows();
    if (DataSet* dataSet = m_model->dataSet(); dataSet && dataSet->active())
        moveViewTo(dataSet->currentRow());
}

void GridBinding::followDataSet(int row)
{
    if (!m_model->holdingRows()) {
        moveViewTo(row);
        return;
    }
    queueCatchUp();
}

void GridBinding::queueCatchUp()
{
    if (m_catchUpQueued)
        return;
    m_catchUpQueued = true;
    QTimer::singleShot(catchUpDelayMs, this, [this] {
        if (m_catchUpQueued)
            catchUp();
    });
}

void GridBinding::moveViewTo(int row)
{
    if (!m_view || row < 0 || m_model->columnCount() == 0)
        return;
    const QModelIndex current = m_view->currentIndex();
    const QModelIndex target = m_model->index(row, current.isValid() ? current.column() : 0);
    if (!target.isValid())
        return;
    if (current != target) {
        m_following = true;
        m_view->setCurrentIndex(target);
        m_following = false;
    }
    m_view->scrollTo(target);
}

void GridBinding::viewMoved(const QModelIndex& current)
{
    // Moves the view makes on its own while rows come and go are not the operator's.
    if (m_following || m_model->changingRows() || !current.isValid())
        return;
    DataSet* dataSet = m_model->dataSet();
    if (!dataSet || !dataSet->active() || current.row() == dataSet->currentRow())
        return;
    try {
        dataSet->moveTo(current.row());
    } catch (...) {
        m_model->reportError(std::current_exception());
    }
    // A post that failed keeps the data set where it was: so must the view,
    // once the selection model has finished this change.
    if (dataSet->active() && dataSet->currentRow() != current.row())
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (DataSet* ds = m_model->dataSet(); ds && ds->active())
                    moveViewTo(ds->currentRow());
            },
            Qt::QueuedConnection);
}

bool GridBinding::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_view || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    // Keys a cell editor passes on belong to the editing, not to row moves.
    const QWidget* focus = QApplication::focusWidget();
    if (focus && focus != m_view && m_view->isAncestorOf(focus))
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_Down && modifiers == Qt::NoModifier)
        return moveBelowLastRow();
    if (key->key() == Qt::Key_Delete && modifiers == Qt::ControlModifier)
        return deleteCurrentRow();
    return QObject::eventFilter(watched, event);
}

bool GridBinding::moveBelowLastRow()
{
    DataSet* dataSet = m_model->dataSet();
    const QModelIndex current = m_view->currentIndex();
    if (!dataSet || !dataSet->active() || !current.isValid() || current.row() != m_model->rowCount() - 1)
        return false;
    auto* editable = dynamic_cast<EditableDataSet*>(dataSet);
    try {
        if (!dataSet->allFetched()) {
            // The row below is on the server yet: moving there fetches it.
            dataSet->moveTo(current.row() + 1);
        } else if (editable) {
            // A blank new row is not followed by another.
            if (editable->state() == DataSetState::Insert && !editable->modified())
                return true;
            editable->append();
        } else {
            return false;
        }
    } catch (...) {
        m_model->reportError(std::current_exception());
    }
    return true;
}

bool GridBinding::deleteCurrentRow()
{
    auto* editable = dynamic_cast<EditableDataSet*>(m_model->dataSet());
    if (!editable || !editable->active() || m_model->rowCount() == 0)
        return false;
    if (!m_actions.confirm || !m_actions.confirm(deleteQuestion))
        return true;
    try {
        editable->deleteCurrent();
    } catch (...) {
        m_model->reportError(std::current_exception());
    }
    return true;
}
