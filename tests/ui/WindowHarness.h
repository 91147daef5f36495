#pragma once

// A main window over real database files: a test workspace whose default
// target stays apart from the target the test chooses, the data module `dm`
// and the window with scripted dialogs, as the program puts them together.

#include "LoopbackServer.h"
#include "ScriptedDialogs.h"
#include "TestWorkspace.h"
#include "u_L_Devir.h"
#include "u_dm.h"

#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>
#include <utility>

class WindowHarness : public korvat::test::TestWorkspace {
public:
    explicit WindowHarness(const korvat::test::SchemaOptions& defaultTargetOptions = {})
    {
        korvat::test::TestDatabase::create(settings.defaultTarget, defaultTargetOptions).detach();
        targetPath = path(u"HEDEF.FDB"_s);
        window = std::make_unique<TL_Devir>(dialogs);
        dm = &createDataModule();
        window->bindDataSources(*dataModule);
    }

    ~WindowHarness()
    {
        window->unbindDataSources();
        dataModule.reset();
        dm = nullptr;
        window.reset();
    }

    // Chooses a database with its "?" button, as the operator would.
    void chooseSource(const QString& databasePath)
    {
        dialogs.chooseFile(databasePath);
        window->SpeedButton1->click();
    }
    void chooseTarget(const QString& databasePath)
    {
        dialogs.chooseFile(databasePath);
        window->SpeedButton2->click();
    }
    void chooseSourceAndTarget()
    {
        chooseSource(sourcePath);
        chooseTarget(targetPath);
    }

    bool showWindow()
    {
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }

    // What the end of the program does: the target's pending rows are committed.
    void endProgram()
    {
        window->unbindDataSources();
        dataModule->shutdown();
    }

    // Presses a transfer button, answers its confirmation with Yes and each
    // message box that follows with OK (closing messages, errors), as many
    // as given.
    void transfer(QPushButton* button, int messagesAfter = 1)
    {
        dialogs.press(DialogButton::Yes);
        for (int i = 0; i < messagesAfter; ++i)
            dialogs.press(DialogButton::Ok);
        button->click();
    }

    // The same for a press that finds rows already in the target: the box
    // that asks about them is answered with `duplicates` (Yes: only the
    // missing rows, No: all again, Cancel: nothing, and no message after).
    void transferAgain(QPushButton* button, DialogButton duplicates, int messagesAfter = 1)
    {
        dialogs.press(DialogButton::Yes).press(duplicates);
        for (int i = 0; i < (duplicates == DialogButton::Cancel ? 0 : messagesAfter); ++i)
            dialogs.press(DialogButton::Ok);
        button->click();
    }

    // The texts of the message boxes shown so far, in order.
    QStringList messages() const
    {
        QStringList texts;
        for (const ScriptedDialogs::Call& call : dialogs.calls())
            if (call.kind != ScriptedDialogs::Kind::OpenFile)
                texts << call.text;
        return texts;
    }

    ScriptedDialogs dialogs;
    std::unique_ptr<TL_Devir> window;
};

// A test class with a fresh harness for every test function; each test must
// have used every answer it scripted and answered every dialog shown.
class WindowTestCase : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<WindowHarness> h;

private slots:
    void init() { h = std::make_unique<WindowHarness>(); }
    void cleanup()
    {
        QCOMPARE(h->dialogs.unansweredCount(), 0);
        QCOMPARE(h->dialogs.pendingAnswers(), 0);
        h.reset();
    }
};

// Runs an action once, when a data set has posted a given number of rows,
// in the middle of whatever posts them.
struct AfterPosts : korvat::DataSetObserver {
    AfterPosts(korvat::DataSet& observed, int posts, std::function<void()> toRun)
        : dataSet(observed), postsLeft(posts), action(std::move(toRun))
    {
        dataSet.addObserver(this);
    }
    ~AfterPosts() override { dataSet.removeObserver(this); }

    void rowChanged(int) override
    {
        if (action && dataSet.state() == korvat::DataSetState::Browse && --postsLeft == 0)
            std::exchange(action, nullptr)();
    }

    korvat::DataSet& dataSet;
    int postsLeft;
    std::function<void()> action;
};
