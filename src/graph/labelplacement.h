#pragma once

#include "graph/graphgeometry.h"
#include "graph/graphperiod.h"

#include <optional>
#include <vector>

// Labels that would run into each other are left out rather than printed on
// top of one another. A label's box is its text's extent; two labels collide
// when their boxes, each widened by `padding` on every side, share a pixel.
// The grid lines and ticks a label belongs to are drawn all the same.
bool labelsCollide(const PixelRect &a, const PixelRect &b, int padding);

// Which of the candidates are drawn, taken in the order given: each one that
// collides with none drawn before it (nor with any of `taken`).
std::vector<bool> placeLabels(const std::vector<PixelRect> &candidates, int padding,
                              const std::vector<PixelRect> &taken = {});

// The room kept round a label: two pixels at the screen's u of 8, growing
// with u so that the printed page keeps the screen's proportions.
int labelPadding(int u);

// The order in which the day numbers claim their room: the selected day (when
// it lies in the period), then the first day of each month, then the others
// from left to right.
std::vector<int> dayLabelOrder(const GraphPeriodState &period, std::optional<Date> selectedDate);

// The order of the labels of one value axis, given bottom to top: the top
// one (which carries the unit below it), the bottom one, then the others
// from the bottom up.
std::vector<int> axisLabelOrder(int count);

// The secondary axes stand side by side right of the plot; an axis any of
// whose labels would collide with a label of another axis is crowded, and
// shows only its two end labels. `axes` holds each axis's label boxes.
std::vector<bool> crowdedAxes(const std::vector<std::vector<PixelRect>> &axes, int padding);
