#include "ProgressBar.h"

#include <algorithm>

void ProgressBar::setMaximumPosition(int maximum)
{
    m_maximum = std::max(maximum, 0);
    // A range of 0..0 would animate as busy; 0..1 at 0 looks empty.
    setRange(0, std::max(m_maximum, 1));
    setPosition(m_position);
}

void ProgressBar::setPosition(int position)
{
    m_position = std::clamp(position, 0, m_maximum);
    if (!m_showingLater || m_position == 0 || m_position == m_maximum)
        showPosition();
}

void ProgressBar::setShowingLater(bool later)
{
    m_showingLater = later;
    if (!later)
        showPosition();
}

void ProgressBar::showPosition()
{
    if (!m_showingLater) {
        setValue(m_position);
        return;
    }
    if (value() == m_position)
        return;
    // QProgressBar::setValue paints the bar at once, a paint and a flush of
    // its own; during a transfer the window's next paint draws it with
    // whatever else changed.
    setUpdatesEnabled(false);
    setValue(m_position);
    setUpdatesEnabled(true);  // schedules the paint
}
