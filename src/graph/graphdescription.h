#pragma once

#include "graph/graphperiod.h"

#include <optional>
#include <string>

class CQuilloxDoc;

// What the graph shows, in words, for a screen reader: the period, the series
// shown, and for the weight its latest, lowest and highest value in the
// period and, when the trend line is on, the trend on the period's last day
// with a value (trendWeight). UTF-8; empty before a period is worked out.
std::string graphDescription(const CQuilloxDoc &doc, const GraphPeriodState &period,
                             std::optional<double> trendWeight);
