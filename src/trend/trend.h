#pragma once

#include "journal/calendardate.h"
#include "journal/cquilloxdoc.h"

#include <optional>
#include <vector>

// The smoothed course of a weight or body-fat series, which shows whether a
// diet works through the kilogram or two that water alone adds and takes
// away from day to day.

// One day that has a value, with its trend (the value itself stays in the
// journal: a long journal's points are half the memory without it).
struct TrendPoint {
    Date date;
    double trend = 0;
};

// The trend of one series: a point for every day whose value is not 0, in
// date order. Each day moves the trend by 1 - 0.9^g of its distance to the
// day's value, g the calendar days since the previous point; over a gap the
// trend decays as if the missing days had been weighed at the trend.
class SeriesTrend {
  public:
    SeriesTrend() = default;
    explicit SeriesTrend(std::vector<TrendPoint> points) : points_(std::move(points)) {}

    const std::vector<TrendPoint> &points() const { return points_; }

    // The next day with a value, later than every point so far.
    void append(Date date, double value);
    // No points, the storage kept for the next computation.
    void clear() { points_.clear(); }
    void reserve(std::size_t count) { points_.reserve(count); }

    // The trend of the last day on or before d that has a value.
    std::optional<double> trendOn(Date d) const;
    // Units per week: the least-squares slope of the trend points of the 28
    // days ending with d, times 7. None with fewer than two points or when
    // they span fewer than 7 days.
    std::optional<double> paceOn(Date d) const;

  private:
    std::vector<TrendPoint> points_;
};

// Both trends the program shows, computed once per change of the journal.
struct JournalTrends {
    SeriesTrend weight;
    SeriesTrend fatPercent;
};
JournalTrends journalTrends(const CQuilloxDoc::DayList &days);
// The same into trends, in one walk over the days, reusing its storage: a
// long journal's trends are worked out again without new memory.
void updateJournalTrends(const CQuilloxDoc::DayList &days, JournalTrends &trends);

// Where the weight trend on a day stands against the target weight: reached
// (on or below it), or else, while it comes down at 0.05 kg a week or more,
// the days to go and the day it gets there. A target of 0 is no target.
struct GoalOutlook {
    bool reached = false;
    std::optional<int> daysLeft;
    std::optional<Date> arrival;
};
GoalOutlook goalOutlook(const SeriesTrend &weight, double targetWeight, Date d);

// The days the pace looks back over, the selected day included.
inline constexpr int paceWindowDays = 28;
// The least span of the points a pace is drawn from.
inline constexpr int paceMinimumSpanDays = 7;
// The slowest loss, in kg per week, that still gives a forecast.
inline constexpr double forecastMinimumLossPerWeek = 0.05;
