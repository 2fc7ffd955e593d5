#pragma once

#include "graph/axisscale.h"
#include "journal/calendardate.h"

#include <array>
#include <optional>

class CQuilloxDoc;

// The scales of all eight series over first..last, shown or not (any of them
// may own the main axis). Body series span their smallest to largest value;
// activity series start at 0; jog and walk share one scale when both are
// shown, so that their bars compare. extend on paper. A weight given as
// alsoWeight (the goal line's target) is fitted in with the weights shown,
// never onto the bottom edge.
std::array<AxisScale, 8> fitSeriesScales(const CQuilloxDoc &doc, Date first, Date last, bool extend,
                                         std::optional<double> alsoWeight = std::nullopt);
