// The program from start to end, with its dialogs answered by the test.
#include "Startup.h"
#include "LoopbackServer.h"
#include "ScriptedDialogs.h"
#include "TestWorkspace.h"
#include "UiTest.h"
#include "u_L_Devir.h"

#include <QApplication>
#include <QFile>
#include <QTest>
#include <QTimer>

using korvat::test::TestWorkspace;

namespace {

// Counts the main windows shown while it lives.
struct ShowWatcher : QObject {
    ShowWatcher() { qApp->installEventFilter(this); }
    ~ShowWatcher() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<TL_Devir*>(watched))
            ++mainWindowsShown;
        return false;
    }
    int mainWindowsShown = 0;
};

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

private:
    TL_Devir* shownWindow()
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto window = qobject_cast<TL_Devir*>(widget); window && window->isVisible())
                return window;
        return nullptr;
    }

private slots:
    void aMissingDefaultTargetShowsTheApplicationErrorAndNoWindow()
    {
        TestWorkspace workspace;
        workspace.settings.defaultTarget = workspace.path(u"Korvat/KORVAT.FDB"_s);
        ScriptedDialogs dialogs;
        dialogs.press(DialogButton::Ok);
        ShowWatcher watcher;

        QCOMPARE(runProgram(*qApp, dialogs, workspace.settings), 1);
        QCOMPARE(dialogs.calls().size(), 1);
        const ScriptedDialogs::Call& box = dialogs.lastCall();
        QCOMPARE(box.caption, u"Application Error"_s);
        QCOMPARE(box.icon, DialogIcon::Error);
        QVERIFY(box.text.startsWith(u"Exception ServerError in module window_tests at "_s));
        QVERIFY(box.text.contains(u"KORVAT.FDB"_s));
        QVERIFY(box.text.endsWith(u".\r\n"_s));
        QCOMPARE(watcher.mainWindowsShown, 0);
        QVERIFY(dm == nullptr);
    }

    void aMissingClientLibraryIsReportedAsTheServerTypeSetting()
    {
        TdmSettings settings;
        settings.clientLibraryFileName = u"libfbclient.so.99"_s;
        ScriptedDialogs dialogs;
        dialogs.press(DialogButton::Ok);
        QCOMPARE(runProgram(*qApp, dialogs, settings), 1);
        QVERIFY(dialogs.lastCall().text.contains(
            u"\r\nError reading IBDatabase1.ServerType: InterBase library libfbclient.so.99 not found in "
            "the path. Please install InterBase to use this functionality.\r\n"_s));
    }

    void theWindowRunsUntilClosedAndTheEndCommits()
    {
        TestWorkspace workspace;
        workspace.createTarget().detach();
        ScriptedDialogs dialogs;
        ShowWatcher watcher;
        bool sawWindow = false;
        QTimer closer;
        closer.setSingleShot(true);
        connect(&closer, &QTimer::timeout, [&] {
            TL_Devir* window = shownWindow();
            sawWindow = window != nullptr && dm != nullptr && dm->IBTransaction1.inTransaction();
            if (dm)
                korvat::test::insertPendingGroup(*dm, 1);
            if (window)
                window->close();
        });
        closer.start(0);
        QCOMPARE(runProgram(*qApp, dialogs, workspace.settings), 0);
        QVERIFY(sawWindow);
        QCOMPARE(watcher.mainWindowsShown, 1);
        QVERIFY(dm == nullptr);
        QCOMPARE(workspace.committedCount(u"T_GRUBU"_s), 1);
    }

    void aFinalCommitThatFailsIsShownAndEndsWithExitCodeOne()
    {
        korvat::test::LoopbackServer& server = korvat::test::loopbackServer();
        TdmSettings settings;
        settings.defaultTarget = server.createDatabase(u"end-commit.fdb"_s);
        ScriptedDialogs dialogs;
        dialogs.press(DialogButton::Ok);  // the error box of the failed commit
        QTimer::singleShot(0, [&] {
            korvat::test::insertPendingGroup(*dm, 1);
            server.kill();
            shownWindow()->close();
        });
        QCOMPARE(runProgram(*qApp, dialogs, settings), 1);
        QCOMPARE(dialogs.lastCall().icon, DialogIcon::Error);
        QCOMPARE(dialogs.unansweredCount(), 0);
    }
};

UI_TEST(StartupTest);
#include "StartupTest.moc"
