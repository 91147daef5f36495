#pragma once

#include <QString>
#include <memory>
#include <optional>

class QFileDialog;
class QMessageBox;
class QWidget;

// The buttons a message box offers and the one the operator pressed.
enum class DialogButtons {
    Ok,
    YesNo,
    OkCancel,
    YesNoCancel
};
enum class DialogButton {
    Ok,
    Cancel,
    Yes,
    No
};
enum class DialogIcon {
    None,
    Error
};

// How a file-open dialog is set up. The defaults are those of the window's
// one dialog: every file listed, the system's own title, the chosen name
// taken as it is (existing or not) and a frame the operator may resize.
// It always asks for one file and offers no read-only check box.
struct OpenDialogSettings {
    QString filter;
    QString title;
    bool checkExistence = false;
    bool resizable = true;

    friend bool operator==(const OpenDialogSettings&, const OpenDialogSettings&) = default;
};

// Every dialog the window shows goes through here, so that tests can answer
// them from a script instead of a modal loop.
class DialogService {
public:
    virtual ~DialogService() = default;

    // An application message box: modal, owned by the active window.
    virtual DialogButton messageBox(QWidget* parent, const QString& caption, const QString& text,
                                    DialogButtons buttons, DialogIcon icon) = 0;

    // The toolkit's simple message dialog, captioned with the application title.
    virtual void showSimpleMessage(QWidget* parent, const QString& text) = 0;

    // A file-open dialog offering lastFileName; the chosen path, or nothing when cancelled.
    virtual std::optional<QString> openFile(QWidget* parent, const QString& lastFileName,
                                            const OpenDialogSettings& settings) = 0;
};

// The dialogs of the platform.
class QtDialogService : public DialogService {
public:
    DialogButton messageBox(QWidget* parent, const QString& caption, const QString& text,
                            DialogButtons buttons, DialogIcon icon) override;
    void showSimpleMessage(QWidget* parent, const QString& text) override;
    std::optional<QString> openFile(QWidget* parent, const QString& lastFileName,
                                    const OpenDialogSettings& settings) override;

    // The dialogs as they are built before being run; apart so that their
    // settings can be checked without running a modal loop.
    static std::unique_ptr<QMessageBox> createMessageBox(QWidget* owner, const QString& caption,
                                                         const QString& text, DialogButtons buttons,
                                                         DialogIcon icon);
    static std::unique_ptr<QFileDialog> createFileDialog(QWidget* owner, const QString& lastFileName,
                                                         const OpenDialogSettings& settings);

    // The button a box's result stands for; a box closed without one of its
    // buttons counts as its negative answer.
    static DialogButton answerOf(int standardButton, DialogButtons buttons);

    // The active window of the program when there is one, parent otherwise.
    static QWidget* ownerFor(QWidget* parent);
};
