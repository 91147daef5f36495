#pragma once

#include <QSet>
#include <QString>

namespace korvat {
class DataSet;
}

// Which of the rows a transfer would carry the target already holds, by
// their code (a group by its name): a repeated carry-over ("ara devir"
// after late invoices of the old year, or a second press by mistake) would
// otherwise double every card's stock and every account's balance. Codes
// are compared after trailing blanks are trimmed, exactly otherwise; a row
// without a code has nothing to match it by and is never counted.
class CarriedRows {
public:
    // Reads the codes of `column` over the source's rows and over the
    // target's, each as its server gives them now (the target's pending
    // rows included).
    CarriedRows(const korvat::DataSet& source, const korvat::DataSet& target, const QString& column);

    int toCarry() const { return m_toCarry; }
    int alreadyInTarget() const { return m_alreadyInTarget; }

    // True for a source row whose code the target held when this was made.
    bool inTarget(const QString& code) const;

    // Every row is carried again, as the operator asked: no row counts as
    // already in the target from now on.
    void carryAll();

private:
    QSet<QString> m_targetCodes;
    int m_toCarry = 0;
    int m_alreadyInTarget = 0;
};
