#pragma once

#include "journal/calendardate.h"

#include <cstdint>

class CQuilloxDoc;

// The days the graph shows. Everything counts calendar days, so a day keeps
// its place across a change to or from daylight saving time.
struct GraphPeriodState {
    // False until worked out from graphNDays; the period commands clear it.
    bool periodValid = false;
    int periodDays = 0;
    Date periodStart{}; // first day shown
    Date periodEnd{};   // last day shown, inclusive

    bool operator==(const GraphPeriodState &) const = default;
};

// The longest periods a journal can ask for; longer ones (from an edited
// file) are cut to these, which a pane cannot show day by day anyway.
inline constexpr int maxPeriodDays = 36525;
inline constexpr int maxPeriodMonths = 1200;

// graphNDays made safe: a positive value is a number of days, a negative one
// minus a number of months. 0 becomes one day; values beyond the limits
// above are cut to them.
std::int32_t normalisedGraphNDays(std::int32_t graphNDays);

// The m calendar months that end with the month of today.
GraphPeriodState periodForMonths(int months, Date today);

// The period of graphNDays for today: n days ending today (or on a later last
// entry) and not beginning before the first entry, or whole months.
GraphPeriodState periodForGraphNDays(const CQuilloxDoc &doc, std::int32_t graphNDays, Date today);

// The two navigation buttons: a day period moves by half its length (at
// least one day), a month period by one month, keeping its number of months.
GraphPeriodState periodMovedEarlier(const GraphPeriodState &period, std::int32_t graphNDays);
GraphPeriodState periodMovedLater(const GraphPeriodState &period, std::int32_t graphNDays);

// The graph's keys: ← and → move the selected day by one calendar day, PgUp
// and PgDn move the period as the navigation buttons do, Home and End select
// the journal's first and last day. A selected day that leaves the period
// brings the period along, a button's step at a time, so it stays in sight.
enum class GraphKey { previousDay, nextDay, earlierPeriod, laterPeriod, firstDay, lastDay };
struct GraphKeyMove {
    Date selected;
    GraphPeriodState period;
    bool operator==(const GraphKeyMove &) const = default;
};
GraphKeyMove graphKeyMove(GraphKey key, Date selected, const GraphPeriodState &period,
                          std::int32_t graphNDays, Date journalFirst, Date journalLast);

// The index of date counted from the period's first day.
int dayIndexOf(const GraphPeriodState &period, Date date);
