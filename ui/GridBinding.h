#pragma once

#include "GridActions.h"
#include "GridColumns.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTableView>

class DataSetModel;

namespace korvat {
class DataSource;
}

// Shows a data source's data set in a table view and keeps the two in step:
// the view's current row follows the data set's (and scrolls to it), and
// moving in the view moves the data set, which posts a pending change. On an
// editable data set, Key_Down on the last row appends a new row and
// Ctrl+Delete deletes the current row once confirmed.
//
// The binding leaves the view unbound when it goes; it must go before the
// data source's data set does, and while the view is whole (so its parent is
// never the view itself).
class GridBinding : public QObject {
    Q_OBJECT

public:
    static const QString deleteQuestion;

    // An empty column list shows every field of the data set at default widths;
    // a width of 0 in the list also means the default.
    GridBinding(QTableView* view, const korvat::DataSource& source, GridColumnList columns,
                GridActions actions, QObject* parent = nullptr);
    ~GridBinding() override;

    DataSetModel* model() const { return m_model; }
    QTableView* view() const { return m_view; }

    // While set, the view catches up with the data set's rows and current row
    // when the event loop runs a second after the first change rather than at
    // every change: a transfer adds and moves thousands of times a second,
    // and each catch-up lays the view out and paints it anew. Clearing it
    // catches up at once.
    void setFollowingLater(bool later);
    static constexpr int catchUpDelayMs = 1000;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setUpView(bool editable);
    void followDataSet(int row);
    void moveViewTo(int row);
    void queueCatchUp();
    void catchUp();
    void viewMoved(const QModelIndex& current);
    bool moveBelowLastRow();
    bool deleteCurrentRow();
    int shownHeight() const;
    int rowsThatFit() const;

    QPointer<QTableView> m_view;
    DataSetModel* m_model;
    GridActions m_actions;
    // Set while the view is being moved to the data set's row.
    bool m_following = false;
    bool m_catchUpQueued = false;
};
