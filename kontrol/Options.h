#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace korvat::kontrol {

// Which cards a stock transfer gave an opening entry: none, every card, or
// those with a positive stock ("Stok bakiyesini aktar", "Pozitif ...").
enum class StockEntries {
    None,
    All,
    PositiveOnly
};

// What one run checks, as the command line gives it.
struct Options {
    QString source;
    QString target;
    // The carry-over date; the newest opening entries' date when not given.
    std::optional<QDate> date;
    StockEntries stockEntries = StockEntries::None;
    // Every difference, UTF-8, when not empty.
    QString csvPath;
    // Differences printed on standard output; the CSV holds them all.
    int shownDifferences = 20;
    QString clientLibrary;  // the data layer's default when empty
};

// The command line read: a check to run, or a text to print and an exit code.
struct CommandLine {
    enum class Action {
        Check,
        Help,
        Version,
        Error
    };
    Action action = Action::Error;
    Options options;
    QString text;  // the help, the version line or the error
};

// Reads the arguments after the program name.
CommandLine parseCommandLine(const QStringList& arguments);

QString helpText();
QString versionText();

}  // namespace korvat::kontrol
