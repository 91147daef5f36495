#pragma once

#include "Difference.h"
#include "Holdings.h"
#include "Options.h"

#include "RegionalSettings.h"

#include <QDate>
#include <optional>
#include <vector>

namespace korvat::kontrol {

// Counts of one kind of row: in the source, found in the target by code,
// missing there, and found there more often than the source holds them.
struct RowCounts {
    qint64 source = 0;
    qint64 found = 0;
    qint64 missing = 0;
    qint64 extra = 0;
};

// Opening entries the carried rows must have, and those of the date in the target.
struct EntryCounts {
    qint64 expected = 0;
    qint64 found = 0;
};

struct Totals {
    RowCounts groups, cards, accounts;
    EntryCounts stockEntries, accountEntries;
    // The source's stock of the cards that get an entry against the
    // quantities of the date's stock entries; the same for balances.
    double sourceStock = 0, targetStock = 0;
    double sourceBalance = 0, targetBalance = 0;
    bool stockTotalsEqual = true, balanceTotalsEqual = true;
};

struct Outcome {
    std::optional<QDate> date;  // the carry-over date checked, none when unknown
    Totals totals;
    std::vector<Difference> differences;
    // Stock entries on carried cards, though no option said balances were carried.
    bool unexpectedStockEntries = false;
};

struct CheckSettings {
    std::optional<QDate> date;
    StockEntries stockEntries = StockEntries::None;
    // How numbers are shown in the differences; text forms are compared
    // under the same settings on both sides, so the choice changes no verdict.
    RegionalSettings display{QLatin1Char(',')};
};

// Checks the target against the source, matching rows by their codes.
Outcome reconcile(const Holdings& source, const Holdings& target, const CheckSettings& settings);

}  // namespace korvat::kontrol
