#pragma once

#include <QChar>

namespace korvat {

// The parts of the system's regional settings that the text forms of values
// depend on. Passed by value wherever a text form is written or read, so that
// writing and reading agree and tests can run under any settings.
class RegionalSettings {
public:
    explicit constexpr RegionalSettings(QChar decimalSeparator = QLatin1Char('.')) noexcept
        : m_decimalSeparator(decimalSeparator)
    {
    }

    // The settings of the user running the program.
    static RegionalSettings fromSystem();

    constexpr QChar decimalSeparator() const noexcept { return m_decimalSeparator; }

    friend constexpr bool operator==(const RegionalSettings&, const RegionalSettings&) = default;

private:
    QChar m_decimalSeparator;
};

}  // namespace korvat
