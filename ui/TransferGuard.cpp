#include "TransferGuard.h"

#include "GridBinding.h"
#include "ProgressBar.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {

// Five frames a second show the bar advancing; painting a full window with
// its grids more often weighs on every row carried.
constexpr qint64 paintIntervalMs = 200;

bool isOperatorInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
    case QEvent::Close: return true;
    default: return false;
    }
}

}  // namespace

TransferGuard::TransferGuard(QWidget* window, const std::vector<std::unique_ptr<GridBinding>>& grids,
                             ProgressBar* bar)
    : QObject(window), m_window(window), m_bar(bar)
{
    if (m_bar)
        m_bar->setShowingLater(true);
    for (const std::unique_ptr<GridBinding>& grid : grids) {
        grid->setFollowingLater(true);
        m_grids.push_back(grid.get());
    }
    qApp->installEventFilter(this);
    m_sincePaint.start();
}

TransferGuard::TransferGuard(QWidget* window, ProgressBar* bar) : TransferGuard(window, {}, bar)
{
}

TransferGuard::~TransferGuard()
{
    qApp->removeEventFilter(this);
    for (GridBinding* grid : m_grids)
        grid->setFollowingLater(false);
    if (m_bar)
        m_bar->setShowingLater(false);
}

void TransferGuard::keepPainting()
{
    if (m_sincePaint.elapsed() < paintIntervalMs)
        return;
    m_sincePaint.restart();
    if (m_bar)
        m_bar->showPosition();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool TransferGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_window || !isOperatorInput(event->type()) || !watched->isWidgetType())
        return false;
    // Only the window itself is kept from input; a message box the transfer
    // shows is a window of its own.
    if (static_cast<QWidget*>(watched)->window() != m_window)
        return false;
    // A close event counts as accepted unless refused: filtered out alone,
    // it would still hide the window while the transfer goes on unseen.
    if (event->type() == QEvent::Close)
        event->ignore();
    return true;
}
