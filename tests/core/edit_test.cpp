#include "journal/cquilloxdoc.h"
#include "journal/edit.h"

#include "docsetup.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

const Date today = makeDate(2026, 12, 9);

Date d(int month, int day)
{
    return makeDate(2026, month, day);
}

// Three days, a named profile, an objective and a landscape page.
CQuilloxDoc baseJournal()
{
    CQuilloxDoc doc(today);
    doc.loadJournalText("# quillox file ver 2\r\n"
                        "[settings]\r\ngraphNDays = 14\r\npaperOri = 2\r\n"
                        "[userInfo]\r\nname = Hanako\r\nheight = 158\r\n"
                        "[objective]\r\nweight = 52\r\n"
                        "[data]\r\n"
                        "2026/12/01\t54.2\t24.1\t0\t0\t0\t0\tmorning\r\n"
                        "2026/12/02\t54.0\t0\t5\t1800\t0\t0\t\r\n"
                        "2026/12/04\t53.8\t23.9\t0\t0\t2.5\t1500\train\r\n",
                        today);
    return doc;
}

DayRecord day(Date date, double weight, std::string memo = {})
{
    return DayRecord{date, weight, 0, 0, 0, 0, 0, std::move(memo)};
}

} // namespace

// Every kind of change, applied and then undone with the inverse the document
// returned, gives back the journal's bytes exactly; the inverse of that
// inverse redoes it.
TEST(Edit, applyThenItsInverseGivesBackTheSameBytes)
{
    const std::vector<std::pair<const char *, std::function<void(EditBuilder &)>>> cases = {
        {"added day", [](EditBuilder &e) { e.changeDay(day(d(12, 3), 54.1, "new")); }},
        {"changed day", [](EditBuilder &e) { e.changeDay(day(d(12, 2), 53.9)); }},
        {"removed day", [](EditBuilder &e) { e.deleteDay(d(12, 1)); }},
        {"several days",
         [](EditBuilder &e) {
             e.deleteDay(d(12, 4));
             e.changeDay(day(d(11, 30), 55));
             e.changeDay(day(d(12, 1), 54.3, "evening"));
         }},
        {"profile",
         [](EditBuilder &e) {
             UserInfo user;
             user.name = "Jiro";
             e.changeUserInfo(user);
         }},
        {"objective",
         [](EditBuilder &e) {
             Objective objective;
             objective.weight = 50;
             objective.eventDate = d(12, 24);
             e.changeObjective(objective);
         }},
        {"paper orientation",
         [](EditBuilder &e) {
             GraphSettings settings;
             settings.paperOri = paperPortrait;
             e.changeGraphSettings(settings);
         }},
    };
    for (const auto &[name, change] : cases) {
        CQuilloxDoc doc = baseJournal();
        const std::string before = doc.journalText();
        EditBuilder builder(doc);
        change(builder);
        const Edit edit = builder.take();
        ASSERT_FALSE(edit.empty()) << name;

        const Edit undo = doc.applyEdit(edit);
        const std::string after = doc.journalText();
        EXPECT_NE(after, before) << name;
        EXPECT_EQ(undo, edit.inverse()) << name;

        const Edit redo = doc.applyEdit(undo);
        EXPECT_EQ(doc.journalText(), before) << name;
        doc.applyEdit(redo);
        EXPECT_EQ(doc.journalText(), after) << name;
    }
}

TEST(Edit, aChangeToWhatTheDocumentHoldsIsNoEdit)
{
    CQuilloxDoc doc = baseJournal();
    const std::uint64_t changes = doc.changeCount();
    EditBuilder builder(doc);
    builder.changeDay(*doc.findDay(d(12, 1)));
    builder.deleteDay(d(12, 3)); // not there
    builder.changeUserInfo(doc.userInfo());
    builder.changeObjective(doc.objective());
    GraphSettings settings = doc.graphSettings();
    settings.graphNDays = 70; // a choice of view, never part of an edit
    builder.changeGraphSettings(settings);
    // Changed and changed back within one step.
    builder.changeDay(day(d(12, 2), 60));
    builder.changeDay(*doc.findDay(d(12, 2)));
    const Edit edit = builder.take();
    EXPECT_TRUE(edit.empty());
    doc.applyEdit(edit);
    EXPECT_EQ(doc.changeCount(), changes);
}

// Undo must never move the graph to another period: the period in an edit's
// images is ignored, whatever it was when the edit was made.
TEST(Edit, theGraphsPeriodStaysWhereTheUserHasIt)
{
    CQuilloxDoc doc = baseJournal();
    GraphSettings settings = doc.graphSettings();
    settings.colorWeight = 0x123456;
    EditBuilder builder(doc);
    builder.changeGraphSettings(settings);
    const Edit edit = builder.take();
    doc.setGraphPeriod(-3);
    const Edit undo = doc.applyEdit(edit);
    EXPECT_EQ(doc.graphSettings().graphNDays, -3);
    EXPECT_EQ(doc.graphSettings().colorWeight, 0x123456u);
    doc.setGraphPeriod(7);
    doc.applyEdit(undo);
    EXPECT_EQ(doc.graphSettings().graphNDays, 7);
    EXPECT_EQ(doc.graphSettings().colorWeight, GraphSettings{}.colorWeight);
}

TEST(Edit, theDifferenceOfTwoJournalsTurnsOneIntoTheOther)
{
    CQuilloxDoc from = baseJournal();
    CQuilloxDoc to = baseJournal();
    to.applyEdit(removeDayEdit(to, d(12, 1)));
    to.applyEdit(dayEdit(to, day(d(12, 9), 53.5)));
    to.applyEdit(dayEdit(to, day(d(12, 2), 54.0, "typed later")));
    *userInfoOf(to) = UserInfo{};
    to.setGraphPeriod(-12);

    const Edit difference = differenceBetween(from, to);
    ASSERT_EQ(difference.days.size(), 3u);
    EXPECT_EQ(firstChangedDay(difference), d(12, 1));
    from.applyEdit(difference);
    to.setGraphPeriod(from.graphSettings().graphNDays);
    EXPECT_EQ(from.journalText(), to.journalText());
    EXPECT_TRUE(differenceBetween(from, to).empty());
}

// A view that keeps pointers to the entries follows a one-day step and
// takes everything anew after a larger change; a replacement in place
// keeps the pointers valid but still counts as a change of the values.
TEST(Edit, theDayListRevisionTellsViewsWhatMoved)
{
    CQuilloxDoc doc = baseJournal();
    std::uint64_t revision = doc.dayListRevision();
    doc.applyEdit(dayEdit(doc, day(d(12, 3), 54)));
    ASSERT_TRUE(doc.lastDayListStep());
    EXPECT_EQ(doc.lastDayListStep()->fromRevision, revision);
    EXPECT_TRUE(doc.lastDayListStep()->added);

    revision = doc.dayListRevision();
    const std::uint64_t changes = doc.changeCount();
    doc.applyEdit(dayEdit(doc, day(d(12, 3), 53)));
    EXPECT_EQ(doc.dayListRevision(), revision);
    EXPECT_GT(doc.changeCount(), changes);

    EditBuilder both(doc);
    both.deleteDay(d(12, 1));
    both.deleteDay(d(12, 2));
    doc.applyEdit(both.take());
    EXPECT_NE(doc.dayListRevision(), revision);
    EXPECT_FALSE(doc.lastDayListStep());
}
