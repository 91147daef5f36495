#include "ErrorDisplay.h"
#include "Errors.h"
#include "ScriptedDialogs.h"
#include "UiTest.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <stdexcept>

namespace {

// Dialogs that cannot show anything at all.
class BrokenDialogs : public DialogService {
public:
    DialogButton messageBox(QWidget*, const QString&, const QString&, DialogButtons, DialogIcon) override
    {
        throw std::runtime_error("no display");
    }
    void showSimpleMessage(QWidget*, const QString&) override { }
    std::optional<QString> openFile(QWidget*, const QString&, const OpenDialogSettings&) override
    {
        return std::nullopt;
    }
};

}  // namespace

class ErrorDisplayTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_dialogs = std::make_unique<ScriptedDialogs>(); }
    void cleanup() { QCOMPARE(m_dialogs->pendingAnswers(), 0); }

    void raisedErrorIsShownWithItsMessage_data()
    {
        QTest::addColumn<QString>("raised");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ends in a letter")
            << u"qryStok: Field 'ENVANTER' not found"_s << u"qryStok: Field 'ENVANTER' not found."_s;
        QTest::newRow("ends in a digit") << u"code 335544344"_s << u"code 335544344."_s;
        QTest::newRow("ends in a parenthesis")
            << u"attach failed (database file)"_s << u"attach failed (database file)"_s;
        QTest::newRow("ends in a period") << u"Done."_s << u"Done."_s;
        QTest::newRow("empty") << QString() << QString();
    }
    void raisedErrorIsShownWithItsMessage()
    {
        QFETCH(QString, raised);
        QFETCH(QString, shown);
        QWidget owner;
        ErrorDisplay display(*m_dialogs, &owner);
        m_dialogs->press(DialogButton::Ok);

        QVERIFY(!display.run([&] { throw korvat::LayerError(raised); }));
        QCOMPARE(m_dialogs->calls().size(), 1);
        const ScriptedDialogs::Call& box = m_dialogs->lastCall();
        QCOMPARE(box.kind, ScriptedDialogs::Kind::MessageBox);
        QCOMPARE(box.text, shown);
        QCOMPARE(box.caption, QApplication::applicationDisplayName());
        QCOMPARE(box.icon, DialogIcon::Error);
        QCOMPARE(box.buttons, DialogButtons::Ok);
        QCOMPARE(box.parent.data(), &owner);
    }

    void innermostNonEmptyMessageIsShown()
    {
        ErrorDisplay display(*m_dialogs, nullptr);
        m_dialogs->press(DialogButton::Ok);
        display.run([] {
            try {
                throw korvat::ServerError(u"I/O error during \"open\""_s, -902, 335544344);
            } catch (...) {
                std::throw_with_nested(korvat::LayerError(u"outer"_s));
            }
        });
        QCOMPARE(m_dialogs->lastCall().text, u"I/O error during \"open\""_s);
    }

    void anythingThrownIsCaught()
    {
        ErrorDisplay display(*m_dialogs, nullptr);
        m_dialogs->press(DialogButton::Ok).press(DialogButton::Ok);
        QVERIFY(!display.run([] { throw 42; }));
        QCOMPARE(m_dialogs->lastCall().text, u"Unknown error."_s);
        QVERIFY(!display.run([] { throw std::out_of_range("index 7"); }));
        QCOMPARE(m_dialogs->lastCall().text, u"index 7."_s);
    }

    void handlerThatSucceedsShowsNothing()
    {
        ErrorDisplay display(*m_dialogs, nullptr);
        bool ran = false;
        QVERIFY(display.run([&] { ran = true; }));
        QVERIFY(ran);
        QVERIFY(m_dialogs->calls().isEmpty());
    }

    void mouseCaptureIsReleasedBeforeTheBox()
    {
        QWidget grabbing;
        grabbing.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grabbing));
        grabbing.grabMouse();
        QCOMPARE(QWidget::mouseGrabber(), &grabbing);

        ErrorDisplay display(*m_dialogs, &grabbing);
        m_dialogs->press(DialogButton::Ok);
        display.run([] { throw korvat::LayerError(u"x"_s); });
        QVERIFY(!QWidget::mouseGrabber());
    }

    void failureToShowTheBoxDoesNotEscape()
    {
        BrokenDialogs broken;
        ErrorDisplay display(broken, nullptr);
        QTest::ignoreMessage(QtCriticalMsg, "The error could not be shown: no display");
        QVERIFY(!display.run([] { throw korvat::LayerError(u"x"_s); }));
    }

private:
    std::unique_ptr<ScriptedDialogs> m_dialogs;
};

UI_TEST(ErrorDisplayTest);

#include "ErrorDisplayTest.moc"
