#pragma once

#include "DataSetObserver.h"
#include "GridColumns.h"

#include <QAbstractTableModel>
#include <QString>
#include <exception>
#include <functional>
#include <vector>

namespace korvat {
class DataSet;
}

// A grid's view of one data set: one column per listed field (or per field
// of the data set when no list is given), one row per row the data set shows.
// Rows come in as the data set fetches them; every change the data set
// reports becomes the matching model signal for just the rows concerned, so
// following a long walk costs the same for each row.
//
// The vertical header is the indicator column: it marks the data set's
// current row with browseMark, insertMark or editMark by the data set's state.
//
// A data set that goes away first detaches the model on its way out.
class DataSetModel : public QAbstractTableModel, private korvat::DataSetObserver {
    Q_OBJECT

public:
    // Receives the errors that a change typed into the grid raises; they must
    // not unwind through Qt's event handling.
    using ErrorHandler = std::function<void(std::exception_ptr)>;
    // How many rows one fetchMore asks of the data set; when set, as many
    // rows are fetched at once whenever the data set opens.
    using BatchSize = std::function<int()>;

    static const QString browseMark;  // "▶"
    static const QString insertMark;  // "*"
    static const QString editMark;    // "✎"

    // An empty column list stands for every field of the data set, in result order.
    explicit DataSetModel(korvat::DataSet& dataSet, GridColumnList columns = {}, QObject* parent = nullptr);
    ~DataSetModel() override;

    // The followed data set; null after detach().
    korvat::DataSet* dataSet() const { return m_dataSet; }
    // Stops following the data set and empties the model.
    void detach();

    void setErrorHandler(ErrorHandler handler) { m_errorHandler = std::move(handler); }
    void setBatchSize(BatchSize batchSize) { m_batchSize = std::move(batchSize); }
    // Hands a caught error to the error handler.
    void reportError(std::exception_ptr error) const;

    // The width the column list gives; 0 for the grid's default.
    int columnWidth(int column) const;
    QString fieldNameAt(int column) const;
    // The data set's field shown in a column; -1 when the data set lacks it.
    int fieldIndexAt(int column) const;
    // True while rows are being inserted, removed or reset.
    bool changingRows() const { return m_changingRows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // While holding, rows the data set adds at its end are counted but shown
    // to the views only by showHeldRows(), all at once: a view lays itself out
    // again for every insert it is told of. Ending the hold shows them.
    void setHoldingRows(bool holding);
    bool holdingRows() const { return m_holding; }
    void showHeldRows();

signals:
    // A row was held while none was: the holder may show it when it suits.
    void rowsHeld();
    // The data set stands on another row (-1: none); also after it opened or closed.
    void currentRowMoved(int row);

private:
    void dataSetOpened() override;
    void dataSetClosed() override;
    void dataSetDestroyed() override { detach(); }
    void rowsAdded(int first, int last) override;
    void rowsRemoved(int first, int last) override;
    void rowChanged(int row) override;
    void currentRowChanged(int row) override;
    void stateChanged() override;

    void fetchRows(int count);
    // Tells the views of `count` rows now shown from `at` on.
    void insertShownRows(int at, int count);
    // Takes the data set's whole state again, as a model reset.
    void resetToDataSet();
    void takeDataSetState();
    void resolveFields();
    // The data set's row behind a model row; -1 for a row being removed.
    int dataSetRow(int row) const;
    void markChanged(int row);

    korvat::DataSet* m_dataSet;
    const bool m_allFields;
    std::vector<QString> m_names;
    std::vector<int> m_widths;
    std::vector<int> m_fieldOfColumn;
    bool m_open = false;
    int m_rowCount = 0;
    int m_current = -1;
    bool m_changingRows = false;
    // While removal is announced, the data set has already dropped these rows.
    int m_removedFirst = -1;
    int m_removedCount = 0;
    // fetchMore announces its rows at once rather than one by one.
    bool m_fetching = false;
    int m_fetchedRows = 0;
    bool m_holding = false;
    int m_heldRows = 0;
    // A fetch that failed is not retried by the view, only by a move of the data set.
    bool m_fetchFailed = false;
    ErrorHandler m_errorHandler;
    BatchSize m_batchSize;
};
