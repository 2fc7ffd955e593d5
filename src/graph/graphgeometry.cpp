#include "graph/graphgeometry.h"

#include "journal/dayrecord.h"

#include <algorithm>
#include <cmath>

GraphUnits graphUnits(int dotsPerInchY, int k)
{
    GraphUnits units;
    units.u = dotsPerInchY * k / 72;
    units.textHeight = 2 * units.u;
    units.axisWidth = 2 * units.u / 7 + 4 * units.u;
    units.tickLength = 4 * units.u / 7;
    return units;
}

bool isBarSeries(int series)
{
    return series >= graphSeriesJogDistance && series <= graphSeriesWalkDuration;
}

namespace {

// What each series takes from the settings and the journal, in series order.
struct SeriesFields {
    bool GraphSettings::*shown;
    Colour GraphSettings::*colour;
    std::int32_t GraphSettings::*drawType;
    int journalIndex;
};
constexpr SeriesFields seriesFields[graphSeriesCount] = {
    {&GraphSettings::graphWeight, &GraphSettings::colorWeight, &GraphSettings::weightLineType,
     seriesWeight},
    {&GraphSettings::graphFatPercent, &GraphSettings::colorFatPercent,
     &GraphSettings::fatPcntLineType, seriesFatPercent},
    {&GraphSettings::graphFat, &GraphSettings::colorFat, &GraphSettings::fatLineType,
     seriesFatMass},
    {&GraphSettings::graphNotFat, &GraphSettings::colorNotFat, &GraphSettings::notFatLineType,
     seriesLeanMass},
    {&GraphSettings::graphJogDistance, &GraphSettings::colorJogDistance,
     &GraphSettings::jogDistType, seriesJogDistance},
    {&GraphSettings::graphJogDuration, &GraphSettings::colorJogDuration, &GraphSettings::jogDurType,
     seriesJogDuration},
    {&GraphSettings::graphWalkDistance, &GraphSettings::colorWalkDistance,
     &GraphSettings::walkDistType, seriesWalkDistance},
    {&GraphSettings::graphWalkDuration, &GraphSettings::colorWalkDuration,
     &GraphSettings::walkDurType, seriesWalkDuration},
};

bool isSeriesNumber(int series)
{
    return series >= 0 && series < graphSeriesCount;
}

} // namespace

bool isSeriesShown(const GraphSettings &s, int series)
{
    return isSeriesNumber(series) && s.*seriesFields[series].shown;
}

Colour seriesColour(const GraphSettings &s, int series)
{
    return isSeriesNumber(series) ? s.*seriesFields[series].colour : 0;
}

int seriesDrawType(const GraphSettings &s, int series)
{
    return isSeriesNumber(series) ? s.*seriesFields[series].drawType : 0;
}

int seriesJournalIndex(int series)
{
    return isSeriesNumber(series) ? seriesFields[series].journalIndex : seriesWeight;
}

double seriesDivisor(int series)
{
    constexpr double secondsPerMinute = 60;
    return series == graphSeriesJogDuration || series == graphSeriesWalkDuration ? secondsPerMinute
                                                                                 : 1;
}

std::vector<int> secondaryAxisSeries(const GraphSettings &s)
{
    std::vector<int> axes;
    for (int series = 0; series < graphSeriesCount; ++series) {
        if (!isSeriesShown(s, series) || series == s.yAxisMain)
            continue;
        if (series == graphSeriesWalkDistance && s.graphJogDistance)
            continue;
        if (series == graphSeriesWalkDuration && s.graphJogDuration)
            continue;
        axes.push_back(series);
    }
    return axes;
}

int rightMarginAxes(const GraphSettings &settings)
{
    return std::max<int>(1, static_cast<int>(secondaryAxisSeries(settings).size()));
}

PixelRect plotRectFor(const PixelRect &rect, const GraphUnits &units, int rightAxes, bool printing)
{
    const int margin = (printing ? 4 : 2) * units.textHeight;
    return PixelRect{rect.left + units.axisWidth, rect.top + margin,
                     rect.right - units.axisWidth * rightAxes, rect.bottom - margin};
}

int screenPlotMargins(const GraphUnits &units)
{
    return 4 * units.textHeight + 1;
}

int dayWidthFor(const PixelRect &plotRect, int periodDays)
{
    // The plot keeps 16 units of room beside the last day.
    constexpr int reserve = 16;
    if (periodDays <= 0)
        return 0;
    return std::max(0, (plotRect.right - plotRect.left - reserve) / periodDays);
}

int dayCentre(const PixelRect &plotRect, int dayWidth, int dayIndex)
{
    return plotRect.left + dayIndex * dayWidth + dayWidth / 2;
}

namespace {

// Bars of width w side by side on a day, centred as a group.
BarPlacement barsOfWidth(int w, int shownBarSeries)
{
    BarPlacement placement;
    const int n = std::min(shownBarSeries, 4);
    int offset = 0;
    switch (n) {
    case 1:
        offset = -(w / 2);
        break;
    case 2:
        offset = -(w + 1);
        break;
    case 3:
        offset = -1 - w / 2 - w;
        break;
    default:
        offset = -2 * (w + 1);
        break;
    }
    placement.width = w;
    for (int i = 0; i < n; ++i, offset += w + 1)
        placement.offsets.push_back(offset);
    return placement;
}

int barWidthFor(double dayRoom, int shownBarSeries, int minimumWidth)
{
    return std::max(minimumWidth,
                    static_cast<int>(std::trunc(dayRoom * 0.8 / std::min(shownBarSeries, 4))));
}

} // namespace

BarPlacement barPlacement(int dayWidth, int shownBarSeries)
{
    if (shownBarSeries <= 0)
        return {};
    // Narrow days still get visible bars; they then reach into their
    // neighbours.
    constexpr int minimumWidth = 5;
    return barsOfWidth(barWidthFor(dayWidth, shownBarSeries, minimumWidth), shownBarSeries);
}

BarPlacement barPlacement(const DayAxis &axis, int shownBarSeries)
{
    if (!axis.isFractional())
        return barPlacement(axis.dayWidth, shownBarSeries);
    if (shownBarSeries <= 0)
        return {};
    // Five pixels a bar would cover several neighbouring days here.
    return barsOfWidth(barWidthFor(axis.pitch, shownBarSeries, 1), shownBarSeries);
}

DayAxis dayAxisFor(const PixelRect &plotRect, int periodDays)
{
    DayAxis axis;
    axis.left = plotRect.left;
    axis.right = plotRect.right;
    axis.periodDays = periodDays;
    axis.dayWidth = dayWidthFor(plotRect, periodDays);
    if (axis.dayWidth > 1)
        axis.pitch = axis.dayWidth;
    else if (periodDays > 0 && plotRect.right > plotRect.left)
        // The whole plot, up to its right edge: the room kept beside the last
        // day is the first thing a narrow plot gives up.
        axis.pitch = static_cast<double>(plotRect.right - plotRect.left) / periodDays;
    return axis;
}

int dayCentre(const DayAxis &axis, int dayIndex)
{
    if (!axis.isFractional())
        return dayCentre(PixelRect{axis.left, 0, axis.right, 0}, axis.dayWidth, dayIndex);
    // The pixel that holds the middle of the day's room.
    return axis.left + static_cast<int>(std::floor((dayIndex + 0.5) * axis.pitch));
}

std::optional<int> clickedDayIndex(const DayAxis &axis, int x)
{
    if (!axis.isFractional())
        return clickedDayIndex(x, axis.left, axis.dayWidth, axis.periodDays);
    if (axis.periodDays <= 0)
        return std::nullopt;
    // The plot's end pixels hold many days each when days are narrower than a
    // pixel: there the first and the last day are meant.
    if (x <= axis.left)
        return 0;
    if (x >= axis.right - 1)
        return axis.periodDays - 1;
    // The day whose room holds the middle of the clicked pixel, so that a
    // click on a day's centre selects that day wherever a day is at least a
    // pixel wide.
    const double day = std::floor((x - axis.left + 0.5) / axis.pitch);
    return static_cast<int>(std::clamp(day, 0.0, static_cast<double>(axis.periodDays - 1)));
}

int dayAreaLeft(const DayAxis &axis, int dayIndex)
{
    if (!axis.isFractional())
        return dayCentre(axis, dayIndex) - axis.dayWidth / 2;
    return axis.left + static_cast<int>(std::floor(dayIndex * axis.pitch));
}

int dateStripEnd(const DayAxis &axis)
{
    if (!axis.isFractional())
        return axis.left + axis.periodDays * axis.dayWidth + axis.dayWidth / 2;
    return axis.right;
}

std::optional<int> clickedDayIndex(int x, int plotLeft, int dayWidth, int periodDays)
{
    if (dayWidth <= 0 || periodDays <= 0)
        return std::nullopt;
    return std::clamp((x - plotLeft) / dayWidth, 0, periodDays - 1);
}

NavigationButtons navigationButtons(const PixelRect &clientRect, const PixelRect &plotRect,
                                    int textHeight)
{
    const int s = textHeight + 4;
    const int top = clientRect.bottom - s - 2;
    const int earlierLeft = plotRect.left - s - 4;
    const int laterLeft = plotRect.right + 4;
    return NavigationButtons{PixelRect{earlierLeft, top, earlierLeft + s, top + s},
                             PixelRect{laterLeft, top, laterLeft + s, top + s}};
}
