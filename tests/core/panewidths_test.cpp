// The widths of the top row's panes: the entry form and the advisor keep
// theirs, the list takes every change and never goes below 180, then the
// advisor narrows to 80 and is hidden.

#include "app/panewidths.h"

#include <gtest/gtest.h>

namespace {

struct ResizeCase {
    int available;
    int entryForm;
    int advisor;
    TopPaneWidths expected;
};

class ResizedTopPaneWidths : public ::testing::TestWithParam<ResizeCase> {};

TEST_P(ResizedTopPaneWidths, followTheRule)
{
    const ResizeCase &c = GetParam();
    const TopPaneWidths widths = resizedTopPaneWidths(c.available, c.entryForm, c.advisor);
    EXPECT_EQ(widths.entryForm, c.expected.entryForm);
    EXPECT_EQ(widths.list, c.expected.list);
    EXPECT_EQ(widths.advisor, c.expected.advisor);
    EXPECT_EQ(widths.entryForm + widths.list + widths.advisor, std::max(c.available, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ResizedTopPaneWidths,
    ::testing::Values(
        // Widening and narrowing move only the list.
        ResizeCase{1000, 200, 300, {200, 500, 300}}, ResizeCase{1400, 200, 300, {200, 900, 300}},
        ResizeCase{681, 200, 300, {200, 181, 300}},
        // The list stops at 180; the advisor gives way ...
        ResizeCase{680, 200, 300, {200, 180, 300}}, ResizeCase{600, 200, 300, {200, 180, 220}},
        ResizeCase{460, 200, 300, {200, 180, 80}},
        // ... and is hidden below 80, its width going to the list.
        ResizeCase{459, 200, 300, {200, 259, 0}}, ResizeCase{420, 200, 300, {200, 220, 0}},
        // Once hidden it stays hidden: all extra width goes to the list.
        ResizeCase{900, 200, 0, {200, 700, 0}},
        // The form keeps a width the user dragged it to.
        ResizeCase{900, 260, 120, {260, 520, 120}},
        // No room left for the list beside the form: the form takes it all.
        ResizeCase{300, 200, 300, {300, 0, 0}}, ResizeCase{150, 200, 300, {150, 0, 0}},
        ResizeCase{0, 200, 300, {0, 0, 0}}));

TEST(InitialTopPaneWidths, giveFormAndList200AndAdvisorTheRest)
{
    EXPECT_EQ(initialTopPaneWidths(1000), (TopPaneWidths{200, 200, 600}));
    EXPECT_EQ(initialTopPaneWidths(480), (TopPaneWidths{200, 200, 80}));
    EXPECT_EQ(initialTopPaneWidths(479), (TopPaneWidths{200, 279, 0}));
}

TEST(ResizedTopPaneWidths, repeatedSmallStepsKeepOuterPanes)
{
    TopPaneWidths widths{200, 500, 300};
    for (int available = 1000; available >= 700; available -= 3)
        widths = resizedTopPaneWidths(available, widths.entryForm, widths.advisor);
    for (int available = 700; available <= 1100; available += 11)
        widths = resizedTopPaneWidths(available, widths.entryForm, widths.advisor);
    EXPECT_EQ(widths.entryForm, 200);
    EXPECT_EQ(widths.advisor, 300);
}

} // namespace
