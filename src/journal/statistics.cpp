// The read-only questions the graph, the entry form and the advisor ask of the
// day list. Every range query starts at the first entry of its range
// (lower_bound) instead of walking from the journal's beginning, so a redraw
// over a few weeks costs the same in a one-year and in a hundred-year journal.

#include "journal/cquilloxdoc.h"

#include <cmath>
#include <limits>

namespace {

// Entry (not calendar-day) iteration over first..last, both included.
template <typename Visit>
void forEachEntryIn(const CQuilloxDoc::DayList &days, Date first, Date last, Visit visit)
{
    if (last < first) {
        return;
    }
    for (auto it = days.lower_bound(first); it != days.end() && it->first <= last; ++it) {
        visit(it->second);
    }
}

bool isStoredSeries(int index)
{
    return index >= 0 && index < storedSeriesCount;
}

// The last day of a run of nDays calendar days from start (nDays > 0).
Date lastDayOfRun(Date start, int nDays)
{
    return start + std::chrono::days{static_cast<long>(nDays) - 1};
}

} // namespace

double CQuilloxDoc::seriesValue(const DayRecord &entry, int index)
{
    switch (index) {
    case seriesWeight:
        return entry.weight;
    case seriesFatPercent:
        return entry.fatPercent;
    case seriesJogDistance:
        return entry.jogDistance;
    case seriesJogDuration:
        return entry.jogDuration;
    case seriesWalkDistance:
        return entry.walkDistance;
    case seriesWalkDuration:
        return entry.walkDuration;
    case seriesFatMass:
        return entry.fatPercent * entry.weight * 0.01;
    case seriesLeanMass: {
        const double fat = entry.fatPercent * entry.weight * 0.01;
        return fat != 0 ? entry.weight - fat : 0;
    }
    default:
        // No caller passes another index; "no value" is the safe answer.
        return 0;
    }
}

int CQuilloxDoc::countExerciseDays(Date first, Date last) const
{
    int count = 0;
    forEachEntryIn(days_, first, last, [&count](const DayRecord &entry) {
        if (entry.jogDistance != 0 || entry.jogDuration != 0 || entry.walkDistance != 0 ||
            entry.walkDuration != 0) {
            ++count;
        }
    });
    return count;
}

double CQuilloxDoc::sumOverDays(int index, Date start, int nDays) const
{
    if (nDays <= 0 || !isStoredSeries(index)) {
        return 0;
    }
    double sum = 0;
    forEachEntryIn(days_, start, lastDayOfRun(start, nDays),
                   [&](const DayRecord &entry) { sum += seriesValue(entry, index); });
    return sum;
}

double CQuilloxDoc::averageOverDays(int index, Date start, int nDays) const
{
    if (nDays <= 0 || !isStoredSeries(index)) {
        return 0;
    }
    double sum = 0;
    int count = 0;
    forEachEntryIn(days_, start, lastDayOfRun(start, nDays), [&](const DayRecord &entry) {
        const double value = seriesValue(entry, index);
        if (value != 0) {
            sum += value;
            ++count;
        }
    });
    // The mean of the days on which a value was entered, not over nDays.
    return count == 0 ? 0 : sum / count;
}

CQuilloxDoc::ValueRange CQuilloxDoc::seriesRange(int index, Date first, Date last,
                                                 double divisor) const
{
    // The caller recognises "no value in range" by these two starting values.
    ValueRange range{std::numeric_limits<double>::max(), 0};
    forEachEntryIn(days_, first, last, [&](const DayRecord &entry) {
        double value = seriesValue(entry, index);
        if (value == 0) {
            return;
        }
        value /= divisor;
        if (value < range.smallest || std::isnan(range.smallest)) {
            range.smallest = value;
        }
        if (value > range.largest) {
            range.largest = value;
        }
    });
    return range;
}

std::optional<CQuilloxDoc::DateWindow> CQuilloxDoc::graphWindowForDays(int nDays) const
{
    return graphWindowForDays(nDays, todayDate());
}

std::optional<CQuilloxDoc::DateWindow> CQuilloxDoc::graphWindowForDays(int nDays, Date today) const
{
    if (nDays <= 0) {
        return std::nullopt;
    }
    const std::chrono::days span{static_cast<long>(nDays) - 1};
    Date last = today;
    if (const DayRecord *latest = lastDay(); latest && latest->date > today) {
        last = latest->date;
    }
    Date first = last - span;
    // A young journal starts its window at its first day rather than showing
    // empty weeks before it.
    if (const DayRecord *earliest = firstDay(); earliest && earliest->date > first) {
        first = earliest->date;
        last = first + span;
    }
    return DateWindow{first, last};
}
