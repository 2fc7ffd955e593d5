#include "activity/runimport.h"

#include "activity/activitytexts.h"
#include "activity/plausibility.h"
#include "text/entrytext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <utility>

namespace {

constexpr double secondsPerDay = 86400;

} // namespace

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
