#pragma once

#include "journal/cquilloxdoc.h"
#include "trend/monthlysummary.h"
#include "trend/trend.h"

#include <optional>
#include <string>
#include <vector>

// The trends and the monthly summary as CSV, lines ended with CR LF as the
// journal's own CSV ends them. A value that is not there is an empty field.

// One row per day between from and to with a weight or a body fat, oldest
// first. The trends come from the whole journal, whatever rows are chosen.
std::string trendCsv(const CQuilloxDoc::DayList &days, const JournalTrends &trends,
                     std::optional<Date> from, std::optional<Date> to);

// The rows monthlySummary gives, in its order.
std::string summaryCsv(const std::vector<MonthSummary> &rows);
