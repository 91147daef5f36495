#include "ErrorDisplay.h"
#include "ApplicationTitle.h"

#include "DialogService.h"
#include "ErrorText.h"

#include <QApplication>
#include <QWidget>
#include <QtDebug>

ErrorDisplay::ErrorDisplay(DialogService& dialogs, QWidget* owner) : m_dialogs(&dialogs), m_owner(owner)
{
}

bool ErrorDisplay::run(const std::function<void()>& handler) noexcept
{
    try {
        handler();
        return true;
    } catch (...) {
        show(std::current_exception());
        return false;
    }
}

void ErrorDisplay::show(std::exception_ptr error) noexcept
{
    if (!error)
        return;
    try {
        // A drag in progress would otherwise keep the mouse from the box.
        if (QWidget* grabber = QWidget::mouseGrabber())
            grabber->releaseMouse();
        m_dialogs->messageBox(m_owner, applicationTitle(), messageForErrorBox(error), DialogButtons::Ok,
                              DialogIcon::Error);
    } catch (const std::exception& failure) {
        qCritical("The error could not be shown: %s", failure.what());
    } catch (...) {
        qCritical("The error could not be shown.");
    }
}
