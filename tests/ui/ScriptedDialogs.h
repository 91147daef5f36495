#pragma once

#include "DialogService.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <deque>

// Dialogs answered from a script: each dialog shown takes the next queued
// answer and is recorded. A dialog shown without a fitting answer fails the
// running test and gets the answer that stops the action, so no test waits
// on a modal loop.
class ScriptedDialogs : public DialogService {
public:
    enum class Kind {
        MessageBox,
        SimpleMessage,
        OpenFile
    };

    struct Call {
        Kind kind = Kind::MessageBox;
        QPointer<QWidget> parent;
        QString caption;  // the application title for a simple message
        QString text;     // the file name offered for a file-open dialog
        DialogButtons buttons = DialogButtons::Ok;
        DialogIcon icon = DialogIcon::None;
        OpenDialogSettings settings;
        bool answered = false;
    };

    // Queue the answer to the next dialog: a button of a message box or of
    // the simple message dialog, a file chosen, or a cancelled file-open dialog.
    ScriptedDialogs& press(DialogButton button);
    ScriptedDialogs& chooseFile(const QString& path);
    ScriptedDialogs& cancelFile();

    const QList<Call>& calls() const { return m_calls; }
    const Call& lastCall() const;
    qsizetype pendingAnswers() const { return qsizetype(m_answers.size()); }
    int unansweredCount() const;

    DialogButton messageBox(QWidget* parent, const QString& caption, const QString& text,
                            DialogButtons buttons, DialogIcon icon) override;
    void showSimpleMessage(QWidget* parent, const QString& text) override;
    std::optional<QString> openFile(QWidget* parent, const QString& lastFileName,
                                    const OpenDialogSettings& settings) override;

private:
    struct Answer {
        enum class Kind {
            None,
            Button,
            File,
            CancelledFile
        } kind = Kind::None;
        DialogButton button = DialogButton::Ok;
        QString path;
    };

    // Takes the next queued answer into next and records the call; a missing
    // or unfitting answer fails the running test and gives false.
    bool answer(Call& call, Answer& next);

    std::deque<Answer> m_answers;
    QList<Call> m_calls;
};

const char* kindName(ScriptedDialogs::Kind kind);
