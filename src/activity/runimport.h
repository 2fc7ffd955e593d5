#pragma once

#include "activity/activity.h"
#include "journal/calendardate.h"
#include "journal/edit.h"

#include <optional>
#include <string>
#include <vector>

class CQuilloxDoc;

// The rules that turn the activities of some files into days of the journal,
// shared by the window's dialog and by `zeph import-run`: which day and
// field each activity fills, how the activities of one day and field add up,
// and what replacing or adding does to the day.

// A file as read, under the name its messages give it (UTF-8).
struct RunImportSource {
    std::string name;
    ActivityFile file;
};

// One activity of the import, as it would be stored.
struct RunImportRow {
    std::string fileName;
    std::string sport;                  // as the file names it; empty for none
    Date day{};                         // local calendar day of the start
    std::optional<ActivityField> field; // nullopt: refused, nothing stored
    double kilometres = 0;              // rounded to 0.01
    double seconds = 0;                 // whole seconds
};

struct RunImportPlan {
    std::vector<RunImportRow> rows; // in file order, refused ones included
    // A line for every file that could not be read and every refused sport
    // (UTF-8, naming the file).
    std::vector<std::string> problems;
    // Activities left out because an earlier one of the import is the very
    // same recording (UTF-8): not a failure.
    std::vector<std::string> notes;
    bool fileFailed = false; // some file could not be read at all
    bool hasImportable() const;
};

// The local calendar day (system time zone, TZ) of an instant in Unix time.
Date localDayOf(double unixSeconds);
// The local clock (system time zone) at an instant in Unix time, counted as
// Unix time counts: 86400 a day from 1970-01-01 00:00 of that clock.
double localClockOf(double unixSeconds);
// The calendar day of such a clock, within the years a journal can write.
Date dayOfClock(double clockSeconds);
// The day an activity or a weighing belongs to: the date the file writes,
// or else the local day of the instant; and the local clock it was taken at.
Date dayOf(const Activity &activity);
Date dayOf(const Weighing &weighing);
double clockOf(const Activity &activity);
double clockOf(const Weighing &weighing);
// A line for an activity or a weighing left out, naming it by its date
// (and sport, or time of day) before the reason (UTF-8).
std::string activityRefusal(const Activity &activity, const std::string &reason);
std::string weighingRefusal(const Weighing &weighing, const std::string &reason);
// Metres as the journal's kilometres, to 0.01 km; seconds to the nearest whole.
double roundedKilometres(double metres);
double roundedSeconds(double seconds);

// The plan for these files. `chosen`, the user's field, overrides every
// activity's sport, refused ones included. An activity that repeats an
// earlier one exactly (start, distance and time) is the same recording read
// twice and is left out, so that naming a file twice does not double a day. `refusalHint` ends the
// message of a refused sport (how to take it after all).
RunImportPlan planRunImport(const std::vector<RunImportSource> &sources,
                            std::optional<ActivityField> chosen, const std::string &refusalHint);

// The values a day's field holds.
struct FieldValues {
    double kilometres = 0;
    double seconds = 0;
};
FieldValues heldValues(const CQuilloxDoc &document, Date day, ActivityField field);

// The sums of the rows of one day and field, in date order, jog before walk.
struct DayFieldTotal {
    Date day{};
    ActivityField field = ActivityField::jog;
    FieldValues values;
};
std::vector<DayFieldTotal> totalsByDayAndField(const RunImportPlan &plan);

// The plan as one edit, keeping each day's other fields: each sum replaces
// the day's field, or with `addToDay` is added to what it holds.
Edit runImportEdit(const CQuilloxDoc &document, const RunImportPlan &plan, bool addToDay);
// The latest day the plan stores into, nullopt when it stores nothing.
std::optional<Date> latestImportedDay(const RunImportPlan &plan);

// "Jog" or "Walk".
const char *fieldName(ActivityField field);
// "10.03 km 52'10\"", as the entry form and the list show them; "なし" for
// nothing (UTF-8).
std::string distanceAndTimeText(FieldValues values);
// zeph's line for a row: day, field, km, time.
std::string runImportLine(const RunImportRow &row, bool added);
