#pragma once

#include "Options.h"
#include "Reconciliation.h"

#include <QString>
#include <QTextStream>

namespace korvat::kontrol {

// The summary table: counts, totals and differences per kind, then the
// verdict. Turkish, for the operator's terminal.
void writeSummary(QTextStream& out, const Options& options, const Outcome& outcome);

// The first `limit` differences, one a line, and how many more there are.
void writeDifferences(QTextStream& out, const Outcome& outcome, int limit, bool csvWritten);

// Every difference, one row each: kind, code, name, field, source value,
// target value; UTF-8. Throws KontrolError when the file cannot be written.
void writeCsv(const QString& path, const Outcome& outcome);

}  // namespace korvat::kontrol
