#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <memory>
#include <vector>

class GridBinding;
class ProgressBar;
class QWidget;

// Keeps a window painting while a transfer runs inside one of its handlers,
// and keeps the operator's input away from it meanwhile (the transfer's own
// message boxes still take theirs). Input that arrives is dropped, not kept
// for later, so a second click cannot start another transfer afterwards; a
// request to close the window is refused. It is a child of the window for
// its life, so the window can find the transfer that runs. Meanwhile the
// window's grids take their data sets' new rows in once a second and the bar
// its new positions when the window paints, not at every row.
class TransferGuard : public QObject {
    Q_OBJECT

public:
    TransferGuard(QWidget* window, const std::vector<std::unique_ptr<GridBinding>>& grids,
                  ProgressBar* bar = nullptr);
    explicit TransferGuard(QWidget* window, ProgressBar* bar = nullptr);
    ~TransferGuard() override;
    TransferGuard(const TransferGuard&) = delete;
    TransferGuard& operator=(const TransferGuard&) = delete;

    // Lets the window paint what changed, at most five times a second so
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
    QPointer<ProgressBar> m_bar;
    QElapsedTimer m_sincePaint;
    bool m_stopRequested = false;
};
