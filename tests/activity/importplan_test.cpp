// The rules of an import: decoded files as day patches, and the plan that
// turns the patches and the journal's days into the days as they will be.

#include "activity/activitytexts.h"
#include "activity/importformats.h"
#include "activity/importplan.h"
#include "activity/textscan.h"
#include "activityfixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using activityfixtures::ScopedTimeZone;

using Days = std::map<Date, DayRecord>;

const Date day7 = makeDate(2026, 12, 7);
const Date day8 = makeDate(2026, 12, 8);

double at(int day, int hour, int minute)
{
    return *clockSecondsOf(2026, 12, day, hour, minute, 0);
}

Weighing weighing(double clock, double kg, double fat)
{
    return {clock, true, kg, fat};
}

Activity run(double clock, double metres, double seconds, const char *sport = "running")
{
    Activity activity;
    activity.startSeconds = clock - 9 * 3600;
    activity.writtenClockSeconds = clock;
    activity.distanceMetres = metres;
    activity.durationSeconds = seconds;
    activity.sport = sport;
    activity.field = fieldForGpxType(sport);
    return activity;
}

ImportFile fileOf(const char *name, std::vector<Weighing> weighings,
                  std::vector<Activity> activities = {})
{
    ActivityFile file;
    file.weighings = std::move(weighings);
    file.activities = std::move(activities);
    return importFileOf(name, file);
}

TEST(ImportPlan, patchesFallOnTheDateWrittenOrTheLocalDayOfTheInstant)
{
    const ScopedTimeZone zone("Asia/Tokyo");
    ActivityFile file;
    // A scale's FIT: 15:10 UTC is 00:10 the next day in Tokyo.
    const double utc = *clockSecondsOf(2026, 12, 7, 15, 10, 0);
    file.weighings = {{utc, false, 57, 0},
                      // Apple Health: the date as written, whatever its offset.
                      weighing(at(7, 23, 50), 57.2, 0),
                      weighing(at(8, 7, 0), 612, 0)};
    Activity walk = run(at(7, 23, 30), 3000, 1800, "walking");
    walk.writtenClockSeconds.reset();
    walk.startSeconds = utc; // as GPX, TCX and FIT give it
    file.activities = {walk};
    const ImportFile patches = importFileOf("scale", file);
    ASSERT_EQ(patches.patches.size(), 3u);
    EXPECT_EQ(patches.patches[0].kind, PatchKind::activity);
    EXPECT_EQ(patches.patches[0].day, day8);
    EXPECT_EQ(patches.patches[0].clockSeconds, at(8, 0, 10));
    EXPECT_EQ(patches.patches[1].day, day8);
    EXPECT_EQ(patches.patches[2].day, day7);
    EXPECT_EQ(patches.refusals,
              std::vector<std::string>{"2026/12/08 07:00 の測定: 体重「612.00 kg」は 0〜500 kg "
                                       "の範囲を外れているため、取り込みません。"});
}

TEST(ImportPlan, aDayTakesOneWeighingByThePickAndItsOwnFatFirst)
{
    // 07:00 without fat, 07:30 fat alone, 21:00 with fat; the next day a
    // weigh-in without fat leaves the day's fat as it is.
    const ImportFile file =
        fileOf("scale.csv", {weighing(at(7, 21, 0), 57.9, 24.2), weighing(at(7, 7, 0), 57.004, 0),
                             weighing(at(7, 7, 30), 0, 23.4), weighing(at(8, 7, 0), 56.5, 0)});
    const Days days = {{day7, {day7, 58, 25, 5, 1500, 0, 0, "memo"}},
                       {day8, {day8, 57, 22, 0, 0, 0, 0, ""}}};
    const struct {
        WeightPick pick;
        double weight;
        double fat;
        std::vector<RowState> states;
    } cases[] = {
        {WeightPick::first,
         57,
         23.4,
         {RowState::notPicked, RowState::imported, RowState::imported, RowState::imported}},
        {WeightPick::last,
         57.9,
         24.2,
         {RowState::imported, RowState::notPicked, RowState::notPicked, RowState::imported}},
        {WeightPick::mean,
         57.45,
         23.8,
         {RowState::imported, RowState::imported, RowState::imported, RowState::imported}},
    };
    for (const auto &c : cases) {
        ImportChoices choices;
        choices.pick = c.pick;
        const ImportPlan plan = planImport({file}, days, choices, "");
        ASSERT_EQ(plan.changes.size(), 2u);
        EXPECT_EQ(plan.changes[0].before, days.at(day7));
        EXPECT_EQ(plan.changes[0].after, (DayRecord{day7, c.weight, c.fat, 5, 1500, 0, 0, "memo"}));
        EXPECT_EQ(plan.changes[1].after, (DayRecord{day8, 56.5, 22, 0, 0, 0, 0, ""}));
        std::vector<RowState> states;
        for (const ImportRow &row : plan.rows)
            states.push_back(row.state);
        EXPECT_EQ(states, c.states) << static_cast<int>(c.pick);
        EXPECT_EQ(plan.counts.days, 2u);
        EXPECT_EQ(plan.counts.weights, 2u);
        EXPECT_EQ(plan.counts.fats, 1u);
    }
}

TEST(ImportPlan, keepingWhatDaysHold)
{
    const ImportFile file =
        fileOf("mixed", {weighing(at(7, 7, 0), 57, 23), weighing(at(8, 7, 0), 56.8, 22.9)},
               {run(at(7, 6, 0), 5000, 1500), run(at(8, 6, 0), 3000, 900)});
    const Days days = {{day7, {day7, 58, 0, 4, 1200, 0, 0, ""}},
                       {day8, {day8, 0, 21, 0, 0, 2, 1200, ""}}};
    ImportChoices choices;
    choices.keepExisting = true;
    const ImportPlan plan = planImport({file}, days, choices, "");
    // Day 7 holds a weight and a jog: both stay. Day 8 holds neither.
    ASSERT_EQ(plan.changes.size(), 1u);
    EXPECT_EQ(plan.changes[0].after, (DayRecord{day8, 56.8, 22.9, 3, 900, 2, 1200, ""}));
    EXPECT_EQ(plan.rows[0].state, RowState::keptExisting);
    EXPECT_EQ(plan.rows[2].state, RowState::keptExisting);
}

TEST(ImportPlan, addModeSkipsARunTheDayHoldsAndTheUserMayTakeItAfterAll)
{
    const ImportFile file = fileOf("runs.fit", {},
                                   {run(at(7, 6, 0), 5004, 1500.4), run(at(7, 18, 0), 3000, 900),
                                    run(at(7, 12, 0), 30000, 3600, "cycling")});
    const Days days = {{day7, {day7, 0, 0, 5, 1500, 0, 0, ""}}};
    ImportChoices choices;
    choices.addToDay = true;
    const ImportPlan plan = planImport({file}, days, choices, " (hint)");
    ASSERT_EQ(plan.rows.size(), 3u);
    EXPECT_TRUE(plan.rows[0].sameAsHeld);
    EXPECT_FALSE(plan.rows[0].ticked);
    EXPECT_EQ(plan.rows[0].state, RowState::sameAsHeld);
    EXPECT_EQ(plan.rows[2].state, RowState::refusedSport);
    EXPECT_EQ(plan.notes,
              std::vector<std::string>{fillActivityText(
                  activitytext::alreadyHeldLine,
                  {"runs.fit", "2026/12/07", "Jog", "5", "25'00\"", activitytext::alreadyHeld})});
    EXPECT_EQ(plan.problems, std::vector<std::string>{fillActivityText(activitytext::refusedSport,
                                                                       {"runs.fit", "cycling"}) +
                                                      " (hint)"});
    ASSERT_EQ(plan.changes.size(), 1u);
    EXPECT_EQ(plan.changes[0].after->jogDistance, 8);
    EXPECT_EQ(plan.changes[0].after->jogDuration, 2400);

    // Ticked by the user, and the cycling taken as a walk.
    choices.ticks[0] = true;
    choices.runField = ActivityField::walk;
    const ImportPlan ticked = planImport({file}, days, choices, "");
    EXPECT_EQ(ticked.changes[0].after, (DayRecord{day7, 0, 0, 5, 1500, 38, 6000, ""}));
    EXPECT_TRUE(ticked.problems.empty());
}

TEST(ImportPlan, theSameFileTwiceChangesNothingTheSecondTime)
{
    const ImportFile file =
        fileOf("export.xml", {weighing(at(7, 7, 0), 57, 23.5)}, {run(at(7, 6, 0), 5000, 1500)});
    const ImportPlan plan = planImport({file, file}, {}, {}, "");
    EXPECT_EQ(plan.notes,
              (std::vector<std::string>{
                  fillActivityText(activitytext::sameActivity, {"export.xml", "export.xml"}),
                  fillActivityText(activitytext::sameWeighing, {"export.xml", "export.xml"})}));
    ASSERT_EQ(plan.changes.size(), 1u);
    EXPECT_FALSE(plan.changes[0].before.has_value());
    EXPECT_EQ(plan.changes[0].after, (DayRecord{day7, 57, 23.5, 5, 1500, 0, 0, ""}));
    EXPECT_EQ(plan.changeOf(day7), &plan.changes[0]);
    EXPECT_EQ(plan.changeOf(day8), nullptr);

    const Days after = {{day7, *plan.changes[0].after}};
    EXPECT_FALSE(planImport({file}, after, {}, "").hasChanges());
    ImportChoices add;
    add.addToDay = true;
    EXPECT_FALSE(planImport({file}, after, add, "").hasChanges());
}

} // namespace
