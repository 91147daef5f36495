#include "WindowTransfer.h"

#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "u_L_Devir.h"
#include "u_dm.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

#include <stdexcept>

namespace bench {

struct WindowTransfer::Parts {
    ~Parts()
    {
        if (window && dataModule)
            window->unbindDataSources();
        dataModule.reset();
        dm = nullptr;
        window.reset();
    }

    ScriptedDialogs dialogs;
    std::unique_ptr<TL_Devir> window;
    std::unique_ptr<Tdm> dataModule;
};

namespace {

// Every dialog so far must have been one that the run expected.
void expectOnly(const ScriptedDialogs& dialogs, const QStringList& expected)
{
    QStringList shown;
    for (const ScriptedDialogs::Call& call : dialogs.calls())
        if (call.kind != ScriptedDialogs::Kind::OpenFile && call.text != QStringLiteral("Devam edilsin mi?"))
            shown << call.text;
    if (shown != expected || dialogs.unansweredCount() != 0 || dialogs.pendingAnswers() != 0)
        throw std::runtime_error("unexpected dialogs: " + shown.join(QStringLiteral(" | ")).toStdString());
}

}  // namespace

WindowTransfer::WindowTransfer(const QString& source, const QString& target, const QString& workFolder)
    : m_source(source), m_target(target), m_workFolder(workFolder)
{
}

WindowTransfer::~WindowTransfer() = default;

void WindowTransfer::open()
{
    m_parts = std::make_unique<Parts>();
    TdmSettings settings;
    settings.defaultTarget = m_workFolder + QStringLiteral("/KORVAT.FDB");
    settings.regionalSettings = korvat::RegionalSettings(QLatin1Char(','));
    settings.backupFolder = m_workFolder + QStringLiteral("/Yedek");
    korvat::test::TestDatabase::create(settings.defaultTarget).detach();

    m_parts->window = std::make_unique<TL_Devir>(m_parts->dialogs);
    m_parts->dataModule = std::make_unique<Tdm>(settings);
    dm = m_parts->dataModule.get();
    TL_Devir& window = *m_parts->window;
    window.bindDataSources(*dm);
    // Shown, so that the grids and the bar really follow the rows.
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        throw std::runtime_error("the window was never shown");

    m_parts->dialogs.chooseFile(m_source);
    window.SpeedButton1->click();
    m_parts->dialogs.chooseFile(m_target);
    window.SpeedButton2->click();
    expectOnly(m_parts->dialogs, {});

    window.chStokBakiye->setChecked(true);
    window.ch_PozitifStok->setChecked(false);
}

WindowTiming WindowTransfer::run()
{
    TL_Devir& window = *m_parts->window;
    ScriptedDialogs& dialogs = m_parts->dialogs;
    WindowTiming timing;
    QElapsedTimer clock;

    dialogs.press(DialogButton::Yes).press(DialogButton::Ok);
    clock.start();
    window.Button2->click();
    timing.stockSeconds = double(clock.nsecsElapsed()) / 1e9;

    dialogs.press(DialogButton::Yes).press(DialogButton::Ok);
    clock.restart();
    window.Button3->click();
    timing.accountSeconds = double(clock.nsecsElapsed()) / 1e9;

    expectOnly(dialogs, {QStringLiteral("Stoklar aktarıldı"), QStringLiteral("Cariler aktarıldı")});
    return timing;
}

}  // namespace bench
