#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <memory>
#include <vector>

class GridBinding;
class QWidget;

// Keeps a window painting while a transfer runs inside one of its handlers,
// and keeps the operator's input away from it meanwhile (the transfer's own
// message boxes still take theirs). Input that arrives is dropped, not kept
// for later, so a second click cannot start another transfer afterwards; a
// request to close the window is refused. It is a child of the window for
// its life, so the window can find the transfer that runs. Meanwhile the
// window's grids take their data sets' new rows in when the window paints,
// not at every row.
class TransferGuard : public QObject {
    Q_OBJECT

public:
    TransferGuard(QWidget* window, const std::vector<std::unique_ptr<GridBinding>>& grids);
    explicit TransferGuard(QWidget* window);
    ~TransferGuard() override;
    TransferGuard(const TransferGuard&) = delete;
    TransferGuard& operator=(const TransferGuard&) = delete;

    // Lets the window paint what changed, at most ten times a second so
    // that a row costs nothing when the screen need not be drawn.
    void keepPainting();

    // Asks the transfer to stop at its next row boundary.
    void stopAtNextRow() { m_stopRequested = true; }
    bool stopRequested() const { return m_stopRequested; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_window;
    std::vector<GridBinding*> m_grids;
    QElapsedTimer m_sincePaint;
    bool m_stopRequested = false;
};
