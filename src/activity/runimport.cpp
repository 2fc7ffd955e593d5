#include "activity/runimport.h"

#include "activity/activitytexts.h"
#include "entry/entrytext.h"
#include "journal/cquilloxdoc.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <map>
#include <unordered_map>
#include <utility>

namespace {

// Sums of values already rounded to 0.01 pick up binary noise; the journal
// should hold the hundredths the user sees.
double hundredths(double value)
{
    return std::round(value * 100) / 100;
}

// What makes two activities the same recording read twice.
struct RecordingKey {
    double start;
    double metres;
    double seconds;
    bool operator==(const RecordingKey &) const = default;
};

struct RecordingKeyHash {
    std::size_t operator()(const RecordingKey &key) const
    {
        const std::hash<double> hash;
        std::size_t seed = hash(key.start);
        for (const double value : {key.metres, key.seconds})
            seed ^= hash(value) + 0x9e3779b97f4a7c15ull + (seed << 6) + (seed >> 2);
        return seed;
    }
};

} // namespace

bool RunImportPlan::hasImportable() const
{
    return std::any_of(rows.begin(), rows.end(),
                       [](const RunImportRow &row) { return row.field.has_value(); });
}

Date localDayOf(double unixSeconds)
{
    const auto seconds = static_cast<std::time_t>(std::floor(unixSeconds));
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr)
        return Date{std::chrono::days{static_cast<long>(std::floor(unixSeconds / 86400))}};
    const std::optional<Date> day =
        dateFromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    // Outside the years a journal can write: the nearest one it can.
    if (!day)
        return local.tm_year + 1900 < minJournalYear ? makeDate(minJournalYear, 1, 1)
                                                     : makeDate(maxJournalYear, 12, 31);
    return *day;
}

double roundedKilometres(double metres)
{
    return std::round(metres / 10) / 100;
}

double roundedSeconds(double seconds)
{
    return std::round(seconds);
}

RunImportPlan planRunImport(const std::vector<RunImportSource> &sources,
                            std::optional<ActivityField> chosen, const std::string &refusalHint)
{
    RunImportPlan plan;
    // The first file each recording came from, found by hashing: a search
    // through every earlier activity made an import of 300,000 sessions take
    // minutes.
    std::unordered_map<RecordingKey, const std::string *, RecordingKeyHash> taken;
    for (const RunImportSource &source : sources) {
        if (!source.file.ok()) {
            plan.fileFailed = true;
            plan.problems.push_back(
                fillActivityText(activitytext::fileProblem, {source.name, source.file.error}));
            continue;
        }
        for (const Activity &activity : source.file.activities) {
            const auto [earlier, first] = taken.try_emplace(
                {activity.startSeconds, activity.distanceMetres, activity.durationSeconds},
                &source.name);
            if (!first) {
                plan.notes.push_back(
                    fillActivityText(activitytext::sameActivity, {source.name, *earlier->second}));
                continue;
            }
            RunImportRow row;
            row.fileName = source.name;
            row.sport = activity.sport;
            row.day = localDayOf(activity.startSeconds);
            row.field = chosen ? chosen : activity.field;
            row.kilometres = roundedKilometres(activity.distanceMetres);
            row.seconds = roundedSeconds(activity.durationSeconds);
            if (!row.field)
                plan.problems.push_back(
                    fillActivityText(activitytext::refusedSport, {source.name, activity.sport}) +
                    refusalHint);
            plan.rows.push_back(std::move(row));
        }
    }
    return plan;
}

FieldValues heldValues(const CQuilloxDoc &document, Date day, ActivityField field)
{
    const DayRecord *entry = document.findDay(day);
    if (!entry)
        return {};
    return field == ActivityField::jog ? FieldValues{entry->jogDistance, entry->jogDuration}
                                       : FieldValues{entry->walkDistance, entry->walkDuration};
}

std::vector<DayFieldTotal> totalsByDayAndField(const RunImportPlan &plan)
{
    std::map<std::pair<Date, ActivityField>, FieldValues> sums;
    for (const RunImportRow &row : plan.rows) {
        if (!row.field)
            continue;
        FieldValues &sum = sums[{row.day, *row.field}];
        sum.kilometres = hundredths(sum.kilometres + row.kilometres);
        sum.seconds += row.seconds;
    }
    std::vector<DayFieldTotal> totals;
    totals.reserve(sums.size());
    for (const auto &[key, values] : sums)
        totals.push_back({key.first, key.second, values});
    return totals;
}

std::optional<Date> applyRunImport(CQuilloxDoc &document, const RunImportPlan &plan, bool addToDay)
{
    std::optional<Date> latest;
    for (const DayFieldTotal &total : totalsByDayAndField(plan)) {
        DayRecord day;
        if (const DayRecord *entry = document.findDay(total.day))
            day = *entry;
        double &distance = total.field == ActivityField::jog ? day.jogDistance : day.walkDistance;
        double &duration = total.field == ActivityField::jog ? day.jogDuration : day.walkDuration;
        distance = addToDay ? distance + total.values.kilometres : total.values.kilometres;
        duration = addToDay ? duration + total.values.seconds : total.values.seconds;
        document.setDay(total.day, day.memo, day.weight, day.fatPercent, day.jogDistance,
                        day.jogDuration, day.walkDistance, day.walkDuration);
        latest = latest ? std::max(*latest, total.day) : total.day;
    }
    return latest;
}

const char *fieldName(ActivityField field)
{
    return field == ActivityField::jog ? activitytext::fieldJog : activitytext::fieldWalk;
}

std::string distanceAndTimeText(FieldValues values)
{
    if (values.kilometres == 0 && values.seconds == 0)
        return activitytext::nothingHeld;
    return fillActivityText(activitytext::distanceAndTime,
                            {values.kilometres == 0 ? "0" : formatEntryNumber(values.kilometres),
                             formatDuration(values.seconds)});
}

std::string runImportLine(const RunImportRow &row, bool added)
{
    const std::string km = row.kilometres == 0 ? "0" : formatEntryNumber(row.kilometres);
    return fillActivityText(added ? activitytext::cliActivityLineAdded
                                  : activitytext::cliActivityLine,
                            {formatDate(row.day), row.field ? fieldName(*row.field) : "", km,
                             formatDuration(row.seconds)});
}
