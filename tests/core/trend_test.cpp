#include "docsetup.h"
#include "trend/monthlysummary.h"
#include "trend/summarytable.h"
#include "trend/trend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

using std::chrono::days;

const Date day0 = makeDate(2026, 3, 1);

// A trend whose points lie on a straight line: pace is then the line's slope.
SeriesTrend straightTrend(std::initializer_list<int> dayNumbers, double start, double perDay)
{
    std::vector<TrendPoint> points;
    for (int n : dayNumbers)
        points.push_back({day0 + days{n}, start + perDay * n});
    return SeriesTrend(std::move(points));
}

TEST(Trend, smoothsOverDaysWithAValueAndDecaysOverGaps)
{
    CQuilloxDoc doc;
    // The first day has no weight: the trend starts at the next one.
    putDay(doc, day0, "", 0, 0, 5, 1800, 0, 0);
    putDay(doc, day0 + days{1}, "", 80, 20, 0, 0, 0, 0);
    putDay(doc, day0 + days{2}, "", 79, 0, 0, 0, 0, 0);  // one day on: 10 %
    putDay(doc, day0 + days{4}, "", 78, 0, 0, 0, 0, 0);  // two days on: 19 %
    putDay(doc, day0 + days{34}, "", 70, 0, 0, 0, 0, 0); // thirty days on
    const JournalTrends trends = journalTrends(doc.dayList());

    struct Expected {
        int day;
        std::optional<double> trend;
    };
    const Expected table[] = {
        {-1, std::nullopt}, {0, std::nullopt}, {1, 80.0},    {2, 79.9},
        {3, 79.9},          {4, 79.539},       {33, 79.539}, {34, 70.40436925878728},
    };
    for (const Expected &row : table) {
        SCOPED_TRACE(row.day);
        const std::optional<double> trend = trends.weight.trendOn(day0 + days{row.day});
        ASSERT_EQ(trend.has_value(), row.trend.has_value());
        if (trend) {
            EXPECT_NEAR(*trend, *row.trend, 1e-9);
        }
    }
    ASSERT_EQ(trends.weight.points().size(), 4u);
    EXPECT_EQ(trends.weight.points().front().date, day0 + days{1});
    // Body fat has its own trend, over its own days.
    ASSERT_EQ(trends.fatPercent.points().size(), 1u);
    EXPECT_EQ(trends.fatPercent.trendOn(day0 + days{40}), 20.0);
}

TEST(Trend, paceNeedsTwoPointsAWeekApartWithinFourWeeks)
{
    struct Case {
        const char *name;
        SeriesTrend trend;
        int on;
        std::optional<double> pace;
    };
    const Case cases[] = {
        {"no point", SeriesTrend(), 10, std::nullopt},
        {"one point", straightTrend({0}, 80, -0.1), 10, std::nullopt},
        {"six days apart", straightTrend({0, 6}, 80, -0.1), 6, std::nullopt},
        {"seven days apart", straightTrend({0, 7}, 80, -0.1), 7, -0.7},
        {"a gain", straightTrend({0, 3, 7}, 80, 0.2), 20, 1.4},
        // Day 0 lies 28 days back: outside the window, which leaves 27 and 29.
        {"old point left out", straightTrend({0, 27, 29}, 80, -0.1), 28, std::nullopt},
        {"days after d left out", straightTrend({0, 7, 8}, 80, -0.1), 6, std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<double> pace = c.trend.paceOn(day0 + days{c.on});
        ASSERT_EQ(pace.has_value(), c.pace.has_value());
        if (pace) {
            EXPECT_NEAR(*pace, *c.pace, 1e-9);
        }
    }
}

TEST(Trend, goalOutlookReachedOrForecastOnlyWhileComingDown)
{
    // The trend is 80 on day 14 in each, in steps exact in binary.
    const SeriesTrend falling = straightTrend({0, 7, 14}, 81.75, -0.125); // 0.875 kg a week
    const SeriesTrend rising = straightTrend({0, 7, 14}, 78.25, 0.125);
    const SeriesTrend slow = straightTrend({0, 7, 14}, 80.21875, -0.015625); // 0.109 kg a week
    const SeriesTrend crawling = straightTrend({0, 14}, 80.07, -0.005);      // 0.035 kg a week
    struct Case {
        const char *name;
        const SeriesTrend *trend;
        double target;
        int on;
        bool reached;
        std::optional<int> daysLeft;
    };
    const Case cases[] = {
        {"from above", &falling, 79, 14, false, 8},
        {"rounded up", &falling, 79.0625, 14, false, 8},
        {"slow but enough", &slow, 79, 14, false, 64},
        {"from below", &falling, 81, 14, true, std::nullopt},
        {"exactly on it", &falling, 80, 14, true, std::nullopt},
        {"moving away", &rising, 79, 14, false, std::nullopt},
        {"too slow", &crawling, 79, 14, false, std::nullopt},
        {"no target", &falling, 0, 14, false, std::nullopt},
        {"before any trend", &falling, 79, -1, false, std::nullopt},
        {"no pace yet", &falling, 79, 3, false, std::nullopt},
        {"beyond the last year", &slow, -100000, 14, false, std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Date d = day0 + days{c.on};
        const GoalOutlook outlook = goalOutlook(*c.trend, c.target, d);
        EXPECT_EQ(outlook.reached, c.reached);
        EXPECT_EQ(outlook.daysLeft, c.daysLeft);
        if (c.daysLeft)
            EXPECT_EQ(outlook.arrival, d + days{*c.daysLeft});
        else
            EXPECT_FALSE(outlook.arrival);
    }
}

TEST(MonthlySummary, monthsSplitAtTheirEdgesAndMeansSkipZeros)
{
    CQuilloxDoc doc;
    putDay(doc, makeDate(2025, 12, 31), "", 70, 0, 2, 600, 0, 0);
    putDay(doc, makeDate(2026, 1, 1), "", 72, 24, 5, 1500, 1, 900);
    putDay(doc, makeDate(2026, 1, 15), "", 0, 22, 0, 0, 2, 1200);
    putDay(doc, makeDate(2026, 1, 31), "", 68, 0, 10, 3000, 0, 0);
    putDay(doc, makeDate(2026, 2, 1), "", 0, 0, 0, 0, 0, 0);   // a month of zeros
    putDay(doc, makeDate(2026, 3, 1), "", 0, 0, 3, 900, 0, 0); // jogged, never weighed

    const std::vector<MonthSummary> rows = monthlySummary(doc.dayList());
    const std::optional<double> none;
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (MonthSummary{2025, 12, 1, 70, 70, 70, none, 2, 600, 0, 0, 140}));
    EXPECT_EQ(rows[1], (MonthSummary{2026, 1, 3, 70, 68, 72, 23, 15, 4500, 3, 2100, 1050}));
    EXPECT_EQ(rows[2], (MonthSummary{2026, 2, 1, none, none, none, none, 0, 0, 0, 0, none}));
    EXPECT_EQ(rows[3], (MonthSummary{2026, 3, 1, none, none, none, none, 3, 900, 0, 0, none}));

    // The bounds choose the days that count, also inside a month.
    const std::vector<MonthSummary> cut =
        monthlySummary(doc.dayList(), makeDate(2026, 1, 2), makeDate(2026, 1, 31));
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0], (MonthSummary{2026, 1, 2, 68, 68, 68, 22, 10, 3000, 2, 1200, 680}));
    EXPECT_TRUE(monthlySummary(doc.dayList(), makeDate(2026, 2, 2), makeDate(2026, 2, 28)).empty());
}

TEST(SummaryTable, sortKeysOrderFiguresNotTextsAndPutEmptyFirst)
{
    const std::optional<double> none;
    // Weight means 10, 9 and none; jog times one hour and 59 minutes.
    const std::vector<MonthSummary> months = {
        {2026, 1, 3, 10, 10, 10, none, 0, 3600, 0, 0, none},
        {2026, 2, 3, 9, 9, 9, none, 0, 3540, 0, 0, none},
        {2025, 12, 1, none, none, none, none, 0, 0, 0, 0, none},
    };
    const auto orderBy = [&months](std::size_t column) {
        std::vector<int> order = {0, 1, 2};
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return summarySortKeys(months[a])[column] < summarySortKeys(months[b])[column];
        });
        return order;
    };
    EXPECT_EQ(orderBy(0), (std::vector<int>{2, 0, 1})); // by month
    EXPECT_EQ(orderBy(2), (std::vector<int>{2, 1, 0})); // none, 9, 10
    EXPECT_EQ(orderBy(7), (std::vector<int>{2, 1, 0})); // 0, 59'00", 1:00'00"
}

TEST(SummaryTable, headingsCarryUnitsAndThePrintTitleNamesMonthsAndDay)
{
    const SummaryRowTexts headings = summaryColumnHeadings();
    EXPECT_EQ(headings[2], summaryColumnTitles()[2] + " (kg)");
    EXPECT_EQ(headings[7], summaryColumnTitles()[7]); // a duration shows its unit

    SummaryRowTexts may, march;
    may[0] = "2026/05";
    march[0] = "2026/03";
    const Date printed = makeDate(2026, 12, 9);
    EXPECT_EQ(summaryPrintTitle("T", "Taro", {may, march}, printed),
              "T\u3000Taro\u30002026/03\uff5e2026/05\u30002026/12/09 印刷");
    EXPECT_EQ(summaryPrintTitle("T", "", {march}, printed), "T\u30002026/03\u30002026/12/09 印刷");
    EXPECT_EQ(summaryPrintTitle("T", "Taro", {}, printed), "T\u3000Taro\u30002026/12/09 印刷");
}

} // namespace
