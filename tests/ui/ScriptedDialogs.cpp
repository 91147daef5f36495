#include "ScriptedDialogs.h"

#include <QApplication>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

bool offers(DialogButtons buttons, DialogButton button)
{
    switch (buttons) {
    case DialogButtons::Ok: return button == DialogButton::Ok;
    case DialogButtons::YesNo: return button == DialogButton::Yes || button == DialogButton::No;
    case DialogButtons::OkCancel: return button == DialogButton::Ok || button == DialogButton::Cancel;
    case DialogButtons::YesNoCancel: return button != DialogButton::Ok;
    }
    return false;
}

// The answer that lets an action go on least far.
DialogButton negativeAnswer(DialogButtons buttons)
{
    switch (buttons) {
    case DialogButtons::YesNo: return DialogButton::No;
    case DialogButtons::OkCancel:
    case DialogButtons::YesNoCancel: return DialogButton::Cancel;
    case DialogButtons::Ok: break;
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
    case ScriptedDialogs::Kind::MessageBox: return "message box";
    case ScriptedDialogs::Kind::SimpleMessage: return "simple message";
    case ScriptedDialogs::Kind::OpenFile: return "file-open dialog";
    }
    return "dialog";
}

ScriptedDialogs& ScriptedDialogs::press(DialogButton button)
{
    m_answers.push_back({Answer::Kind::Button, button, QString()});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::chooseFile(const QString& path)
{
    m_answers.push_back({Answer::Kind::File, DialogButton::Ok, path});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::cancelFile()
{
    m_answers.push_back({Answer::Kind::CancelledFile, DialogButton::Cancel, QString()});
    return *this;
}

const ScriptedDialogs::Call& ScriptedDialogs::lastCall() const
{
    static const Call none = newCall(Kind::MessageBox, nullptr, QString(), u"<no dialog was shown>"_s);
    return m_calls.isEmpty() ? none : m_calls.constLast();
}

int ScriptedDialogs::unansweredCount() const
{
    return int(
        std::count_if(m_calls.cbegin(), m_calls.cend(), [](const Call& call) { return !call.answered; }));
}

bool ScriptedDialogs::answer(Call& call, Answer& next)
{
    if (!m_answers.empty()) {
        next = m_answers.front();
        m_answers.pop_front();
    }
    const bool fits = call.kind == Kind::OpenFile
                          ? next.kind == Answer::Kind::File || next.kind == Answer::Kind::CancelledFile
                          : next.kind == Answer::Kind::Button && offers(call.buttons, next.button);
    call.answered = fits;
    m_calls.append(call);
    if (!fits) {
        const QByteArray message =
            u"Unscripted %1 \"%2\": \"%3\" (%4)"_s
                .arg(QString::fromLatin1(kindName(call.kind)), call.caption, call.text,
                     next.kind == Answer::Kind::None ? u"no answer queued"_s
                                                     : u"the queued answer does not fit"_s)
                .toUtf8();
        // QFAIL would only leave this function; qFail marks the running test failed.
        QTest::qFail(message.constData(), __FILE__, __LINE__);
    }
    return fits;
}

DialogButton ScriptedDialogs::messageBox(QWidget* parent, const QString& caption, const QString& text,
                                         DialogButtons buttons, DialogIcon icon)
{
    Call call = newCall(Kind::MessageBox, parent, caption, text);
    call.buttons = buttons;
    call.icon = icon;
    Answer next;
    return answer(call, next) ? next.button : negativeAnswer(buttons);
}

void ScriptedDialogs::showSimpleMessage(QWidget* parent, const QString& text)
{
    Call call = newCall(Kind::SimpleMessage, parent, QApplication::applicationDisplayName(), text);
    Answer next;
    answer(call, next);
}

std::optional<QString> ScriptedDialogs::openFile(QWidget* parent, const QString& lastFileName,
                                                 const OpenDialogSettings& settings)
{
    Call call = newCall(Kind::OpenFile, parent, QString(), lastFileName);
    call.settings = settings;
    Answer next;
    if (answer(call, next) && next.kind == Answer::Kind::File)
        return next.path;
    return std::nullopt;
}
