#pragma once

#include "activity/activity.h"

#include <optional>
#include <string>

// Values no watch or scale can have recorded (a distance of 1e300 m, two
// antipodal points a second apart, a weight of 5 t): an activity or a
// measurement holding one is refused with the reason, and the rest of its
// file is taken.

enum class Quantity { distance, duration, weight, fatPercent };

struct PlausibleRange {
    Quantity quantity;
    double lowest; // in `unit`, both ends included
    double highest;
    double perUnit;   // the decoders' unit (metres, seconds, kg, %) in one `unit`
    const char *name; // as messages name it (UTF-8)
    const char *unit;
};

// Weight and body fat of 0 mean "not measured" and are never checked.
inline constexpr PlausibleRange plausibleRanges[] = {
    {Quantity::distance, 0, 1000, 1000, "距離", "km"},
    {Quantity::duration, 0, 48, 3600, "時間", "時間"},
    {Quantity::weight, 0, 500, 1, "体重", "kg"},
    {Quantity::fatPercent, 0, 80, 1, "体脂肪率", "%"},
};

const PlausibleRange &plausibleRange(Quantity quantity);

// Why `value`, in the decoders' unit, cannot have been measured; nullopt
// when it can.
std::optional<std::string> implausibility(Quantity quantity, double value);

// The first implausible value of an activity (distance, then time) or of a
// weighing (its weight and fat when measured).
std::optional<std::string> implausibility(const Activity &activity);
std::optional<std::string> implausibility(const Weighing &weighing);
