#include "trend/trend.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double dailyKeep = 0.9;

// 0.9^g for the gaps a journal kept day by day has; pow for the rare long ones.
constexpr int tabledGaps = 64;
const std::array<double, tabledGaps> &keptShares()
{
    static const std::array<double, tabledGaps> shares = [] {
        std::array<double, tabledGaps> table{};
        double share = 1;
        for (double &entry : table) {
            entry = share;
            share *= dailyKeep;
        }
        return table;
    }();
    return shares;
}

double keptShare(long long gap)
{
    // Unsigned, so that no gap can index before the table.
    const auto index = static_cast<unsigned long long>(gap);
    return index < tabledGaps ? keptShares()[index] : std::pow(dailyKeep, static_cast<double>(gap));
}

// The first point dated after d.
std::vector<TrendPoint>::const_iterator pointAfter(const std::vector<TrendPoint> &points, Date d)
{
    return std::upper_bound(points.begin(), points.end(), d,
                            [](Date day, const TrendPoint &point) { return day < point.date; });
}

} // namespace

void SeriesTrend::append(Date date, double value)
{
    if (points_.empty()) {
        points_.push_back({date, value});
        return;
    }
    const TrendPoint &previous = points_.back();
    const long long gap = (date - previous.date).count();
    const double trend = previous.trend + (1 - keptShare(gap)) * (value - previous.trend);
    points_.push_back({date, trend});
}

void updateJournalTrends(const CQuilloxDoc::DayList &days, JournalTrends &trends)
{
    trends.weight.clear();
    trends.fatPercent.clear();
    trends.weight.reserve(days.size());
    trends.fatPercent.reserve(days.size());
    for (const auto &[date, record] : days) {
        if (record.weight != 0)
            trends.weight.append(date, record.weight);
        if (record.fatPercent != 0)
            trends.fatPercent.append(date, record.fatPercent);
    }
}

JournalTrends journalTrends(const CQuilloxDoc::DayList &days)
{
    JournalTrends trends;
    updateJournalTrends(days, trends);
    return trends;
}

std::optional<double> SeriesTrend::trendOn(Date d) const
{
    const auto after = pointAfter(points_, d);
    if (after == points_.begin())
        return std::nullopt;
    return std::prev(after)->trend;
}

std::optional<double> SeriesTrend::paceOn(Date d) const
{
    const Date windowStart = d - std::chrono::days{paceWindowDays - 1};
    const auto end = pointAfter(points_, d);
    const auto begin =
        std::lower_bound(points_.begin(), end, windowStart,
                         [](const TrendPoint &point, Date day) { return point.date < day; });
    const auto count = end - begin;
    if (count < 2 || (std::prev(end)->date - begin->date).count() < paceMinimumSpanDays)
        return std::nullopt;
    // Days counted from d keep the sums small and exact.
    double meanX = 0;
    double meanY = 0;
    for (auto it = begin; it != end; ++it) {
        meanX += static_cast<double>((it->date - d).count());
        meanY += it->trend;
    }
    meanX /= static_cast<double>(count);
    meanY /= static_cast<double>(count);
    double covariance = 0;
    double variance = 0;
    for (auto it = begin; it != end; ++it) {
        const double dx = static_cast<double>((it->date - d).count()) - meanX;
        covariance += dx * (it->trend - meanY);
        variance += dx * dx;
    }
    constexpr double daysPerWeek = 7;
    return covariance / variance * daysPerWeek;
}

GoalOutlook goalOutlook(const SeriesTrend &weight, double targetWeight, Date d)
{
    GoalOutlook outlook;
    const std::optional<double> trend = weight.trendOn(d);
    if (targetWeight == 0 || !trend)
        return outlook;
    if (*trend <= targetWeight) {
        outlook.reached = true;
        return outlook;
    }
    const std::optional<double> pace = weight.paceOn(d);
    if (!pace || !(*pace <= -forecastMinimumLossPerWeek))
        return outlook;
    // A hair of tolerance, so that a quotient that is whole in decimal but
    // not in binary is not rounded up a day too far.
    constexpr double tolerance = 1e-9;
    const double days =
        std::max(1.0, std::ceil((*trend - targetWeight) / (-*pace / 7) - tolerance));
    // A forecast beyond the journal's last writable year says nothing useful
    // (and could not be written as a date).
    const Date lastDay = makeDate(maxJournalYear, 12, 31);
    if (!(days <= static_cast<double>((lastDay - d).count())))
        return outlook;
    outlook.daysLeft = static_cast<int>(days);
    outlook.arrival = d + std::chrono::days{*outlook.daysLeft};
    return outlook;
}
