#pragma once

#include <QPointer>
#include <exception>
#include <functional>

class DialogService;
class QWidget;

// Where the errors that the window's handlers raise end: the handler stops at
// the failing step, the error is shown in a modal box and the window goes on.
// Nothing a handler throws may reach Qt's event dispatch.
class ErrorDisplay {
public:
    ErrorDisplay(DialogService& dialogs, QWidget* owner);

    // Runs the handler; true when it ran to its end, false when it raised an
    // error, which has then been shown.
    bool run(const std::function<void()>& handler) noexcept;

    // Shows a caught error: error icon, the application title as caption, one
    // OK button and the error's message.
    void show(std::exception_ptr error) noexcept;

private:
    DialogService* m_dialogs;
    QPointer<QWidget> m_owner;
};
