#include "graph/graphperiod.h"

#include "journal/cquilloxdoc.h"

#include <algorithm>

namespace {

// Months counted from year 0, so that any number of months wraps correctly.
int monthCount(Date date)
{
    return yearOf(date) * 12 + monthOf(date) - 1;
}

Date firstDayOfMonthCount(int count)
{
    const int year = count >= 0 ? count / 12 : (count - 11) / 12;
    return makeDate(year, count - year * 12 + 1, 1);
}

GraphPeriodState monthsFrom(int startCount, int months)
{
    const Date start = firstDayOfMonthCount(startCount);
    const Date end = firstDayOfMonthCount(startCount + months);
    return GraphPeriodState{true, static_cast<int>((end - start).count()), start,
                            end - std::chrono::days{1}};
}

GraphPeriodState shiftedByDays(const GraphPeriodState &period, int days)
{
    GraphPeriodState moved = period;
    moved.periodStart += std::chrono::days{days};
    moved.periodEnd += std::chrono::days{days};
    return moved;
}

int dayStep(std::int32_t nDays)
{
    return std::max(1, nDays / 2);
}

} // namespace

std::int32_t normalisedGraphNDays(std::int32_t graphNDays)
{
    if (graphNDays == 0)
        return 1;
    return std::clamp(graphNDays, -maxPeriodMonths, maxPeriodDays);
}

GraphPeriodState periodForMonths(int months, Date today)
{
    return monthsFrom(monthCount(today) - months + 1, months);
}

GraphPeriodState periodForGraphNDays(const CQuilloxDoc &doc, std::int32_t graphNDays, Date today)
{
    const std::int32_t n = normalisedGraphNDays(graphNDays);
    if (n < 0)
        return periodForMonths(-n, today);
    const auto window = doc.graphWindowForDays(n, today);
    return GraphPeriodState{true, n, window->first, window->last};
}

GraphPeriodState periodMovedEarlier(const GraphPeriodState &period, std::int32_t graphNDays)
{
    const std::int32_t n = normalisedGraphNDays(graphNDays);
    if (n > 0)
        return shiftedByDays(period, -dayStep(n));
    return monthsFrom(monthCount(period.periodStart) - 1, -n);
}

GraphPeriodState periodMovedLater(const GraphPeriodState &period, std::int32_t graphNDays)
{
    const std::int32_t n = normalisedGraphNDays(graphNDays);
    if (n > 0)
        return shiftedByDays(period, dayStep(n));
    return monthsFrom(monthCount(period.periodStart) + 1, -n);
}

GraphKeyMove graphKeyMove(GraphKey key, Date selected, const GraphPeriodState &period,
                          std::int32_t graphNDays, Date journalFirst, Date journalLast)
{
    GraphKeyMove move{selected, period};
    switch (key) {
    case GraphKey::previousDay:
        move.selected -= std::chrono::days{1};
        break;
    case GraphKey::nextDay:
        move.selected += std::chrono::days{1};
        break;
    case GraphKey::earlierPeriod:
        move.period = periodMovedEarlier(period, graphNDays);
        return move;
    case GraphKey::laterPeriod:
        move.period = periodMovedLater(period, graphNDays);
        return move;
    case GraphKey::firstDay:
        move.selected = journalFirst;
        break;
    case GraphKey::lastDay:
        move.selected = journalLast;
        break;
    }
    if (!period.periodValid)
        return move;
    // Each step moves at least a day or a month, so this ends; the cap only
    // keeps a day from the far side of the calendar from taking long.
    for (int steps = 0; steps < 100000 && move.selected < move.period.periodStart; ++steps)
        move.period = periodMovedEarlier(move.period, graphNDays);
    for (int steps = 0; steps < 100000 && move.selected > move.period.periodEnd; ++steps)
        move.period = periodMovedLater(move.period, graphNDays);
    return move;
}

int dayIndexOf(const GraphPeriodState &period, Date date)
{
    return static_cast<int>((date - period.periodStart).count());
}
