#pragma once

// One value axis of the graph: where a series' values lie between the plot's
// top and bottom, and where its divisions are.
struct AxisScale {
    double min = 0;
    double max = 0;
    double step = 0;    // between labelled divisions; 0 marks an empty scale
    double subStep = 0; // between dotted minor divisions (main axis only)
    double divisor = 1; // stored values are divided by it first (60: seconds as minutes)

    bool isEmpty() const { return step == 0; }

    // Fits the axis to values from lowest to highest, in whole units aligned
    // to 1, 2, 10, 20, 100, 200, ... so that it holds at most five or ten
    // divisions. lowest > highest gives an empty scale. extend (on paper) adds
    // one step of room above, and one below unless the axis starts at 0.
    void fit(double lowest, double highest, bool extend, double divisor);

    // The row of value v (already divided) on a plot from top to bottom.
    int yOf(double v, int top, int bottom) const;
};
