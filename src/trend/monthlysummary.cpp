#include "trend/monthlysummary.h"

#include <algorithm>

namespace {

// Sums of one month while its days are walked.
struct MonthTotals {
    double weightSum = 0;
    int weightDays = 0;
    double weightMin = 0;
    double weightMax = 0;
    double fatSum = 0;
    int fatDays = 0;

    void add(const DayRecord &day)
    {
        if (day.weight != 0) {
            weightMin = weightDays == 0 ? day.weight : std::min(weightMin, day.weight);
            weightMax = weightDays == 0 ? day.weight : std::max(weightMax, day.weight);
            weightSum += day.weight;
            ++weightDays;
        }
        if (day.fatPercent != 0) {
            fatSum += day.fatPercent;
            ++fatDays;
        }
    }

    void finish(MonthSummary &row) const
    {
        if (weightDays > 0) {
            row.weightMean = weightSum / weightDays;
            row.weightMin = weightMin;
            row.weightMax = weightMax;
            constexpr double kcalPerKgKm = 1.0;
            row.kcal = row.jogKm * *row.weightMean * kcalPerKgKm;
        }
        if (fatDays > 0)
            row.fatMean = fatSum / fatDays;
    }
};

} // namespace

std::vector<MonthSummary> monthlySummary(const CQuilloxDoc::DayList &days, std::optional<Date> from,
                                         std::optional<Date> to)
{
    std::vector<MonthSummary> rows;
    const auto first = from ? days.lower_bound(*from) : days.begin();
    const auto end = to ? days.upper_bound(*to) : days.end();
    if (from && to && *to < *from)
        return rows;
    MonthTotals totals;
    for (auto it = first; it != end; ++it) {
        const DayRecord &day = it->second;
        const std::chrono::year_month_day ymd{it->first};
        const int year = static_cast<int>(ymd.year());
        const int month = static_cast<int>(static_cast<unsigned>(ymd.month()));
        if (rows.empty() || rows.back().year != year || rows.back().month != month) {
            if (!rows.empty())
                totals.finish(rows.back());
            rows.push_back(MonthSummary{});
            rows.back().year = year;
            rows.back().month = month;
            totals = MonthTotals{};
        }
        MonthSummary &row = rows.back();
        ++row.days;
        row.jogKm += day.jogDistance;
        row.jogSeconds += day.jogDuration;
        row.walkKm += day.walkDistance;
        row.walkSeconds += day.walkDuration;
        totals.add(day);
    }
    if (!rows.empty())
        totals.finish(rows.back());
    return rows;
}
