#pragma once

#include "Options.h"
#include "Reconciliation.h"

#include <QTextStream>

namespace korvat::kontrol {

enum ExitCode {
    Matches = 0,
    Differs = 1,
    CouldNotCheck = 2
};

// Reads both databases and checks the target against the source; progress
// goes to `progress`. Throws KontrolError when the check cannot be made.
Outcome checkDatabases(const Options& options, QTextStream& progress);

// One check: reads both databases, writes the summary and differences to
// `out`, progress and errors to `err`. Returns the program's exit code.
int runKontrol(const Options& options, QTextStream& out, QTextStream& err);

// Parses the arguments after the program name and runs what they ask.
int runCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace korvat::kontrol
