#include "DialogService.h"
#include "Startup.h"
#include "TerminationSignals.h"
#include "Translations.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    TerminationSignals::install();
    QApplication application(argc, argv);
    installToolkitTranslations(application);
    QtDialogService dialogs;
    return runProgram(application, dialogs);
}
