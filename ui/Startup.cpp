#include "Startup.h"

#include "ErrorText.h"
#include "TerminationSignals.h"
#include "u_L_Devir.h"

#include <QApplication>
#include <QFileInfo>
#include <memory>

namespace {

int reportStartupFailure(const std::exception& error, DialogService& dialogs)
{
    const QString module = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    dialogs.messageBox(nullptr, QStringLiteral("Application Error"),
                       startupFailureText(errorTypeName(error), module, reinterpret_cast<quintptr>(&error),
                                          QString::fromUtf8(error.what())),
                       DialogButtons::Ok, DialogIcon::Error);
    return 1;
}

}  // namespace

int runProgram(QApplication& application, DialogService& dialogs, const TdmSettings& settings)
{
    // The main window first (its FormCreate sets the transfer date), then the
    // data module, which attaches the default target.
    TL_Devir L_Devir(dialogs);
    std::unique_ptr<Tdm> dataModule;
    try {
        dataModule = std::make_unique<Tdm>(settings);
    } catch (const std::exception& error) {
        return reportStartupFailure(error, dialogs);
    }
    dm = dataModule.get();
    L_Devir.bindDataSources(*dm);

    // A signal to end the program ends it as closing the window does.
    TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &TerminationSignals::received, &L_Devir, &TL_Devir::requestEnd);

    L_Devir.show();
    const int exitCode = application.exec();

    // The data module ends first; a commit that fails on the way is shown
    // before the program ends, which then reports the failure in its exit code.
    L_Devir.unbindDataSources();
    const bool committed = L_Devir.errorDisplay().run([&dataModule] { dataModule->shutdown(); });
    dataModule.reset();
    dm = nullptr;
    return committed ? exitCode : 1;
}
