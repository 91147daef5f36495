#pragma once

#include <QProgressBar>

// The window's progress bar: a position that stays within 0..maximum (a
// position set above the maximum stands at the maximum) and reads back as
// the bar shows it. A maximum of 0 shows an empty bar, never a busy one.
class ProgressBar : public QProgressBar {
    Q_OBJECT

public:
    using QProgressBar::QProgressBar;

    int maximumPosition() const { return m_maximum; }
    void setMaximumPosition(int maximum);
    int position() const { return m_position; }
    void setPosition(int position);

    // While a transfer runs, a new position is drawn only when shown (when
    // the window paints) or when it fills the bar: each step drawn at once
    // would cost a row more than its statements.
    void setShowingLater(bool later);
    void showPosition();

private:
    int m_maximum = 100;
    int m_position = 0;
    bool m_showingLater = false;
};
