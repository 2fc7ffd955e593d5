#include "graph/graphscales.h"

#include "graph/graphgeometry.h"
#include "journal/cquilloxdoc.h"

#include <algorithm>
#include <cmath>

std::array<AxisScale, 8> fitSeriesScales(const CQuilloxDoc &doc, Date first, Date last, bool extend,
                                         std::optional<double> alsoWeight)
{
    const GraphSettings &settings = doc.graphSettings();
    std::array<CQuilloxDoc::ValueRange, graphSeriesCount> ranges{};
    for (int series = 0; series < graphSeriesCount; ++series)
        ranges[series] =
            doc.seriesRange(seriesJournalIndex(series), first, last, seriesDivisor(series));

    if (alsoWeight) {
        // A whole-number value at the bottom would become the axis's minimum
        // and its line would vanish under the baseline: it is fitted a hair
        // lower, which starts the axis one division further down.
        CQuilloxDoc::ValueRange &weight = ranges[graphSeriesWeight];
        const double below = std::nextafter(*alsoWeight, -HUGE_VAL);
        weight.smallest = std::min(weight.smallest, below);
        weight.largest = std::max(weight.largest, *alsoWeight);
    }

    const auto share = [&](int jog, int walk) {
        if (isSeriesShown(settings, jog) && isSeriesShown(settings, walk)) {
            const double highest = std::max(ranges[jog].largest, ranges[walk].largest);
            ranges[jog].largest = highest;
            ranges[walk].largest = highest;
        }
    };
    share(graphSeriesJogDistance, graphSeriesWalkDistance);
    share(graphSeriesJogDuration, graphSeriesWalkDuration);

    std::array<AxisScale, graphSeriesCount> scales{};
    for (int series = 0; series < graphSeriesCount; ++series) {
        const double lowest = isBarSeries(series) ? 0 : ranges[series].smallest;
        scales[series].fit(lowest, ranges[series].largest, extend, seriesDivisor(series));
    }
    return scales;
}
