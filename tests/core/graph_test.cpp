// The graph's arithmetic: scale fitting, periods and their moves, the day a
// click selects, the axes on the right and the places of the bars.

#include "docsetup.h"
#include "graph/axisscale.h"
#include "graph/graphdescription.h"
#include "graph/graphgeometry.h"
#include "graph/graphperiod.h"
#include "graph/graphscales.h"
#include "journal/cquilloxdoc.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>

namespace {

struct FitCase {
    double lowest, highest;
    bool extend;
    double min, max, step, subStep;
};

TEST(AxisScaleTest, fitAlignsToOneTwoOrPowersOfTen)
{
    const FitCase cases[] = {
        {60.3, 63.8, false, 60, 64, 1, 0.5},
        {55.0, 72.4, false, 50, 80, 10, 5},
        {0, 12.5, false, 0, 20, 10, 5}, // activity
        {0, 0, false, 0, 1, 1, 0.2},    // activity without data
        {60.5, 60.9, false, 60, 61, 1, 0.2},
        {20, 27.9, false, 20, 28, 2, 1},      // aligned to 2: range 8
        {0, 45, false, 0, 50, 10, 5},         // kept range 46 <= 50
        {0, 95, false, 0, 100, 20, 10},       // kept range 96 > 50, then 20s
        {0, 150, false, 0, 200, 100, 50},     // via q = 100
        {0, 1234, false, 0, 2000, 1000, 500}, // 1400 is more than ten 100s
        {60.3, 63.8, true, 59, 65, 1, 0.5},   // paper: one step each way
        {0, 12.5, true, 0, 30, 10, 5},        // paper: nothing below 0
    };
    for (const FitCase &c : cases) {
        AxisScale scale;
        scale.fit(c.lowest, c.highest, c.extend, 1);
        SCOPED_TRACE(testing::Message() << c.lowest << ".." << c.highest << " extend " << c.extend);
        EXPECT_EQ(scale.min, c.min);
        EXPECT_EQ(scale.max, c.max);
        EXPECT_EQ(scale.step, c.step);
        EXPECT_EQ(scale.subStep, c.subStep);
    }
}

TEST(AxisScaleTest, noValuesOrNonsenseGiveAnEmptyScale)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const auto &[lowest, highest] :
         {std::pair{DBL_MAX, 0.0}, std::pair{nan, 5.0},
          std::pair{1.0, std::numeric_limits<double>::infinity()}}) {
        AxisScale scale;
        scale.fit(lowest, highest, true, 60);
        EXPECT_TRUE(scale.isEmpty());
        EXPECT_EQ(scale.max, 0);
        EXPECT_EQ(scale.divisor, 1);
    }
}

TEST(AxisScaleTest, yOfPlacesValuesBetweenBottomAndTop)
{
    AxisScale scale;
    scale.fit(0, 35, false, 60); // 0..40 minutes
    ASSERT_EQ(scale.max, 40);
    EXPECT_EQ(scale.yOf(0, 10, 110), 110);
    EXPECT_EQ(scale.yOf(40, 10, 110), 10);
    EXPECT_EQ(scale.yOf(1800 / scale.divisor, 10, 110), 35); // three quarters up
    EXPECT_EQ(scale.yOf(1e300, 10, 110), 110 - (1 << 24));   // far off, no overflow
}

Date d(int y, int m, int day)
{
    return makeDate(y, m, day);
}

struct MonthCase {
    int months;
    Date today;
    Date start, end;
    int days;
};

TEST(GraphPeriodTest, monthPeriodsEndWithTheCurrentMonth)
{
    const MonthCase cases[] = {
        {1, d(2027, 1, 15), d(2027, 1, 1), d(2027, 1, 31), 31},
        {3, d(2027, 1, 15), d(2026, 11, 1), d(2027, 1, 31), 92},
        {6, d(2027, 1, 1), d(2026, 8, 1), d(2027, 1, 31), 184},
        {12, d(2027, 1, 31), d(2026, 2, 1), d(2027, 1, 31), 365},
        {1, d(2024, 2, 10), d(2024, 2, 1), d(2024, 2, 29), 29}, // leap year
        {12, d(2026, 12, 8), d(2026, 1, 1), d(2026, 12, 31), 365},
        {24, d(2027, 1, 15), d(2025, 2, 1), d(2027, 1, 31), 730}, // beyond the menus
    };
    for (const MonthCase &c : cases) {
        SCOPED_TRACE(c.months);
        const GraphPeriodState p = periodForMonths(c.months, c.today);
        EXPECT_TRUE(p.periodValid);
        EXPECT_EQ(p.periodStart, c.start);
        EXPECT_EQ(p.periodEnd, c.end);
        EXPECT_EQ(p.periodDays, c.days);
    }
}

TEST(GraphPeriodTest, dayPeriodsFollowTheJournalAndOddValuesStaySafe)
{
    CQuilloxDoc doc;
    putDay(doc, d(2002, 6, 27), "", 60, 0, 0, 0, 0, 0);
    const Date today = d(2002, 6, 30);
    // Seven days from the first entry, three days before today.
    GraphPeriodState p = periodForGraphNDays(doc, 7, today);
    EXPECT_EQ(p.periodStart, d(2002, 6, 27));
    EXPECT_EQ(p.periodEnd, d(2002, 7, 3));
    EXPECT_EQ(p.periodDays, 7);

    // 0 from an edited file: one day, not an empty period.
    p = periodForGraphNDays(doc, 0, today);
    EXPECT_EQ(p.periodDays, 1);
    EXPECT_EQ(p.periodStart, p.periodEnd);
    // Fewer than -12 months: whole months, still ending this month.
    p = periodForGraphNDays(doc, -30, today);
    EXPECT_EQ(p.periodStart, d(2000, 1, 1));
    EXPECT_EQ(p.periodEnd, d(2002, 6, 30));
    p = periodForGraphNDays(doc, std::numeric_limits<std::int32_t>::min(), today);
    EXPECT_EQ(p.periodEnd, d(2002, 6, 30));
    EXPECT_EQ(p.periodStart, d(1902, 7, 1));
    p = periodForGraphNDays(doc, std::numeric_limits<std::int32_t>::max(), today);
    EXPECT_EQ(p.periodDays, maxPeriodDays);
}

TEST(GraphPeriodTest, navigationMovesByHalfAPeriodOrAMonth)
{
    const GraphPeriodState weeks{true, 28, d(2026, 3, 1), d(2026, 3, 28)};
    GraphPeriodState p = periodMovedEarlier(weeks, 28);
    EXPECT_EQ(p.periodStart, d(2026, 2, 15));
    EXPECT_EQ(p.periodEnd, d(2026, 3, 14));
    p = periodMovedEarlier(p, 28);
    EXPECT_EQ(p.periodStart, d(2026, 2, 1));
    EXPECT_EQ(p.periodDays, 28);
    // Across the start of daylight saving time in Europe: still whole days.
    p = periodMovedLater(GraphPeriodState{true, 7, d(2026, 3, 27), d(2026, 4, 2)}, 7);
    EXPECT_EQ(p.periodStart, d(2026, 3, 30));
    EXPECT_EQ(p.periodEnd, d(2026, 4, 5));
    // A one-day period (edited file) still moves.
    p = periodMovedLater(GraphPeriodState{true, 1, d(2026, 3, 1), d(2026, 3, 1)}, 1);
    EXPECT_EQ(p.periodStart, d(2026, 3, 2));

    const GraphPeriodState quarter{true, 92, d(2026, 11, 1), d(2027, 1, 31)};
    p = periodMovedLater(quarter, -3);
    EXPECT_EQ(p.periodStart, d(2026, 12, 1));
    EXPECT_EQ(p.periodEnd, d(2027, 2, 28));
    EXPECT_EQ(p.periodDays, 90);
    const GraphPeriodState leapQuarter{true, 91, d(2028, 1, 1), d(2028, 3, 31)};
    p = periodMovedEarlier(leapQuarter, -3);
    EXPECT_EQ(p.periodStart, d(2027, 12, 1));
    EXPECT_EQ(p.periodEnd, d(2028, 2, 29));
    EXPECT_EQ(p.periodDays, 91);
    p = periodMovedLater(GraphPeriodState{true, 31, d(2026, 12, 1), d(2026, 12, 31)}, -1);
    EXPECT_EQ(p.periodStart, d(2027, 1, 1));
    EXPECT_EQ(p.periodEnd, d(2027, 1, 31));
}

struct GraphKeyCase {
    GraphKey key;
    Date selected;
    std::int32_t graphNDays;
    GraphKeyMove expected;
};

class GraphKeys : public ::testing::TestWithParam<GraphKeyCase> {};

// A week of March 2026 shown; the journal runs from 2025/12/30 to 2026/3/20.
const GraphPeriodState marchWeek{true, 7, d(2026, 3, 8), d(2026, 3, 14)};
GraphPeriodState weekFrom(Date start)
{
    return GraphPeriodState{true, 7, start, start + std::chrono::days{6}};
}

TEST_P(GraphKeys, moveTheDayOrThePeriodAndKeepTheDayInSight)
{
    const GraphKeyCase &c = GetParam();
    EXPECT_EQ(
        graphKeyMove(c.key, c.selected, marchWeek, c.graphNDays, d(2025, 12, 30), d(2026, 3, 20)),
        c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GraphKeys,
    ::testing::Values(
        // A calendar day either way, inside the period or out of the journal.
        GraphKeyCase{GraphKey::previousDay, d(2026, 3, 10), 7, {d(2026, 3, 9), marchWeek}},
        GraphKeyCase{GraphKey::nextDay, d(2026, 3, 10), 7, {d(2026, 3, 11), marchWeek}},
        // Leaving the period takes it along by a button's step (half a week).
        GraphKeyCase{
            GraphKey::previousDay, d(2026, 3, 8), 7, {d(2026, 3, 7), weekFrom(d(2026, 3, 5))}},
        GraphKeyCase{
            GraphKey::nextDay, d(2026, 3, 14), 7, {d(2026, 3, 15), weekFrom(d(2026, 3, 11))}},
        // PgUp and PgDn move only the period, as the buttons do.
        GraphKeyCase{
            GraphKey::earlierPeriod, d(2026, 3, 10), 7, {d(2026, 3, 10), weekFrom(d(2026, 3, 5))}},
        GraphKeyCase{
            GraphKey::laterPeriod, d(2026, 3, 10), 7, {d(2026, 3, 10), weekFrom(d(2026, 3, 11))}},
        // Home and End: the journal's ends, the period following in steps.
        GraphKeyCase{
            GraphKey::firstDay, d(2026, 3, 10), 7, {d(2025, 12, 30), weekFrom(d(2025, 12, 29))}},
        GraphKeyCase{
            GraphKey::lastDay, d(2026, 3, 10), 7, {d(2026, 3, 20), weekFrom(d(2026, 3, 14))}},
        // A month period steps by months.
        GraphKeyCase{
            GraphKey::firstDay,
            d(2026, 3, 10),
            -1,
            {d(2025, 12, 30), GraphPeriodState{true, 31, d(2025, 12, 1), d(2025, 12, 31)}}}));

TEST(GraphDescription, namesThePeriodTheSeriesAndTheWeightsInIt)
{
    CQuilloxDoc doc;
    putDay(doc, d(2026, 3, 1), "", 59, 0, 0, 0, 0, 0); // before the period
    putDay(doc, d(2026, 3, 9), "", 58.5, 20, 0, 0, 0, 0);
    putDay(doc, d(2026, 3, 10), "", 57.25, 0, 0, 0, 0, 0);
    putDay(doc, d(2026, 3, 12), "", 0, 0, 3, 0, 0, 0); // no weight
    GraphSettings s = doc.graphSettings();
    s.graphWeight = s.graphJogDistance = true;
    s.graphFatPercent = s.graphJogDuration = s.graphWalkDistance = s.graphWalkDuration = false;
    s.graphFat = s.graphNotFat = false;
    *graphSettingsOf(doc) = s;
    EXPECT_EQ(graphDescription(doc, marchWeek, std::nullopt),
              "2026/03/08～2026/03/14：体重、Jog距離。"
              "体重 最新 57.25kg（2026/03/10）、最低 57.25kg、最高 58.50kg。");
    EXPECT_TRUE(graphDescription(doc, marchWeek, 57.5).ends_with("トレンド 57.50kg。"));
    // No weight in the period: the period and the series only.
    EXPECT_EQ(graphDescription(doc, weekFrom(d(2026, 3, 11)), std::nullopt),
              "2026/03/11～2026/03/17：体重、Jog距離。");
    EXPECT_EQ(graphDescription(doc, GraphPeriodState{}, std::nullopt), "");
}

TEST(GraphGeometryTest, clickedDayIsClampedToThePeriod)
{
    // L = 40, 20 units a day, 7 days: the day areas end at 180.
    EXPECT_EQ(clickedDayIndex(40, 40, 20, 7), 0);
    EXPECT_EQ(clickedDayIndex(45, 40, 20, 7), 0);
    EXPECT_EQ(clickedDayIndex(79, 40, 20, 7), 1);
    EXPECT_EQ(clickedDayIndex(179, 40, 20, 7), 6);
    EXPECT_EQ(clickedDayIndex(200, 40, 20, 7), 6); // right of the last day
    EXPECT_EQ(clickedDayIndex(30, 40, 20, 7), 0);
    EXPECT_EQ(clickedDayIndex(100, 40, 0, 7), std::nullopt); // nothing drawn
}

TEST(GraphGeometryTest, daysOfAWholePixelOrLessShareThePlotInFractions)
{
    const struct {
        const char *what;
        PixelRect plot;
        int days;
        bool fractional;
        int firstCentre, lastCentre;
    } cases[] = {
        {"a week: whole pixels, as ever", PixelRect{40, 0, 200, 100}, 7, false, 50, 170},
        {"two pixels a day stay whole", PixelRect{0, 0, 216, 100}, 100, false, 1, 199},
        {"a year in a 300-pixel pane", PixelRect{34, 0, 266, 100}, 365, true, 34, 265},
        {"one pixel a day", PixelRect{0, 0, 130, 100}, 100, true, 0, 129},
        {"a long period in a few pixels", PixelRect{10, 0, 20, 100}, 36525, true, 10, 19},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const DayAxis axis = dayAxisFor(c.plot, c.days);
        EXPECT_EQ(axis.isFractional(), c.fractional);
        EXPECT_EQ(dayCentre(axis, 0), c.firstCentre);
        EXPECT_EQ(dayCentre(axis, c.days - 1), c.lastCentre);
        EXPECT_EQ(clickedDayIndex(axis, c.plot.left), 0);
        EXPECT_EQ(clickedDayIndex(axis, c.plot.right + 50), c.days - 1);
        if (!c.fractional)
            continue;
        EXPECT_EQ(dayAreaLeft(axis, 0), c.plot.left);
        EXPECT_EQ(dateStripEnd(axis), c.plot.right);
        // Wherever a day has a pixel of its own, a click on its centre
        // selects it.
        if (axis.pitch >= 1) {
            for (int i = 0; i < c.days; ++i)
                ASSERT_EQ(clickedDayIndex(axis, dayCentre(axis, i)), i) << i;
        }
        // Bars are a pixel wide at least, not the whole-pixel minimum of 5.
        const BarPlacement bars = barPlacement(axis, 1);
        EXPECT_EQ(bars.width, 1);
        EXPECT_EQ(bars.offsets, std::vector<int>{0});
    }
    // Nothing to place the days on: no day is judged from a click.
    EXPECT_EQ(clickedDayIndex(dayAxisFor(PixelRect{40, 0, 30, 100}, 7), 35), std::nullopt);
}

TEST(GraphGeometryTest, barsStandSideBySide)
{
    const BarPlacement one = barPlacement(20, 1);
    EXPECT_EQ(one.width, 16);
    EXPECT_EQ(one.offsets, std::vector<int>{-8});
    const BarPlacement two = barPlacement(20, 2);
    EXPECT_EQ(two.width, 8);
    EXPECT_EQ(two.offsets, (std::vector<int>{-9, 0}));
    const BarPlacement three = barPlacement(30, 3);
    EXPECT_EQ(three.width, 8);
    EXPECT_EQ(three.offsets, (std::vector<int>{-13, -4, 5}));
    const BarPlacement four = barPlacement(10, 4);
    EXPECT_EQ(four.width, 5);
    EXPECT_EQ(four.offsets, (std::vector<int>{-12, -6, 0, 6}));
    EXPECT_TRUE(barPlacement(20, 0).offsets.empty());
}

TEST(GraphGeometryTest, walkSharesTheJogAxisWhenJogIsShown)
{
    GraphSettings s; // weight (main), body fat, jog distance and duration shown
    EXPECT_EQ(secondaryAxisSeries(s), (std::vector<int>{1, 4, 5}));
    s.graphWalkDistance = true;
    s.graphWalkDuration = true;
    s.graphJogDuration = false;
    EXPECT_EQ(secondaryAxisSeries(s), (std::vector<int>{1, 4, 7}));
    s.yAxisMain = 6; // walk distance owns the main axis
    EXPECT_EQ(secondaryAxisSeries(s), (std::vector<int>{0, 1, 4, 7}));
    GraphSettings onlyMain;
    onlyMain.graphFatPercent = onlyMain.graphJogDistance = onlyMain.graphJogDuration = false;
    EXPECT_TRUE(secondaryAxisSeries(onlyMain).empty());
    EXPECT_EQ(rightMarginAxes(onlyMain), 1);
}

TEST(GraphGeometryTest, unitsAndLayoutFollowTheDotsPerInch)
{
    const GraphUnits screen = graphUnits(96, 6);
    EXPECT_EQ(screen.u, 8);
    EXPECT_EQ(screen.axisWidth, 34);
    EXPECT_EQ(screen.tickLength, 4);
    EXPECT_EQ(graphUnits(600, 5).u, 41);
    const PixelRect plot = plotRectFor(PixelRect{0, 0, 800, 300}, screen, 3, false);
    EXPECT_EQ(plot, (PixelRect{34, 32, 800 - 102, 300 - 32}));
    EXPECT_EQ(plotRectFor(PixelRect{0, 0, 800, 300}, screen, 1, true).top, 64);
    const NavigationButtons buttons = navigationButtons(PixelRect{0, 0, 800, 300}, plot, 16);
    EXPECT_EQ(buttons.earlier, (PixelRect{10, 278, 30, 298}));
    EXPECT_EQ(buttons.later, (PixelRect{702, 278, 722, 298}));
}

TEST(GraphScalesTest, jogAndWalkShareTheirTopWhenBothAreShown)
{
    CQuilloxDoc doc;
    graphSettingsOf(doc)->graphWalkDistance = true;
    putDay(doc, d(2026, 5, 1), "", 60.3, 25, 4.2, 1500, 0, 0);
    putDay(doc, d(2026, 5, 2), "", 63.8, 0, 0, 0, 12.5, 2400);
    const auto scales = fitSeriesScales(doc, d(2026, 5, 1), d(2026, 5, 2), false);
    EXPECT_EQ(scales[graphSeriesWeight].min, 60);
    EXPECT_EQ(scales[graphSeriesWeight].max, 64);
    EXPECT_EQ(scales[graphSeriesJogDistance].max, 20); // walk's 12.5
    EXPECT_EQ(scales[graphSeriesWalkDistance].max, 20);
    EXPECT_EQ(scales[graphSeriesJogDuration].max, 30); // 25 min: walk duration is hidden
    EXPECT_EQ(scales[graphSeriesJogDuration].divisor, 60);
    EXPECT_EQ(scales[graphSeriesWalkDuration].max, 50); // 40 min, its own
    EXPECT_EQ(scales[graphSeriesFat].min, 15);          // 25 % of 60.3 kg
    EXPECT_TRUE(fitSeriesScales(doc, d(2026, 6, 1), d(2026, 6, 2), false)[0].isEmpty());
}

TEST(GraphScalesTest, aGoalWeightIsFittedInAboveTheBottomEdge)
{
    CQuilloxDoc doc;
    putDay(doc, d(2026, 5, 1), "", 60.3, 0, 0, 0, 0, 0);
    putDay(doc, d(2026, 5, 2), "", 63.8, 0, 0, 0, 0, 0);
    struct Case {
        std::optional<double> goal;
        double min;
        double max;
    };
    const Case cases[] = {
        {std::nullopt, 60, 64}, // as without the goal line
        {62, 60, 64},           // inside the values: the same
        {66.5, 60, 68},         // above them
        {55.5, 54, 64},         // below them
        {58, 56, 64},           // a whole number below them, not on the edge
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.goal.value_or(0));
        const AxisScale weight =
            fitSeriesScales(doc, d(2026, 5, 1), d(2026, 5, 2), false, c.goal)[graphSeriesWeight];
        EXPECT_EQ(weight.min, c.min);
        EXPECT_EQ(weight.max, c.max);
    }
    // With no weight in the period the scale still holds the goal.
    const AxisScale alone =
        fitSeriesScales(doc, d(2026, 6, 1), d(2026, 6, 2), false, 52.0)[graphSeriesWeight];
    EXPECT_LT(alone.min, 52);
    EXPECT_GT(alone.max, 52);
}

} // namespace
