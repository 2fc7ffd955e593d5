#include "graph/graphdescription.h"

#include "graph/graphgeometry.h"
#include "graph/graphtexts.h"
#include "journal/cquilloxdoc.h"
#include "journal/numbertext.h"

#include <string_view>

namespace {

std::string kilograms(double value)
{
    std::string text;
    appendFixedNumber(text, value, 2, 0);
    return text + "kg";
}

// A legend caption without its closing colon.
std::string seriesName(int series)
{
    std::string_view caption = graphtext::captions[series];
    constexpr std::string_view colon = "\xef\xbc\x9a"; // U+FF1A
    if (caption.ends_with(colon))
        caption.remove_suffix(colon.size());
    return std::string(caption);
}

} // namespace

std::string graphDescription(const CQuilloxDoc &doc, const GraphPeriodState &period,
                             std::optional<double> trendWeight)
{
    if (!period.periodValid)
        return {};
    std::string text =
        formatDate(period.periodStart) + graphtext::rangeDash + formatDate(period.periodEnd);
    std::string shown;
    for (int series = 0; series < graphSeriesCount; ++series) {
        if (!isSeriesShown(doc.graphSettings(), series))
            continue;
        shown += shown.empty() ? graphtext::listOpen : graphtext::listComma;
        shown += seriesName(series);
    }
    text += shown + graphtext::sentenceEnd;

    const DayRecord *latest = nullptr;
    double lowest = 0;
    double highest = 0;
    for (auto it = doc.dayList().lower_bound(period.periodStart);
         it != doc.dayList().end() && it->first <= period.periodEnd; ++it) {
        const double weight = it->second.weight;
        if (weight <= 0)
            continue;
        lowest = latest ? std::min(lowest, weight) : weight;
        highest = latest ? std::max(highest, weight) : weight;
        latest = &it->second;
    }
    if (latest) {
        text += seriesName(graphSeriesWeight) + graphtext::latestWord + kilograms(latest->weight) +
                graphtext::dateOpen + formatDate(latest->date) + graphtext::dateClose +
                graphtext::listComma + graphtext::lowestWord + kilograms(lowest) +
                graphtext::listComma + graphtext::highestWord + kilograms(highest) +
                graphtext::sentenceEnd;
    }
    if (trendWeight)
        text += graphtext::trendWord + kilograms(*trendWeight) + graphtext::sentenceEnd;
    return text;
}
