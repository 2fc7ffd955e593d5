#include "activity/plausibility.h"

#include "activity/activitytexts.h"

#include <cmath>
#include <cstdio>

namespace {

// Two decimals as the journal shows them; a value far past any range in the
// short form, so that 1e297 does not become three hundred digits.
std::string valueText(double value)
{
    char text[48];
    std::snprintf(text, sizeof text, std::fabs(value) < 1e7 ? "%.2f" : "%.3g", value);
    return text;
}

std::string limitText(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

} // namespace

const PlausibleRange &plausibleRange(Quantity quantity)
{
    for (const PlausibleRange &range : plausibleRanges) {
        if (range.quantity == quantity)
            return range;
    }
    return plausibleRanges[0]; // not reached: every quantity has its range
}

std::optional<std::string> implausibility(Quantity quantity, double value)
{
    const PlausibleRange &range = plausibleRange(quantity);
    if (!std::isfinite(value))
        return fillActivityText(activitytext::notFinite, {range.name});
    const double inUnit = value / range.perUnit;
    if (inUnit >= range.lowest && inUnit <= range.highest)
        return std::nullopt;
    return fillActivityText(activitytext::implausibleValue,
                            {range.name, valueText(inUnit), range.unit, limitText(range.lowest),
                             limitText(range.highest)});
}

std::optional<std::string> implausibility(const Activity &activity)
{
    if (auto reason = implausibility(Quantity::distance, activity.distanceMetres))
        return reason;
    return implausibility(Quantity::duration, activity.durationSeconds);
}

std::optional<std::string> implausibility(const Weighing &weighing)
{
    if (weighing.weightKg != 0) {
        if (auto reason = implausibility(Quantity::weight, weighing.weightKg))
            return reason;
    }
    if (weighing.fatPercent != 0)
        return implausibility(Quantity::fatPercent, weighing.fatPercent);
    return std::nullopt;
}
