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
    DialogButton messageBox(QWidget*, const QString&, const QString&, DialogButtons,
                            DialogIcon) override
    {
        throw std::runtime_error("no display");
    }
    void showSimpleMessage(QWidget*, const QString&) override {}
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
            << QStringLiteral("qryStok: Field 'ENVANTER' not found")
            << QStringLiteral("qryStok: Field 'ENVANTER' not found.");
        QTest::newRow("ends in a digit") << QStringLiteral("code 335544344")
                                         << QStringLiteral("code 335544344.");
        QTest::newRow("ends in a parenthesis") << QStringLiteral("attach failed (database file)")
                                               << QStringLiteral("attach failed (database file)");
        QTest::newRow("ends in a period") << QStringLiteral("Done.") << QStringLiteral("Done.");
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
                throw korvat::ServerError(QStringLiteral("I/O error during \"open\""), -902,
                                          335544344);
            } catch (...) {
                std::throw_with_nested(korvat::LayerError(QStringLiteral("outer")));
            }
        });
        QCOMPARE(m_dialogs->lastCall().text, QStringLiteral("I/O error during \"open\""));
    }

    void anythingThrownIsCaught()
    {
        ErrorDisplay display(*m_dialogs, nullptr);
        m_dialogs->press(DialogButton::Ok).press(DialogButton::Ok);
        QVERIFY(!display.run([] { throw 42; }));
        QCOMPARE(m_dialogs->lastCall().text, QStringLiteral("Unknown error."));
        QVERIFY(!display.run([] { throw std::out_of_range("index 7"); }));
        QCOMPARE(m_dialogs->lastCall().text, QStringLiteral("index 7."));
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
        display.run([] { throw korvat::LayerError(QStringLiteral("x")); });
        QVERIFY(!QWidget::mouseGrabber());
    }

    void failureToShowTheBoxDoesNotEscape()
    {
        BrokenDialogs broken;
        ErrorDisplay display(broken, nullptr);
        QTest::ignoreMessage(QtCriticalMsg, "The error could not be shown: no display");
        QVERIFY(!display.run([] { throw korvat::LayerError(QStringLiteral("x")); }));
    }

private:
    std::unique_ptr<ScriptedDialogs> m_dialogs;
};

UI_TEST(ErrorDisplayTest);

#include "ErrorDisplayTest.moc"
