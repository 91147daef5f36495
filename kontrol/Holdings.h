#pragma once

#include "FieldDef.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace korvat::kontrol {

class ReadOnlyDatabase;

// The columns each transfer copies through their text forms, the code first:
// what the window carries, so what a target must hold.
const QStringList& groupColumns();
const QStringList& cardColumns();
const QStringList& accountColumns();

// A group, card or account.
struct MasterRow {
    qint64 key = 0;
    QByteArray copied;  // packed, the code first
    QByteArray code;    // packed code alone
    // Source cards: the stock and the opening entry's price (NULL when none
    // of the three prices is positive); source accounts: the balance.
    double amount = 0;
    std::optional<double> price;
};

// A row of T_STOK_HAREKET (type 8 only) or T_DEKONT_HAREKET.
struct Entry {
    qint64 id = 0;
    std::optional<qint64> owner;  // STOK_ID or CARI_ID
    std::optional<QDateTime> when;
    FieldValue type;
    FieldValue record;  // KAYIT_ID, stock entries only
    FieldValue price;   // FIYAT, stock entries only
    FieldValue in;      // GIREN
    FieldValue out;     // CIKAN, account entries only
};

// What a check needs of a database: the source's groups, active cards and
// accounts; the target's every group, card and account and its opening entries.
struct Holdings {
    std::vector<MasterRow> groups;
    std::vector<MasterRow> cards;
    std::vector<MasterRow> accounts;
    std::vector<Entry> stockEntries;
    std::vector<Entry> accountEntries;
};

// Told the table being read and the rows read so far, now and then.
using Progress = std::function<void(const QString& what, qint64 rows)>;

Holdings readSource(ReadOnlyDatabase& database, const Progress& progress);
Holdings readTarget(ReadOnlyDatabase& database, const Progress& progress);

}  // namespace korvat::kontrol
