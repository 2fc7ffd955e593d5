#include "dialogs/heartrate.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

int saturateToInt(long long value)
{
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

// Truncation toward zero, as a C cast does, without its undefined behaviour
// for values outside the int range.
int truncateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

} // namespace

int ageInYears(int birthYear, int birthMonth, int birthDay, int year, int month, int day)
{
    long long age = static_cast<long long>(year) - birthYear;
    if (month < birthMonth || (month == birthMonth && day < birthDay))
        --age;
    return saturateToInt(age);
}

int maximumHeartRate(int age)
{
    return saturateToInt(220LL - age);
}

TargetHeartRates karvonenRates(int maximum, int rest)
{
    const double reserve = static_cast<double>(static_cast<long long>(maximum) - rest);
    return {truncateToInt(rest + reserve * 0.55), truncateToInt(rest + reserve * 0.65),
            truncateToInt(rest + reserve * 0.85)};
}

int rateAtIntensity(int maximum, int rest, int intensity)
{
    // The product is formed first and scaled by 0.01 afterwards; scaling the
    // intensity first can round differently at exact percentages.
    const double reserveTimesIntensity =
        static_cast<double>(static_cast<long long>(maximum) - rest) * intensity;
    return truncateToInt(reserveTimesIntensity * 0.01 + rest);
}
