#include "docsetup.h"
#include "journal/cquilloxdoc.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr double noSmallest = std::numeric_limits<double>::max();

Date day(int y, int m, int d)
{
    return makeDate(y, m, d);
}

void addWeight(CQuilloxDoc &doc, Date date, double weight, double fatPercent = 0)
{
    putDay(doc, date, "", weight, fatPercent, 0, 0, 0, 0);
}

TEST(SeriesValue, derivedMassesNeedBothWeightAndFatPercent)
{
    DayRecord entry;
    entry.weight = 60;
    entry.fatPercent = 25;
    EXPECT_DOUBLE_EQ(CQuilloxDoc::seriesValue(entry, seriesFatMass), 15);
    EXPECT_DOUBLE_EQ(CQuilloxDoc::seriesValue(entry, seriesLeanMass), 45);
    EXPECT_EQ(CQuilloxDoc::seriesValue(entry, seriesWeight), 60);
    EXPECT_EQ(CQuilloxDoc::seriesValue(entry, seriesFatPercent), 25);
    EXPECT_EQ(CQuilloxDoc::seriesValue(entry, -3), 0);
    EXPECT_EQ(CQuilloxDoc::seriesValue(entry, 6), 0);

    entry.fatPercent = 0;
    EXPECT_EQ(CQuilloxDoc::seriesValue(entry, seriesFatMass), 0);
    EXPECT_EQ(CQuilloxDoc::seriesValue(entry, seriesLeanMass), 0);
    entry.fatPercent = 25;
    entry.weight = 0;
    EXPECT_EQ(CQuilloxDoc::seriesValue(entry, seriesLeanMass), 0);
}

TEST(SeriesValue, storedIndexesFollowTheFieldOrder)
{
    DayRecord entry{day(2002, 5, 12), 1, 2, 3, 4, 5, 6, ""};
    for (int index = 0; index < storedSeriesCount; ++index) {
        EXPECT_EQ(CQuilloxDoc::seriesValue(entry, index), index + 1);
    }
}

TEST(DayRuns, averageIsOverTheDaysWithAValue)
{
    CQuilloxDoc doc;
    addWeight(doc, day(2002, 6, 1), 60);
    addWeight(doc, day(2002, 6, 2), 0);
    addWeight(doc, day(2002, 6, 3), 62);
    addWeight(doc, day(2002, 6, 8), 99); // outside the seven days
    addWeight(doc, day(2002, 5, 31), 99);

    EXPECT_DOUBLE_EQ(doc.averageOverDays(seriesWeight, day(2002, 6, 1), 7), 61);
    EXPECT_DOUBLE_EQ(doc.sumOverDays(seriesWeight, day(2002, 6, 1), 7), 122);
    EXPECT_EQ(doc.averageOverDays(seriesFatPercent, day(2002, 6, 1), 7), 0);
    EXPECT_DOUBLE_EQ(doc.sumOverDays(seriesWeight, day(2002, 6, 1), 1), 60);
}

TEST(DayRuns, emptyOrNegativeRunsGiveZero)
{
    CQuilloxDoc doc;
    addWeight(doc, day(2002, 6, 1), 60);
    for (int n : {0, -1, -7}) {
        EXPECT_EQ(doc.sumOverDays(seriesWeight, day(2002, 6, 1), n), 0);
        EXPECT_EQ(doc.averageOverDays(seriesWeight, day(2002, 6, 1), n), 0);
    }
    // The runs take stored values only.
    EXPECT_EQ(doc.sumOverDays(seriesFatMass, day(2002, 6, 1), 7), 0);
}

TEST(DayRuns, runsCrossMonthAndYearEnds)
{
    CQuilloxDoc doc;
    putDay(doc, day(2001, 12, 30), "", 0, 0, 5, 1800, 0, 0);
    putDay(doc, day(2002, 1, 2), "", 0, 0, 3, 1200, 2, 0);
    EXPECT_DOUBLE_EQ(doc.sumOverDays(seriesJogDistance, day(2001, 12, 28), 7), 8);
    EXPECT_DOUBLE_EQ(doc.averageOverDays(seriesJogDuration, day(2001, 12, 28), 7), 1500);
    EXPECT_DOUBLE_EQ(doc.sumOverDays(seriesWalkDistance, day(2001, 12, 28), 6), 2);
    EXPECT_DOUBLE_EQ(doc.sumOverDays(seriesWalkDistance, day(2001, 12, 28), 5), 0);
}

TEST(ExerciseDays, countOnlyDaysWithJoggingOrWalking)
{
    CQuilloxDoc doc;
    putDay(doc, day(2002, 6, 1), "", 0, 0, 0, 0, 0, 600); // walking time only
    putDay(doc, day(2002, 6, 2), "", 60, 20, 0, 0, 0, 0); // weight only
    putDay(doc, day(2002, 6, 3), "", 0, 0, 5, 0, 0, 0);
    putDay(doc, day(2002, 6, 4), "", 0, 0, 0, 0, 1, 0);

    EXPECT_EQ(doc.countExerciseDays(day(2002, 6, 1), day(2002, 6, 4)), 3);
    EXPECT_EQ(doc.countExerciseDays(day(2002, 6, 2), day(2002, 6, 3)), 1); // both ends in
    EXPECT_EQ(doc.countExerciseDays(day(2002, 6, 4), day(2002, 6, 1)), 0);
}

TEST(SeriesRange, findsSmallestAndLargestSkippingZeros)
{
    CQuilloxDoc doc;
    addWeight(doc, day(2002, 6, 1), 61.5, 20);
    addWeight(doc, day(2002, 6, 2), 0, 21);
    addWeight(doc, day(2002, 6, 3), 59.5, 0);
    addWeight(doc, day(2002, 6, 9), 50, 0); // after the range

    const auto weight = doc.seriesRange(seriesWeight, day(2002, 6, 1), day(2002, 6, 8), 1);
    EXPECT_DOUBLE_EQ(weight.smallest, 59.5);
    EXPECT_DOUBLE_EQ(weight.largest, 61.5);

    const auto fat = doc.seriesRange(seriesFatMass, day(2002, 6, 1), day(2002, 6, 8), 1);
    EXPECT_DOUBLE_EQ(fat.smallest, 12.3);
    EXPECT_DOUBLE_EQ(fat.largest, 12.3);

    const auto minutes = doc.seriesRange(seriesWeight, day(2002, 6, 1), day(2002, 6, 3), 60);
    EXPECT_DOUBLE_EQ(minutes.largest, 61.5 / 60);
}

TEST(SeriesRange, rangeWithoutValuesGivesLargestDoubleAndZero)
{
    CQuilloxDoc doc;
    auto empty = doc.seriesRange(seriesWeight, day(2002, 6, 1), day(2002, 6, 30), 1);
    EXPECT_EQ(empty.smallest, noSmallest);
    EXPECT_EQ(empty.largest, 0);

    addWeight(doc, day(2002, 5, 31), 60);
    empty = doc.seriesRange(seriesWeight, day(2002, 6, 1), day(2002, 6, 30), 1);
    EXPECT_EQ(empty.smallest, noSmallest);
    EXPECT_EQ(empty.largest, 0);
}

TEST(SeriesRange, largestNeverGoesBelowZero)
{
    CQuilloxDoc doc;
    addWeight(doc, day(2002, 6, 1), -5);
    const auto range = doc.seriesRange(seriesWeight, day(2002, 6, 1), day(2002, 6, 1), 1);
    EXPECT_EQ(range.smallest, -5);
    EXPECT_EQ(range.largest, 0);
}

struct WindowCase {
    Date firstEntry;
    Date lastEntry;
    Date expectedFirst;
    Date expectedLast;
};

class GraphWindow : public ::testing::TestWithParam<WindowCase> {};

TEST_P(GraphWindow, spansExactlyNDaysAroundTodayAndTheEntries)
{
    const WindowCase &c = GetParam();
    CQuilloxDoc doc;
    addWeight(doc, c.firstEntry, 60);
    addWeight(doc, c.lastEntry, 61);
    const auto window = doc.graphWindowForDays(35, day(2002, 6, 30));
    ASSERT_TRUE(window);
    EXPECT_EQ(formatDate(window->first), formatDate(c.expectedFirst));
    EXPECT_EQ(formatDate(window->last), formatDate(c.expectedLast));
    EXPECT_EQ((window->last - window->first).count(), 34);
}

INSTANTIATE_TEST_SUITE_P(Examples, GraphWindow,
                         ::testing::Values(WindowCase{day(2002, 1, 1), day(2002, 6, 20),
                                                      day(2002, 5, 27), day(2002, 6, 30)},
                                           WindowCase{day(2002, 6, 10), day(2002, 6, 20),
                                                      day(2002, 6, 10), day(2002, 7, 14)},
                                           WindowCase{day(2002, 1, 1), day(2002, 7, 5),
                                                      day(2002, 6, 1), day(2002, 7, 5)}));

TEST(GraphWindowEdges, emptyJournalEndsTodayAndMonthPeriodsAreNotComputed)
{
    const CQuilloxDoc doc;
    const auto window = doc.graphWindowForDays(35, day(2002, 6, 30));
    ASSERT_TRUE(window);
    EXPECT_EQ(window->first, day(2002, 5, 27));
    EXPECT_EQ(window->last, day(2002, 6, 30));

    EXPECT_FALSE(doc.graphWindowForDays(0, day(2002, 6, 30)));
    EXPECT_FALSE(doc.graphWindowForDays(-3, day(2002, 6, 30)));

    const auto oneDay = doc.graphWindowForDays(1, day(2002, 6, 30));
    ASSERT_TRUE(oneDay);
    EXPECT_EQ(oneDay->first, oneDay->last);
}

} // namespace
