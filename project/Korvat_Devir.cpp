#include "DialogService.h"
#include "Startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QtDialogService dialogs;
    return runProgram(application, dialogs);
}
