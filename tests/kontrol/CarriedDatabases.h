#pragma once

#include "TestDatabase.h"

#include <QDate>
#include <QDateTime>

// A source with groups, stock cards and accounts of every kind the checks
// tell apart, and a target holding them as a correct carry-over leaves them,
// besides rows of its own from an earlier year.
namespace korvat::test {

inline const QDate kCarryOverDate(2027, 1, 1);
inline const QDateTime kAccountEntryTime(kCarryOverDate, QTime(9, 15, 30));

// Fills a fresh source: groups İçecekler, Şarküteri and Temizlik; active
// cards ÇY-01 (stock 10), PY-02 (-3), SM-03 (0, no price) and SU-05 (24),
// inactive KP-04; active accounts C001 (a credit of 84.5), C002 (150),
// C003 (0) and C004 (NULL), inactive C005.
void createCarryOverSource(const QString& path, const QString& characterSet = QStringLiteral("NONE"));

struct CarriedTarget {
    bool positiveStockOnly = false;                 // opening stock entries for positive stocks only
    QString characterSet = QStringLiteral("NONE");  // the target's default character set
};

// Creates the target that carrying the source with stock balances leaves,
// keys from 100 on.
void createCarriedTarget(const QString& sourcePath, const QString& targetPath,
                         const CarriedTarget& options = {});

// The target's key of a carried card or account, by code.
int targetKey(TestDatabase& target, const QString& table, const QString& code);

}  // namespace korvat::test
