#include "journal/cquilloxdoc.h"
#include "journal/edit.h"
#include "journal/merge.h"

#include "docsetup.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

const Date today = makeDate(2026, 12, 9);
const Date theDay = makeDate(2026, 12, 4);
const Date otherDay = makeDate(2026, 12, 1); // the same in every version

std::optional<DayRecord> weighing(std::optional<double> weight)
{
    if (!weight)
        return std::nullopt;
    return DayRecord{theDay, *weight, 0, 0, 0, 0, 0, "memo"};
}

CQuilloxDoc journalWith(std::optional<double> weight)
{
    CQuilloxDoc doc(today);
    putDay(doc, otherDay, "same", 50, 0, 0, 0, 0, 0);
    if (const auto day = weighing(weight))
        doc.applyEdit(dayEdit(doc, *day));
    return doc;
}

std::optional<double> weightOn(const CQuilloxDoc &doc, Date date)
{
    if (const DayRecord *day = doc.findDay(date))
        return day->weight;
    return std::nullopt;
}

} // namespace

// Each way one day can differ between a base and two versions of it, merged
// with ours' changes replayed onto theirs.
TEST(Merge, threeWayDayByDay)
{
    const std::nullopt_t none = std::nullopt;
    struct Case {
        const char *what;
        std::optional<double> base, ours, theirs, merged;
        bool conflict;
    };
    const std::vector<Case> cases = {
        {"untouched", 60, 60, 60, 60, false},
        {"added by ours", none, 61, none, 61, false},
        {"added by theirs", none, none, 62, 62, false},
        {"added by both alike", none, 61, 61, 61, false},
        {"added by both differently", none, 61, 62, 61, true},
        {"changed by ours", 60, 61, 60, 61, false},
        {"changed by theirs", 60, 60, 62, 62, false},
        {"changed by both alike", 60, 61, 61, 61, false},
        {"changed by both differently", 60, 61, 62, 61, true},
        {"removed by ours", 60, none, 60, none, false},
        {"removed by theirs", 60, 60, none, none, false},
        {"removed by both", 60, none, none, none, false},
        {"removed by ours, changed by theirs", 60, none, 62, none, true},
        {"changed by ours, removed by theirs", 60, 61, none, 61, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const CQuilloxDoc base = journalWith(c.base);
        const CQuilloxDoc ours = journalWith(c.ours);
        CQuilloxDoc theirs = journalWith(c.theirs);
        const MergePlan plan = planThreeWayMerge(base, ours, theirs);
        EXPECT_EQ(plan.conflicts.days,
                  c.conflict ? std::vector<Date>{theDay} : std::vector<Date>{});
        const std::string before = theirs.journalText();
        const Edit undo = theirs.applyEdit(plan.edit);
        EXPECT_EQ(weightOn(theirs, theDay), c.merged);
        EXPECT_EQ(weightOn(theirs, otherDay), 50);
        // The plan's befores are theirs' own values: it undoes exactly.
        theirs.applyEdit(undo);
        EXPECT_EQ(theirs.journalText(), before);
    }
}

// The sections follow the same rule; the graph's period, a choice of view,
// is never a difference.
TEST(Merge, threeWaySections)
{
    CQuilloxDoc base(today);
    CQuilloxDoc ours(today);
    CQuilloxDoc theirs(today);
    userInfoOf(ours)->height = 170;   // ours alone
    objectiveOf(theirs)->weight = 55; // theirs alone
    graphSettingsOf(ours)->paperOri = paperPortrait;
    graphSettingsOf(theirs)->graphWeight = false; // both, differently
    theirs.setGraphPeriod(-3);
    MergePlan plan = planThreeWayMerge(base, ours, theirs);
    EXPECT_EQ(plan.conflicts, (MergeConflicts{{}, false, false, true}));
    theirs.applyEdit(plan.edit);
    EXPECT_EQ(theirs.userInfo().height, 170);
    EXPECT_EQ(theirs.objective().weight, 55);
    EXPECT_EQ(theirs.graphSettings().paperOri, paperPortrait);
    EXPECT_TRUE(theirs.graphSettings().graphWeight); // ours wins the conflict
    EXPECT_EQ(theirs.graphSettings().graphNDays, -3);

    // Only the period differs: nothing to do.
    CQuilloxDoc viewed(today);
    viewed.setGraphPeriod(14);
    plan = planThreeWayMerge(base, viewed, CQuilloxDoc(today));
    EXPECT_TRUE(plan.edit.empty());
    EXPECT_TRUE(plan.conflicts.empty());
}

// Edits one after the other compose to the first before and the last after;
// an edit and its undo compose to nothing, so replaying them never touches
// another program's value of that day.
TEST(Merge, composedEditsReplayed)
{
    CQuilloxDoc mine = journalWith(60);
    std::vector<Edit> log;
    log.push_back(mine.applyEdit(dayEdit(mine, *weighing(61))).inverse());
    log.push_back(mine.applyEdit(dayEdit(mine, *weighing(62))).inverse());
    EXPECT_EQ(log.front(), dayEdit(journalWith(60), *weighing(61)));
    const Date added = makeDate(2026, 12, 5);
    log.push_back(mine.applyEdit(dayEdit(mine, DayRecord{added, 70, 0, 0, 0, 0, 0, ""})).inverse());
    log.push_back(mine.applyEdit(log.back().inverse()).inverse()); // its undo

    const Edit composed = composeEdits(log);
    ASSERT_EQ(composed.days.size(), 1u);
    EXPECT_EQ(composed.days[0], (DayChange{theDay, weighing(60), weighing(62)}));

    // Another program meanwhile wrote the added day its own way.
    CQuilloxDoc disk = journalWith(60);
    disk.applyEdit(dayEdit(disk, DayRecord{added, 80, 0, 0, 0, 0, 0, "theirs"}));
    MergePlan plan = planReplay(disk, composed);
    EXPECT_TRUE(plan.conflicts.empty());
    disk.applyEdit(plan.edit);
    EXPECT_EQ(weightOn(disk, theDay), 62);
    EXPECT_EQ(weightOn(disk, added), 80);
    // Replayed a second time, everything already equals the after.
    EXPECT_TRUE(planReplay(disk, composed).edit.empty());
}

TEST(Merge, onlyAWholeJournalIsAVersion)
{
    const std::string whole = CQuilloxDoc(today).journalText();
    EXPECT_TRUE(looksLikeWholeJournal(whole));
    for (const std::string &bytes :
         {std::string(), whole.substr(0, whole.size() - 1), whole.substr(whole.find('\n') + 1)})
        EXPECT_FALSE(looksLikeWholeJournal(bytes));
}

// Without a base, only the days the journal lacks are taken; a day both hold
// differently keeps the journal's value and is named.
TEST(Merge, twoWayAddsMissingDaysOnly)
{
    CQuilloxDoc journal = journalWith(60);
    CQuilloxDoc other = journalWith(61);
    const Date extra = makeDate(2026, 12, 7);
    putDay(other, extra, "", 59, 0, 0, 0, 0, 0);
    userInfoOf(other)->height = 180;
    const MergePlan plan = planTwoWayMerge(journal, other);
    EXPECT_EQ(plan.conflicts.days, std::vector<Date>{theDay});
    journal.applyEdit(plan.edit);
    EXPECT_EQ(weightOn(journal, theDay), 60);
    EXPECT_EQ(weightOn(journal, extra), 59);
    EXPECT_EQ(journal.userInfo().height, 0);
}
