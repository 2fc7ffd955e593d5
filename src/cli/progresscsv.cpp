#include "cli/progresscsv.h"

#include "cli/journalcsv.h"
#include "journal/numbertext.h"

namespace {

const char *const trendCsvHeader = "date,weight,weight_trend,fat_percent,fat_trend";
const char *const summaryCsvHeader = "month,days,weight_mean,weight_min,weight_max,fat_mean,"
                                     "jog_km,jog_seconds,walk_km,walk_seconds,kcal";
const char *const lineEnd = "\r\n";

void appendNumber(std::string &out, double value)
{
    out += ',';
    appendFixedNumber(out, value, 2, 0);
}

void appendNumber(std::string &out, const std::optional<double> &value)
{
    out += ',';
    if (value)
        appendFixedNumber(out, *value, 2, 0);
}

void appendSeconds(std::string &out, double seconds)
{
    out += ',';
    appendFixedNumber(out, seconds, 0, 0);
}

// The trend point of `date` in points, walked in step with the days: *next
// is moved past the points before it.
const TrendPoint *pointOn(const std::vector<TrendPoint> &points, std::size_t &next, Date date)
{
    while (next < points.size() && points[next].date < date)
        ++next;
    return next < points.size() && points[next].date == date ? &points[next] : nullptr;
}

} // namespace

std::string trendCsv(const CQuilloxDoc::DayList &days, const JournalTrends &trends,
                     std::optional<Date> from, std::optional<Date> to)
{
    std::string csv = trendCsvHeader;
    csv += lineEnd;
    if (from && to && *to < *from)
        return csv;
    const auto first = from ? days.lower_bound(*from) : days.begin();
    const auto end = to ? days.upper_bound(*to) : days.end();
    std::size_t nextWeight = 0;
    std::size_t nextFat = 0;
    for (auto it = first; it != end; ++it) {
        const TrendPoint *weight = pointOn(trends.weight.points(), nextWeight, it->first);
        const TrendPoint *fat = pointOn(trends.fatPercent.points(), nextFat, it->first);
        if (!weight && !fat)
            continue;
        csv += isoDate(it->first);
        const auto appendPoint = [&csv](const TrendPoint *point, double value) {
            appendNumber(csv, point ? std::optional(value) : std::nullopt);
            appendNumber(csv, point ? std::optional(point->trend) : std::nullopt);
        };
        appendPoint(weight, it->second.weight);
        appendPoint(fat, it->second.fatPercent);
        csv += lineEnd;
    }
    return csv;
}

std::string summaryCsv(const std::vector<MonthSummary> &rows)
{
    std::string csv = summaryCsvHeader;
    csv += lineEnd;
    for (const MonthSummary &row : rows) {
        appendPaddedInteger(csv, row.year, 4);
        csv += '-';
        appendPaddedInteger(csv, row.month, 2);
        csv += ',';
        appendPaddedInteger(csv, row.days);
        appendNumber(csv, row.weightMean);
        appendNumber(csv, row.weightMin);
        appendNumber(csv, row.weightMax);
        appendNumber(csv, row.fatMean);
        appendNumber(csv, row.jogKm);
        appendSeconds(csv, row.jogSeconds);
        appendNumber(csv, row.walkKm);
        appendSeconds(csv, row.walkSeconds);
        appendNumber(csv, row.kcal);
        csv += lineEnd;
    }
    return csv;
}
