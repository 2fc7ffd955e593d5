#pragma once

#include "activity/activity.h"
#include "journal/calendardate.h"
#include "journal/dayrecord.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The rules of an import of runs and weights, for the window's dialog and
// for zeph alike: each file's activities and weighings become day patches
// (a local day and the values it sets), and one plan turns all the patches
// of an import and the journal's days into the days as they will be. The
// plan changes nothing: it gives each day's entry before and after, which
// the caller stores as one change of the journal.

enum class PatchKind { weighing, activity };

// A value an activity or weighing sets on its day, unrounded.
struct DayPatch {
    PatchKind kind = PatchKind::weighing;
    Date day{};
    // The local clock it was taken at, counted as Unix time counts: orders
    // the patches of a day (first, last).
    double clockSeconds = 0;
    // A weighing: 0 is "not measured".
    double weightKg = 0;
    double fatPercent = 0;
    // An activity: the field its sport goes to (nullopt: neither a jog nor
    // a walk), the sport as the file names it, its start in Unix time.
    std::optional<ActivityField> field;
    std::string sport;
    double startSeconds = 0;
    double metres = 0;
    double seconds = 0;
};

// What one input of an import gave.
struct ImportFile {
    std::string name; // as messages name it (UTF-8)
    ActivityFormat format = ActivityFormat::unknown;
    std::vector<DayPatch> patches;
    // Activities and measurements left out, each with its reason (UTF-8,
    // without the file's name).
    std::vector<std::string> refusals;
    std::string error; // the whole input refused (UTF-8, without the name)
    // A Fitbit export read without a unit: refused until the user names one.
    bool needsWeightUnit = false;

    bool ok() const { return error.empty(); }
};

// A decoded file as patches: each activity and weighing on its day (the
// date the file writes, or the local day of its instant), every one with
// an impossible value refused with the reason.
ImportFile importFileOf(std::string name, const ActivityFile &file);

// ---- the plan ----

// Which of a day's weighings gives its weight: the first (the morning
// weigh-in diet practice recommends), the last, or the mean of them all.
enum class WeightPick { first, last, mean };

// The field of the day a row goes to.
enum class ImportTarget { weight, jog, walk };

struct ImportChoices {
    WeightPick pick = WeightPick::first;
    // Days that already hold a weight keep it (and their body fat); a jog
    // or walk the day already holds stays as it is.
    bool keepExisting = false;
    // Runs add to what their day holds instead of replacing it.
    bool addToDay = false;
    // The user's field for every activity, refused sports included.
    std::optional<ActivityField> runField;
    // The rows the user ticked (true) or unticked, by index into the plan's
    // rows; every other row keeps its default. The rows do not depend on
    // the other choices, so these indexes stay valid when they change.
    std::map<std::size_t, bool> ticks;
};

enum class RowState {
    imported,     // its values reach its day
    unticked,     // left out by the user
    notPicked,    // another weighing of the day gives the day's value
    keptExisting, // its day keeps what it holds
    sameAsHeld,   // add mode: the day already holds exactly this run
    refusedSport, // neither a jog nor a walk, and no field chosen
};

// One activity or weighing of the import, as it would be stored.
struct ImportRow {
    std::size_t file = 0; // index into the import's files
    PatchKind kind = PatchKind::weighing;
    Date day{};
    double clockSeconds = 0;
    std::string sport; // an activity's, as the file names it
    std::optional<ImportTarget> target;
    double weight = 0;     // kg to 0.01; 0: none
    double fatPercent = 0; // % to 0.1; 0: none
    double kilometres = 0; // to 0.01
    double seconds = 0;    // whole
    bool ticked = false;
    bool sameAsHeld = false; // add mode only
    RowState state = RowState::imported;
};

// A day the import changes: its entry before (none for a new day) and after.
struct ImportDayChange {
    Date date{};
    std::optional<DayRecord> before;
    std::optional<DayRecord> after;

    bool operator==(const ImportDayChange &) const = default;
};

// How many days change, and how many of them in each field.
struct ImportCounts {
    std::size_t days = 0;
    std::size_t weights = 0;
    std::size_t fats = 0;
    std::size_t jogs = 0;
    std::size_t walks = 0;
};

struct ImportPlan {
    std::vector<ImportRow> rows; // in file order
    // Ascending by date, one per day, before and after never equal.
    std::vector<ImportDayChange> changes;
    // A line for every input that could not be read, every activity or
    // measurement refused and every refused sport (UTF-8, naming the file).
    std::vector<std::string> problems;
    // Things left out that are no failure: a recording read twice, a run
    // the day already holds in add mode (UTF-8).
    std::vector<std::string> notes;
    bool fileFailed = false;
    ImportCounts counts;

    bool hasChanges() const { return !changes.empty(); }
    // The change of a day, or nullptr when the import leaves it as it is.
    const ImportDayChange *changeOf(Date day) const;
};

// The plan of an import. The same recording or weighing read twice (a file
// named twice) counts once. `refusalHint` ends the message of a refused
// sport (how to take it after all).
ImportPlan planImport(const std::vector<ImportFile> &files, const std::map<Date, DayRecord> &days,
                      const ImportChoices &choices, const std::string &refusalHint);

// ---- texts for the rows, shared by the dialog and zeph (UTF-8) ----

// "体重", "Jog", "Walk".
const char *targetName(ImportTarget target);
// What a row sets: "56.8 kg 23.5 %", "23.5 %", "5.01 km 25'00\"".
std::string rowValueText(const ImportRow &row);
// What a day holds in a row's field: its weight and fat, or its run;
// "なし" for nothing.
std::string dayValueText(const DayRecord &day, ImportTarget target);
