#include "activity/runimport.h"

#include "activity/activitytexts.h"
#include "activity/plausibility.h"
#include "journal/cquilloxdoc.h"
#include "text/entrytext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>
#include <unordered_map>
#include <utility>

namespace {

constexpr double secondsPerDay = 86400;

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
    return dayOfClock(localClockOf(unixSeconds));
}

double localClockOf(double unixSeconds)
{
    // Beyond what time_t and the calendar hold the clock is the instant: the
    // day is clamped to the journal's years anyway.
    if (!(std::fabs(unixSeconds) < 1e15))
        return unixSeconds;
    const double whole = std::floor(unixSeconds);
    const auto seconds = static_cast<std::time_t>(whole);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr)
        return unixSeconds;
    const std::chrono::year_month_day ymd{
        std::chrono::year{local.tm_year + 1900},
        std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
        std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
    const double days = static_cast<double>(std::chrono::sys_days{ymd}.time_since_epoch().count());
    return days * secondsPerDay + local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec +
           (unixSeconds - whole);
}

Date dayOfClock(double clockSeconds)
{
    const Date first = makeDate(minJournalYear, 1, 1);
    const Date last = makeDate(maxJournalYear, 12, 31);
    const double day = std::floor(clockSeconds / secondsPerDay);
    if (!(day >= static_cast<double>(first.time_since_epoch().count())))
        return first;
    if (day > static_cast<double>(last.time_since_epoch().count()))
        return last;
    return Date{std::chrono::days{static_cast<long>(day)}};
}

double clockOf(const Activity &activity)
{
    return activity.writtenClockSeconds ? *activity.writtenClockSeconds
                                        : localClockOf(activity.startSeconds);
}

double clockOf(const Weighing &weighing)
{
    return weighing.writtenClock ? weighing.seconds : localClockOf(weighing.seconds);
}

Date dayOf(const Activity &activity)
{
    return dayOfClock(clockOf(activity));
}

Date dayOf(const Weighing &weighing)
{
    return dayOfClock(clockOf(weighing));
}

std::string activityRefusal(const Activity &activity, const std::string &reason)
{
    const std::string day = formatDate(dayOf(activity));
    if (activity.sport.empty())
        return fillActivityText(activitytext::activityRefused, {day, reason});
    return fillActivityText(activitytext::sportRefused, {day, activity.sport, reason});
}

std::string weighingRefusal(const Weighing &weighing, const std::string &reason)
{
    const double clock = clockOf(weighing);
    const double inDay = clock - std::floor(clock / secondsPerDay) * secondsPerDay;
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d", static_cast<int>(inDay / 3600),
                  static_cast<int>(std::fmod(inDay, 3600) / 60));
    return fillActivityText(activitytext::weighingRefused,
                            {formatDate(dayOfClock(clock)), time, reason});
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
        for (const std::string &refusal : source.file.refusals)
            plan.problems.push_back(
                fillActivityText(activitytext::fileProblem, {source.name, refusal}));
        for (const Activity &activity : source.file.activities) {
            if (const std::optional<std::string> reason = implausibility(activity)) {
                plan.problems.push_back(fillActivityText(
                    activitytext::fileProblem, {source.name, activityRefusal(activity, *reason)}));
                continue;
            }
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
            row.day = dayOf(activity);
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

Edit runImportEdit(const CQuilloxDoc &document, const RunImportPlan &plan, bool addToDay)
{
    // A day may take a jog and a walk: both land on the same record.
    std::map<Date, DayRecord> changed;
    for (const DayFieldTotal &total : totalsByDayAndField(plan)) {
        auto [it, added] = changed.try_emplace(total.day);
        DayRecord &day = it->second;
        if (added) {
            if (const DayRecord *entry = document.findDay(total.day))
                day = *entry;
            day.date = total.day;
        }
        double &distance = total.field == ActivityField::jog ? day.jogDistance : day.walkDistance;
        double &duration = total.field == ActivityField::jog ? day.jogDuration : day.walkDuration;
        distance = addToDay ? distance + total.values.kilometres : total.values.kilometres;
        duration = addToDay ? duration + total.values.seconds : total.values.seconds;
    }
    EditBuilder edit(document);
    for (const auto &[date, day] : changed)
        edit.changeDay(day);
    return edit.take();
}

std::optional<Date> latestImportedDay(const RunImportPlan &plan)
{
    std::optional<Date> latest;
    for (const RunImportRow &row : plan.rows) {
        if (row.field)
            latest = latest ? std::max(*latest, row.day) : row.day;
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
