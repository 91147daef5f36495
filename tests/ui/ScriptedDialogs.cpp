#include "ScriptedDialogs.h"

#include <QApplication>
#include <QTest>

namespace {

bool offers(DialogButtons buttons, DialogButton button)
{
    switch (buttons) {
    case DialogButtons::Ok:
        return button == DialogButton::Ok;
    case DialogButtons::YesNo:
        return button == DialogButton::Yes || button == DialogButton::No;
    case DialogButtons::OkCancel:
        return button == DialogButton::Ok || button == DialogButton::Cancel;
    }
    return false;
}

// The answer that lets an action go on least far.
DialogButton negativeAnswer(DialogButtons buttons)
{
    switch (buttons) {
    case DialogButtons::YesNo:
        return DialogButton::No;
    case DialogButtons::OkCancel:
        return DialogButton::Cancel;
    case DialogButtons::Ok:
        break;
    }
    return DialogButton::Ok;
}

ScriptedDialogs::Call newCall(ScriptedDialogs::Kind kind, QWidget* parent, const QString& caption,
                              const QString& text)
{
    ScriptedDialogs::Call call;
    call.kind = kind;
    call.parent = parent;
    call.caption = caption;
    call.text = text;
    return call;
}

}  // namespace

const char* kindName(ScriptedDialogs::Kind kind)
{
    switch (kind) {
    case ScriptedDialogs::Kind::MessageBox:
        return "message box";
    case ScriptedDialogs::Kind::SimpleMessage:
        return "simple message";
    case ScriptedDialogs::Kind::OpenFile:
        return "file-open dialog";
    }
    return "dialog";
}

ScriptedDialogs& ScriptedDialogs::press(DialogButton button)
{
    m_answers.emplace_back(button);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::chooseFile(const QString& path)
{
    m_answers.emplace_back(path);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::cancelFile()
{
    m_answers.emplace_back(CancelledFile{});
    return *this;
}

const ScriptedDialogs::Call& ScriptedDialogs::lastCall() const
{
    static const Call none = [] {
        Call call;
        call.text = QStringLiteral("<no dialog was shown>");
        return call;
    }();
    return m_calls.isEmpty() ? none : m_calls.constLast();
}

int ScriptedDialogs::unansweredCount() const
{
    return int(std::count_if(m_calls.cbegin(), m_calls.cend(),
                             [](const Call& call) { return !call.answered; }));
}

std::optional<ScriptedDialogs::Answer> ScriptedDialogs::takeAnswer()
{
    if (m_answers.empty())
        return std::nullopt;
    Answer answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer;
}

void ScriptedDialogs::failUnanswered(const Call& call, const QString& why)
{
    const QByteArray message = QStringLiteral("Unscripted %1 \"%2\": \"%3\" (%4)")
                                   .arg(QString::fromLatin1(kindName(call.kind)), call.caption,
                                        call.text, why)
                                   .toUtf8();
    // QFAIL would only leave this function; qFail marks the running test failed.
    QTest::qFail(message.constData(), __FILE__, __LINE__);
}

DialogButton ScriptedDialogs::messageBox(QWidget* parent, const QString& caption,
                                         const QString& text, DialogButtons buttons,
                                         DialogIcon icon)
{
    Call call = newCall(Kind::MessageBox, parent, caption, text);
    call.buttons = buttons;
    call.icon = icon;
    DialogButton pressed = negativeAnswer(buttons);
    const std::optional<Answer> answer = takeAnswer();
    const DialogButton* button = answer ? std::get_if<DialogButton>(&*answer) : nullptr;
    if (!answer)
        failUnanswered(call, QStringLiteral("no answer queued"));
    else if (!button || !offers(buttons, *button))
        failUnanswered(call, QStringLiteral("the queued answer is not one of its buttons"));
    else {
        pressed = *button;
        call.answered = true;
    }
    m_calls.append(call);
    return pressed;
}

void ScriptedDialogs::showSimpleMessage(QWidget* parent, const QString& text)
{
    Call call = newCall(Kind::SimpleMessage, parent, QApplication::applicationDisplayName(), text);
    const std::optional<Answer> answer = takeAnswer();
    const DialogButton* button = answer ? std::get_if<DialogButton>(&*answer) : nullptr;
    if (!answer)
        failUnanswered(call, QStringLiteral("no answer queued"));
    else if (!button || *button != DialogButton::Ok)
        failUnanswered(call, QStringLiteral("it has only an OK button"));
    else
        call.answered = true;
    m_calls.append(call);
}

std::optional<QString> ScriptedDialogs::openFile(QWidget* parent, const QString& lastFileName,
                                                 const OpenDialogSettings& settings)
{
    Call call = newCall(Kind::OpenFile, parent, QString(), lastFileName);
    call.settings = settings;
    std::optional<QString> chosen;
    const std::optional<Answer> answer = takeAnswer();
    if (!answer) {
        failUnanswered(call, QStringLiteral("no answer queued"));
    } else if (const QString* path = std::get_if<QString>(&*answer)) {
        chosen = *path;
        call.answered = true;
    } else if (std::holds_alternative<CancelledFile>(*answer)) {
        call.answered = true;
    } else {
        failUnanswered(call, QStringLiteral("the queued answer is a button"));
    }
    m_calls.append(call);
    return chosen;
}
