#include "docsetup.h"
#include "journal/cquilloxdoc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<Date> datesOf(const CQuilloxDoc &doc)
{
    std::vector<Date> dates;
    for (const auto &[date, entry] : doc.dayList()) {
        EXPECT_EQ(date, entry.date);
        dates.push_back(date);
    }
    return dates;
}

TEST(DayList, setDayKeepsDateOrderWhateverTheOrderOfCalls)
{
    CQuilloxDoc doc;
    putDay(doc, makeDate(2002, 5, 12), "", 65, 0, 0, 0, 0, 0);
    putDay(doc, makeDate(2001, 12, 31), "", 66, 0, 0, 0, 0, 0);
    putDay(doc, makeDate(2002, 6, 1), "", 64, 0, 0, 0, 0, 0);
    putDay(doc, makeDate(2002, 5, 13), "", 64.5, 0, 0, 0, 0, 0);

    const std::vector<Date> expected{makeDate(2001, 12, 31), makeDate(2002, 5, 12),
                                     makeDate(2002, 5, 13), makeDate(2002, 6, 1)};
    EXPECT_EQ(datesOf(doc), expected);
    EXPECT_EQ(doc.firstDay()->date, makeDate(2001, 12, 31));
    EXPECT_EQ(doc.lastDay()->date, makeDate(2002, 6, 1));
}

TEST(DayList, setDayOnAnExistingDateReplacesValuesAndMemoInPlace)
{
    CQuilloxDoc doc;
    const Date day = makeDate(2002, 5, 12);
    putDay(doc, day, "first", 65.3, 22.5, 5, 1800, 0, 0);
    putDay(doc, day, "second", 0, 0, 0, 0, 3, 2400);

    ASSERT_EQ(doc.dayList().size(), 1u);
    const DayRecord *entry = doc.findDay(day);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->memo, "second");
    EXPECT_EQ(entry->weight, 0);
    EXPECT_EQ(entry->fatPercent, 0);
    EXPECT_EQ(entry->jogDistance, 0);
    EXPECT_EQ(entry->jogDuration, 0);
    EXPECT_EQ(entry->walkDistance, 3);
    EXPECT_EQ(entry->walkDuration, 2400);
}

TEST(DayList, anEntryWithNothingEnteredStillExists)
{
    CQuilloxDoc doc;
    putDay(doc, makeDate(2002, 5, 12), "", 0, 0, 0, 0, 0, 0);
    EXPECT_NE(doc.findDay(makeDate(2002, 5, 12)), nullptr);
}

TEST(DayList, removeDayDeletesOnlyThatDateAndIgnoresMissingOnes)
{
    CQuilloxDoc doc;
    putDay(doc, makeDate(2002, 5, 12), "a", 65, 0, 0, 0, 0, 0);
    putDay(doc, makeDate(2002, 5, 14), "b", 64, 0, 0, 0, 0, 0);

    dropDay(doc, makeDate(2002, 5, 13));
    EXPECT_EQ(doc.dayList().size(), 2u);

    dropDay(doc, makeDate(2002, 5, 12));
    EXPECT_EQ(doc.findDay(makeDate(2002, 5, 12)), nullptr);
    EXPECT_NE(doc.findDay(makeDate(2002, 5, 14)), nullptr);

    dropAllDays(doc);
    EXPECT_EQ(doc.firstDay(), nullptr);
    EXPECT_EQ(doc.lastDay(), nullptr);
}

TEST(Defaults, everyPartStartsWithItsDefaults)
{
    const CQuilloxDoc doc;
    EXPECT_TRUE(doc.dayList().empty());
    EXPECT_FALSE(doc.isModified());

    EXPECT_EQ(doc.userInfo().name, "");
    EXPECT_EQ(doc.userInfo().birthYear, 1980);
    EXPECT_EQ(doc.userInfo().birthMonth, 1);
    EXPECT_EQ(doc.userInfo().birthDay, 1);
    EXPECT_TRUE(doc.userInfo().sex);
    EXPECT_EQ(doc.userInfo().height, 0);
    EXPECT_EQ(doc.userInfo().restBpm, 60);

    EXPECT_EQ(doc.objective().intention, -1);
    EXPECT_EQ(doc.objective().weight, 0);
    EXPECT_EQ(doc.objective().eventName, "");
    // Never the clock: the document takes today from its caller.
    EXPECT_EQ(doc.objective().eventDate, Date{});
    EXPECT_EQ(CQuilloxDoc(makeDate(2002, 6, 30)).objective().eventDate, makeDate(2002, 6, 30));

    const GraphSettings &g = doc.graphSettings();
    EXPECT_EQ(g.graphNDays, 35);
    EXPECT_EQ(g.paperOri, 2);
    EXPECT_EQ(g.colorWeight, 0xf00000u);
    EXPECT_EQ(g.colorFatPercent, 0x0000f0u);
    EXPECT_EQ(g.colorFat, 0x00e600u);
    EXPECT_EQ(g.colorNotFat, 0x000000u);
    EXPECT_EQ(g.colorJogDistance, 0x00f000u);
    EXPECT_EQ(g.colorJogDuration, 0xf000f0u);
    EXPECT_EQ(g.colorWalkDistance, 0x00f000u);
    EXPECT_EQ(g.colorWalkDuration, 0xf000f0u);
    EXPECT_EQ(g.colorCrntDate, 0x00ff00u);
    EXPECT_EQ(g.colorDivision, 0x000000u);
    EXPECT_EQ(g.colorBackGround, 0xffffffu);
    EXPECT_EQ(g.jogDistType, 1);
    EXPECT_EQ(g.walkDurType, 1);
    EXPECT_EQ(g.weightLineType, 0);
    EXPECT_EQ(g.yAxisMain, 0);
}

TEST(GraphPeriod, exactlyTheItemEqualToGraphNDaysIsChecked)
{
    CQuilloxDoc doc;
    auto checked = [&doc] {
        return std::count_if(
            graphPeriodChoices.begin(), graphPeriodChoices.end(),
            [&doc](std::int32_t nDays) { return doc.isGraphPeriodChecked(nDays); });
    };
    EXPECT_TRUE(doc.isGraphPeriodChecked(35)); // the default checks "&5週間分"
    EXPECT_EQ(checked(), 1);

    doc.setGraphPeriod(-6);
    EXPECT_EQ(doc.graphSettings().graphNDays, -6);
    EXPECT_TRUE(doc.isGraphPeriodChecked(-6));
    EXPECT_EQ(checked(), 1);
    EXPECT_FALSE(doc.isModified()); // period commands never set the modified flag

    doc.setGraphPeriod(30); // a value no item has: nothing checked
    EXPECT_EQ(checked(), 0);
}

TEST(CalendarDate, onlyRealCalendarDaysWithinTheJournalYearsAreDates)
{
    EXPECT_TRUE(dateFromYmd(2000, 2, 29));
    EXPECT_FALSE(dateFromYmd(1900, 2, 29));
    EXPECT_FALSE(dateFromYmd(2002, 2, 30));
    EXPECT_FALSE(dateFromYmd(2002, 13, 1));
    EXPECT_FALSE(dateFromYmd(2002, 0, 1));
    EXPECT_FALSE(dateFromYmd(2002, 4, 31));
    EXPECT_FALSE(dateFromYmd(0, 1, 1));
    EXPECT_FALSE(dateFromYmd(10000, 1, 1));
    EXPECT_TRUE(dateFromYmd(1900, 1, 1));
    EXPECT_TRUE(dateFromYmd(2100, 12, 31));
}

TEST(CalendarDate, formatsZeroPaddedAndCountsWholeDays)
{
    EXPECT_EQ(formatDate(makeDate(2002, 5, 12)), "2002/05/12");
    EXPECT_EQ(formatDate(makeDate(5, 1, 2)), "0005/01/02");
    // The day after the European and the US daylight-saving changes is one
    // calendar day later, whatever the local time zone.
    EXPECT_EQ(formatDate(makeDate(2002, 3, 31) + std::chrono::days{1}), "2002/04/01");
    EXPECT_EQ(formatDate(makeDate(2002, 10, 27) + std::chrono::days{1}), "2002/10/28");
    EXPECT_EQ(formatDate(makeDate(2100, 2, 28) + std::chrono::days{1}), "2100/03/01");
    const Date d = makeDate(1999, 12, 31);
    EXPECT_EQ(yearOf(d), 1999);
    EXPECT_EQ(monthOf(d), 12);
    EXPECT_EQ(dayOf(d), 31);
}

} // namespace
