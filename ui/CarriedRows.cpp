#include "CarriedRows.h"

#include "DataSet.h"

namespace {

QString withoutTrailingBlanks(QString code)
{
    qsizetype end = code.size();
    while (end > 0 && code[end - 1] == QLatin1Char(' '))
        --end;
    code.truncate(end);
    return code;
}

}  // namespace

CarriedRows::CarriedRows(const korvat::DataSet& source, const korvat::DataSet& target, const QString& column)
{
    for (const QString& code : target.serverTexts(column)) {
        const QString trimmed = withoutTrailingBlanks(code);
        if (!trimmed.isEmpty())
            m_targetCodes.insert(trimmed);
    }
    const QStringList sourceCodes = source.serverTexts(column);
    m_toCarry = int(sourceCodes.size());
    for (const QString& code : sourceCodes)
        if (inTarget(code))
            ++m_alreadyInTarget;
}

bool CarriedRows::inTarget(const QString& code) const
{
    const QString trimmed = withoutTrailingBlanks(code);
    return !trimmed.isEmpty() && m_targetCodes.contains(trimmed);
}

void CarriedRows::carryAll()
{
    m_targetCodes.clear();
    m_alreadyInTarget = 0;
}
