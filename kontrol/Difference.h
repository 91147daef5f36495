#pragma once

#include <QString>

namespace korvat::kontrol {

enum class Area {
    Groups,
    Cards,
    Accounts
};

enum class DifferenceKind {
    Missing,          // a source row with no row of its code in the target
    CarriedTwice,     // more target rows of a code than the source has
    FieldDiffers,     // a copied field whose text form differs
    Inactive,         // a carried row that is not active
    MissingEntry,     // a carried row without its opening entry
    EntryDiffers,     // an opening entry with a wrong type, number, date or price
    WrongBalance,     // an account's entry that does not open with its balance
    EntryOnWrongRow,  // a row's opening entry written on another key
    UnexpectedEntry,  // an opening entry on a row that should have none
    StrayEntry,       // an opening entry on a key that no carried row has
    TotalDiffers,     // a total that differs while every row matches
};

// One thing that does not match, as the operator reads it.
struct Difference {
    DifferenceKind kind = DifferenceKind::Missing;
    Area area = Area::Cards;
    QString code;
    QString name;
    QString field;
    QString sourceValue;
    QString targetValue;
};

// The Turkish name of a difference's kind in its area ("Eksik stok kartı").
QString differenceLabel(DifferenceKind kind, Area area);

}  // namespace korvat::kontrol
