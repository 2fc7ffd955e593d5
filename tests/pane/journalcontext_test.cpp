// The journal context: the notices the panes exchange through it.

#include "docsetup.h"
#include "journal/cquilloxdoc.h"
#include "pane/journalcontext.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(JournalContext, announcesOnlyRealChangesAndInOrder)
{
    const Date today = makeDate(2026, 12, 4);
    CQuilloxDoc doc(today);
    JournalContext context(doc, today);
    std::vector<std::string> notices;
    QObject sender;
    QObject::connect(&context, &JournalContext::selectedDayChanged,
                     [&](Date day) { notices.push_back("day " + formatDate(day)); });
    QObject::connect(&context, &JournalContext::documentUpdated, [&](QObject *from) {
        notices.push_back(from == &sender ? "update from sender" : "update");
    });
    QObject::connect(&context, &JournalContext::graphPeriodReset,
                     [&] { notices.push_back("period"); });

    context.setSelectedDate(today); // the same day: nothing to tell
    context.setSelectedDate(today + std::chrono::days{1});
    context.updateAllViews(&sender);
    context.setGraphPeriod(-3);

    const std::vector<std::string> expected{"day 2026/12/05", "update from sender", "period",
                                            "update"};
    EXPECT_EQ(notices, expected);
    EXPECT_EQ(context.selectedDate(), today + std::chrono::days{1});
    EXPECT_EQ(doc.graphSettings().graphNDays, -3);
}

TEST(JournalContext, trendsFollowEveryChangeOfTheDaysAndOptionsAnnounceOnlyChanges)
{
    const Date today = makeDate(2026, 12, 4);
    CQuilloxDoc doc(today);
    JournalContext context(doc, today);
    int announced = 0;
    QObject::connect(&context, &JournalContext::progressOptionsChanged, [&] { ++announced; });
    context.setProgressOptions({false, false}); // as they start: nothing to tell
    context.setProgressOptions({true, false});
    context.setProgressOptions({true, false});
    EXPECT_EQ(announced, 1);

    EXPECT_FALSE(context.trends().weight.trendOn(today));
    putDay(doc, today, "", 60, 0, 0, 0, 0, 0); // added
    EXPECT_EQ(context.trends().weight.trendOn(today), 60.0);
    putDay(doc, today, "", 61, 0, 0, 0, 0, 0); // replaced in place
    EXPECT_EQ(context.trends().weight.trendOn(today), 61.0);
    dropDay(doc, today);
    EXPECT_FALSE(context.trends().weight.trendOn(today));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
