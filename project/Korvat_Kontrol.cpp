// Korvat_Kontrol: checks a target after a carry-over against its source and
// tells, in Turkish, what matches and what does not. Exit code 0, 1 or 2.
#include "Kontrol.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return korvat::kontrol::runCommandLine(QCoreApplication::arguments().mid(1), out, err);
}
