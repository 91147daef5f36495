#include "Kontrol.h"

#include "Holdings.h"
#include "KontrolError.h"
#include "ReadOnlyDatabase.h"
#include "Reconciliation.h"
#include "Report.h"

#include "ClientLibrary.h"
#include "Errors.h"

#include <csignal>

namespace korvat::kontrol {

namespace {

// The client library leaves SIGINT and SIGTERM to the program and then
// swallows them; this program only reads, so their default ending loses
// nothing, and Ctrl+C must still end it.
void restoreTerminationSignals()
{
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

}  // namespace

Outcome checkDatabases(const Options& options, QTextStream& progress)
{
    std::shared_ptr<ClientLibrary> client;
    try {
        client = options.clientLibrary.isEmpty() ? ClientLibrary::load()
                                                 : ClientLibrary::load(options.clientLibrary);
    } catch (const DataError& error) {
        throw KontrolError(
            QStringLiteral("Firebird istemci kütüphanesi yüklenemedi: %1").arg(error.message()));
    }
    restoreTerminationSignals();

    // Both attached before either is read: a target that does not open
    // ends the check before the source's long read.
    ReadOnlyDatabase source(client, options.source, QStringLiteral("Kaynak"));
    ReadOnlyDatabase target(client, options.target, QStringLiteral("Hedef"));
    restoreTerminationSignals();

    const auto reporter = [&progress](const QString& role) {
        return [&progress, role](const QString& what, qint64 rows) {
            progress << role << ": " << what << ", " << rows << " satır okundu\n";
            progress.flush();
        };
    };
    const Holdings sourceHoldings = readSource(source, reporter(source.role()));
    const Holdings targetHoldings = readTarget(target, reporter(target.role()));

    CheckSettings settings;
    settings.date = options.date;
    settings.stockEntries = options.stockEntries;
    return reconcile(sourceHoldings, targetHoldings, settings);
}

int runKontrol(const Options& options, QTextStream& out, QTextStream& err)
{
    try {
        const Outcome outcome = checkDatabases(options, err);
        if (!options.csvPath.isEmpty())
            writeCsv(options.csvPath, outcome);
        writeSummary(out, options, outcome);
        writeDifferences(out, outcome, options.shownDifferences, !options.csvPath.isEmpty());
        out.flush();
        return outcome.differences.empty() ? Matches : Differs;
    } catch (const KontrolError& error) {
        out.flush();
        err << "HATA: " << error.message() << '\n';
        err.flush();
        return CouldNotCheck;
    }
}

int runCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const CommandLine commandLine = parseCommandLine(arguments);
    switch (commandLine.action) {
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        out << commandLine.text;
        out.flush();
        return Matches;
    case CommandLine::Action::Error:
        err << "HATA: " << commandLine.text << '\n';
        err.flush();
        return CouldNotCheck;
    case CommandLine::Action::Check: break;
    }
    return runKontrol(commandLine.options, out, err);
}

}  // namespace korvat::kontrol
