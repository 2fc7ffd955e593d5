#include "graph/labelplacement.h"

#include <algorithm>

bool labelsCollide(const PixelRect &a, const PixelRect &b, int padding)
{
    // Widening both boxes by the padding is widening one by twice of it.
    const int gap = 2 * padding;
    return a.left < b.right + gap && b.left < a.right + gap && a.top < b.bottom + gap &&
           b.top < a.bottom + gap;
}

std::vector<bool> placeLabels(const std::vector<PixelRect> &candidates, int padding,
                              const std::vector<PixelRect> &taken)
{
    std::vector<bool> placed(candidates.size(), false);
    std::vector<PixelRect> drawn = taken;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const PixelRect &box = candidates[i];
        if (std::none_of(drawn.begin(), drawn.end(), [&](const PixelRect &other) {
                return labelsCollide(box, other, padding);
            })) {
            placed[i] = true;
            drawn.push_back(box);
        }
    }
    return placed;
}

int labelPadding(int u)
{
    constexpr int screenPadding = 2;
    return std::max(screenPadding, u / 4);
}

std::vector<int> dayLabelOrder(const GraphPeriodState &period, std::optional<Date> selectedDate)
{
    const int n = std::max(0, period.periodDays);
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(n));
    std::vector<bool> ordered(static_cast<std::size_t>(n), false);
    const auto take = [&](int i) {
        if (i >= 0 && i < n && !ordered[static_cast<std::size_t>(i)]) {
            ordered[static_cast<std::size_t>(i)] = true;
            order.push_back(i);
        }
    };
    if (selectedDate && *selectedDate >= period.periodStart && *selectedDate <= period.periodEnd)
        take(dayIndexOf(period, *selectedDate));
    for (int i = 0; i < n; ++i) {
        const std::chrono::year_month_day ymd{period.periodStart + std::chrono::days{i}};
        if (ymd.day() == std::chrono::day{1})
            take(i);
    }
    for (int i = 0; i < n; ++i)
        take(i);
    return order;
}

std::vector<int> axisLabelOrder(int count)
{
    std::vector<int> order;
    if (count <= 0)
        return order;
    order.push_back(count - 1);
    for (int i = 0; i < count - 1; ++i)
        order.push_back(i);
    return order;
}

std::vector<bool> crowdedAxes(const std::vector<std::vector<PixelRect>> &axes, int padding)
{
    std::vector<bool> crowded(axes.size(), false);
    for (std::size_t a = 0; a < axes.size(); ++a)
        for (std::size_t b = a + 1; b < axes.size(); ++b)
            for (const PixelRect &boxA : axes[a])
                for (const PixelRect &boxB : axes[b])
                    if (labelsCollide(boxA, boxB, padding))
                        crowded[a] = crowded[b] = true;
    return crowded;
}
