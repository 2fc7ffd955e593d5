#pragma once

#include "activity/activity.h"
#include "journal/calendardate.h"

#include <optional>
#include <string>
#include <vector>

// The rules of an activity's or a weighing's day and the texts of a run,
// shared by the import's plan, the window's dialog and zeph.

// One run of an import, as zeph reports it.
struct RunImportRow {
    std::string fileName;
    std::string sport;                  // as the file names it; empty for none
    Date day{};                         // local calendar day of the start
    std::optional<ActivityField> field; // nullopt: refused, nothing stored
    double kilometres = 0;              // rounded to 0.01
    double seconds = 0;                 // whole seconds
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

// The values a day's field holds.
struct FieldValues {
    double kilometres = 0;
    double seconds = 0;
};

// "Jog" or "Walk".
const char *fieldName(ActivityField field);
// "10.03 km 52'10\"", as the entry form and the list show them; "なし" for
// nothing (UTF-8).
std::string distanceAndTimeText(FieldValues values);
// zeph's line for a row: day, field, km, time.
std::string runImportLine(const RunImportRow &row, bool added);
