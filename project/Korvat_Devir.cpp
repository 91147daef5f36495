#include "ApplicationTitle.h"
#include "ErrorText.h"
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

    std::unique_ptr<Tdm> dataModule;
    try {
        dataModule = std::make_unique<Tdm>();
    } catch (const std::exception& error) {
        return failStartup(error);
    }
    dm = dataModule.get();

    // The main window joins here; until then the data module is created,
    // the default target attached, and everything ended again.
    std::fputs("Korvat Devir: data module created; the window is not built yet.\n", stdout);

    try {
        dataModule->shutdown();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QApplication::applicationDisplayName(),
                              messageForErrorBox(error));
    }
    dm = nullptr;
    return 0;
}
