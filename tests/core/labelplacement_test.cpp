// Labels that would run into each other: which are drawn, in which order the
// day numbers and axis labels claim their room, and when the axes right of
// the plot give up all but their end labels.

#include "graph/labelplacement.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

Date d(int y, int m, int day)
{
    return makeDate(y, m, day);
}

// A label 16 wide and 16 high at (left, top).
PixelRect box(int left, int top)
{
    return PixelRect{left, top, left + 16, top + 16};
}

TEST(LabelPlacement, aLabelIsLeftOutWhereItsPaddedBoxMeetsOneAlreadyPlaced)
{
    const struct {
        const char *what;
        std::vector<PixelRect> candidates;
        std::vector<PixelRect> taken;
        std::vector<bool> placed;
    } cases[] = {
        {"4 pixels apart: the two paddings touch", {box(0, 0), box(20, 0)}, {}, {true, true}},
        {"3 pixels apart: they share a pixel", {box(0, 0), box(19, 0)}, {}, {true, false}},
        {"on top of each other", {box(0, 0), box(0, 0)}, {}, {true, false}},
        {"rows 4 pixels apart", {box(0, 0), box(0, 20)}, {}, {true, true}},
        {"rows 3 pixels apart", {box(0, 0), box(0, 19)}, {}, {true, false}},
        {"apart on one axis is enough", {box(0, 0), box(40, 8)}, {}, {true, true}},
        {"the first given wins; the third still fits beside it",
         {box(10, 0), box(0, 0), box(30, 0)},
         {},
         {true, false, true}},
        {"a label left out claims no room",
         {box(0, 0), box(18, 0), box(36, 0)},
         {},
         {true, false, true}},
        {"room already taken", {box(0, 0), box(40, 0)}, {box(45, 0)}, {true, false}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(placeLabels(c.candidates, 2, c.taken), c.placed) << c.what;
}

TEST(LabelPlacement, daysClaimRoomSelectedFirstThenMonthStartsThenLeftToRight)
{
    // 28 January to 10 February.
    const GraphPeriodState period{true, 14, d(2026, 1, 28), d(2026, 2, 10)};
    const struct {
        const char *what;
        std::optional<Date> selected;
        std::vector<int> firstFive;
    } cases[] = {
        {"selected 5 February", d(2026, 2, 5), {8, 4, 0, 1, 2}},
        {"selected outside the period", d(2026, 3, 1), {4, 0, 1, 2, 3}},
        {"selected on a month's first day", d(2026, 2, 1), {4, 0, 1, 2, 3}},
        {"nothing selected (paper)", std::nullopt, {4, 0, 1, 2, 3}},
    };
    for (const auto &c : cases) {
        const std::vector<int> order = dayLabelOrder(period, c.selected);
        ASSERT_EQ(order.size(), 14u) << c.what;
        EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 5), c.firstFive) << c.what;
        std::vector<int> sorted = order;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << c.what;
    }
    // Three months: every first of a month comes before the other days.
    const std::vector<int> quarter =
        dayLabelOrder(GraphPeriodState{true, 92, d(2026, 11, 1), d(2027, 1, 31)}, std::nullopt);
    EXPECT_EQ(std::vector<int>(quarter.begin(), quarter.begin() + 4),
              (std::vector<int>{0, 30, 61, 1}));

    EXPECT_EQ(axisLabelOrder(4), (std::vector<int>{3, 0, 1, 2}));
    EXPECT_EQ(axisLabelOrder(1), std::vector<int>{0});
    EXPECT_TRUE(axisLabelOrder(0).empty());
}

TEST(LabelPlacement, axesWhoseLabelsMeetAreCrowdedAndPaddingGrowsWithTheUnit)
{
    // Three axes 34 apart; a four-digit label (32 wide) on the first reaches
    // the second's labels.
    const std::vector<PixelRect> narrow{box(4, 0), box(4, 40)};
    const std::vector<PixelRect> wide{PixelRect{4, 0, 36, 16}, box(4, 40)};
    const auto shifted = [](std::vector<PixelRect> boxes, int dx) {
        for (PixelRect &b : boxes) {
            b.left += dx;
            b.right += dx;
        }
        return boxes;
    };
    EXPECT_EQ(crowdedAxes({narrow, shifted(narrow, 34), shifted(narrow, 68)}, 2),
              (std::vector<bool>{false, false, false}));
    EXPECT_EQ(crowdedAxes({wide, shifted(narrow, 34), shifted(narrow, 68)}, 2),
              (std::vector<bool>{true, true, false}));

    EXPECT_EQ(labelPadding(8), 2);   // the screen
    EXPECT_EQ(labelPadding(83), 20); // paper at 1200 dots per inch
}

} // namespace
