#include "ApplicationTitle.h"
#include "ErrorText.h"
#include "u_L_Devir.h"
#include "u_dm.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <cstdio>
#include <memory>

namespace {

// Start-up could not create the data module: a task-modal error box, then exit code 1.
int failStartup(const std::exception& error)
{
    const QString module = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Application Error"),
                    startupFailureText(errorTypeName(error), module,
                                       reinterpret_cast<quintptr>(&error), 
                                       QString::fromUtf8(error.what())),
                    QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return 1;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    application.setApplicationDisplayName(
        applicationTitleFromProgramFile(QCoreApplication::applicationFilePath()));

    // The main window first (its FormCreate sets the transfer date), then the
    // data module, which attaches the default target.
    TL_Devir L_Devir;
    std::unique_ptr<Tdm> dataModule;
    try {
        dataModule = std::make_unique<Tdm>();
    } catch (const std::exception& error) {
        return failStartup(error);
    }
    dm = dataModule.get();
    L_Devir.bindDataSources(*dm);

    L_Devir.show();
    const int exitCode = application.exec();

    // The data module ends first; a commit that fails on the way is shown
    // before the program ends.
    L_Devir.unbindDataSources();
    L_Devir.errorDisplay().run([&dataModule] { dataModule->shutdown(); });
    dataModule.reset();
    dm = nullptr;
    return exitCode;
}
