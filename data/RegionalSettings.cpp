#include "RegionalSettings.h"

#include <QLocale>
#include <QString>

namespace korvat {

RegionalSettings RegionalSettings::fromSystem()
{
    // QLocale gives the separator as a string (it may be more than one UTF-16
    // unit in principle); every locale we run under uses a single character.
    const QString point = QLocale::system().decimalPoint();
    return RegionalSettings(point.isEmpty() ? QLatin1Char('.') : point.front());
}

}  // namespace korvat
