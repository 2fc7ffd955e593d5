// The heights of the main window's rows: the graph's plot keeps 120 px in a
// roomy window and a quarter of the panes below that; the top row gives way.

#include "app/panerows.h"

#include <gtest/gtest.h>

namespace {

struct RowCase {
    int splitter;
    int wantedTop;
    int expectedTop;
};

class FittedTopRowHeight : public ::testing::TestWithParam<RowCase> {};

// The graph's margins at 96 dpi and a splitter bar of 5, as on screen.
constexpr int margins = 65;
constexpr int handle = 5;

TEST_P(FittedTopRowHeight, leavesThePlotItsMinimum)
{
    const RowCase &c = GetParam();
    const int top = fittedTopRowHeight(c.splitter, handle, c.wantedTop, margins);
    EXPECT_EQ(top, c.expectedTop);
    if (top > 0) {
        EXPECT_GE(c.splitter - handle - top - margins, minimumPlotHeight(c.splitter));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, FittedTopRowHeight,
                         ::testing::Values(
                             // Room enough: the wanted row, the design's or the user's.
                             RowCase{900, 400, 400}, RowCase{590, 400, 400}, RowCase{900, 250, 250},
                             // 120 px of plot while the panes have 560 ...
                             RowCase{589, 400, 399}, RowCase{560, 400, 370},
                             // ... then a quarter of them.
                             RowCase{559, 400, 350}, RowCase{480, 400, 290}, RowCase{400, 400, 230},
                             // Too short even for the graph: the top row goes, never below 0.
                             RowCase{80, 400, 0}, RowCase{0, 400, 0}, RowCase{-10, 400, 0}));

TEST(MinimumPlotHeight, isAQuarterBelowRoomyHeight)
{
    EXPECT_EQ(minimumPlotHeight(2000), 120);
    EXPECT_EQ(minimumPlotHeight(560), 120);
    EXPECT_EQ(minimumPlotHeight(559), 139);
    EXPECT_EQ(minimumPlotHeight(200), 50);
}

} // namespace
