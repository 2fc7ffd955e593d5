#pragma once

#include "journal/calendardate.h"
#include "journal/cquilloxdoc.h"

#include <optional>
#include <vector>

// One calendar month of the journal, as the monthly summary shows it. The
// means and extremes are taken over the days whose value is not 0, as the
// period statistics take them; none when the month has no such day.
struct MonthSummary {
    int year = 0;
    int month = 0;
    int days = 0; // day entries
    std::optional<double> weightMean;
    std::optional<double> weightMin;
    std::optional<double> weightMax;
    std::optional<double> fatMean;
    double jogKm = 0;
    double jogSeconds = 0;
    double walkKm = 0;
    double walkSeconds = 0;
    // The advisor's energy estimate: the month's jog distance times its mean
    // weight (one kcal per kg and km). None without a mean weight.
    std::optional<double> kcal;

    bool operator==(const MonthSummary &) const = default;
};

// The months that have entries between from and to (both included, each
// open when not given), oldest first.
std::vector<MonthSummary> monthlySummary(const CQuilloxDoc::DayList &days,
                                         std::optional<Date> from = std::nullopt,
                                         std::optional<Date> to = std::nullopt);
