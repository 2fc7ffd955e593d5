#include "graph/axisscale.h"

#include <cmath>

namespace {

// Integer division truncating toward zero, on values too large for an int.
double truncDiv(double a, double q)
{
    return std::trunc(a / q);
}

} // namespace

void AxisScale::fit(double lowest, double highest, bool extend, double newDivisor)
{
    // NaN compares false and would slip past the emptiness test below.
    if (!(lowest <= highest) || !std::isfinite(lowest) || !std::isfinite(highest)) {
        *this = AxisScale{};
        return;
    }
    divisor = newDivisor;
    const double a = std::trunc(lowest);
    const double b = std::trunc(highest);
    min = a;
    max = b + 1;
    double r = max - min;
    const auto alignTo = [&](double q) {
        min = truncDiv(a, q) * q;
        max = (truncDiv(b, q) + 1) * q;
        r = max - min;
    };

    if (r <= 1) {
        step = 1;
        subStep = 0.2;
    } else if (r <= 5) {
        step = 1;
        subStep = 0.5;
    } else {
        alignTo(2);
        if (r <= 10) {
            step = 2;
            subStep = 1;
        } else {
            // The range checked against q is the one aligned to the previous
            // (twice as fine) unit; the range against 2q is aligned to 2q.
            for (double q = 10;; q *= 10) {
                const double previousRange = r;
                alignTo(q);
                if (previousRange <= 5 * q) {
                    step = q;
                    subStep = q / 2;
                    break;
                }
                alignTo(2 * q);
                if (r <= 10 * q) {
                    step = 2 * q;
                    subStep = q;
                    break;
                }
            }
        }
    }

    if (extend) {
        if (min > 0)
            min -= step;
        max += step;
    }
}

int AxisScale::yOf(double v, int top, int bottom) const
{
    if (max == min)
        return bottom;
    const double offset = std::trunc((bottom - top) * (v - min) / (max - min));
    // Far-off values (an edited journal) stay far off the plot without
    // overflowing an int.
    constexpr double limit = 1 << 24;
    if (!(offset < limit))
        return bottom - static_cast<int>(limit);
    if (offset < -limit)
        return bottom + static_cast<int>(limit);
    return bottom - static_cast<int>(offset);
}
