#include "docsetup.h"
#include "journal/cquilloxdoc.h"
#include "list/cquilloxview.h"
#include "list/listpainter.h"
#include "pane/journalcontext.h"
#include "panetestsupport.h"

#include <QApplication>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int paneWidth = 520;

// A list pane over a journal of `count` consecutive days ending on 2002/06/30,
// outside a main window.
class ListViewTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        QObject::connect(&context, &JournalContext::documentUpdated, [this] { ++updates; });
    }

    void fill(int count)
    {
        for (int i = 0; i < count; ++i)
            putDay(doc, latest - std::chrono::days(i), "", 60 + i * 0.1, 20, 0, 0, 0, 0);
    }

    void open(int height, Date selected)
    {
        context.setSelectedDate(selected);
        view = std::make_unique<CQuilloxView>(context);
        view->resize(paneWidth, height);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        updates = 0;
    }

    // Selects a day as the graph or the entry form would.
    void selectElsewhere(Date date)
    {
        context.setSelectedDate(date);
        context.updateAllViews();
    }

    Date dayOfRow(int row) const { return latest - std::chrono::days(row); }

    void wheel(int turn, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPointF at(50, 10);
        QWheelEvent event(at, view->mapToGlobal(at), QPoint(), QPoint(0, turn), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.get(), &event);
    }

    // The rows painted in the highlight colour, seen at the right end of the
    // client area where no text reaches.
    std::vector<int> highlightedRows()
    {
        const QImage image = view->grab().toImage();
        const int x = view->clientRect().width() - 3;
        std::vector<int> rows;
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y) == listSelectionColour &&
                (rows.empty() || rows.back() != (y + view->scrollPosition()) / 18))
                rows.push_back((y + view->scrollPosition()) / 18);
        }
        return rows;
    }

    void command(PaneCommand c) { view->runCommand(c); }

    const Date latest = makeDate(2002, 6, 30);
    CQuilloxDoc doc{latest};
    JournalContext context{doc, latest};
    std::unique_ptr<CQuilloxView> view;
    int updates = 0;
};

TEST_F(ListViewTest, emptyJournalShowsNothingAndCommandsDoNothing)
{
    open(200, latest);
    EXPECT_TRUE(view->verticalScrollBar()->isHidden());
    for (PaneCommand c : {PaneCommand::NextLine, PaneCommand::PreviousLine, PaneCommand::FirstLine,
                          PaneCommand::LastLine, PaneCommand::NextPage, PaneCommand::PreviousPage})
        command(c);
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_EQ(updates, 0);
    EXPECT_EQ(context.selectedDate(), latest);
    EXPECT_TRUE(highlightedRows().empty());
    const QImage image = view->grab().toImage();
    EXPECT_EQ(image.pixelColor(5, 5), view->palette().color(QPalette::Base));
}

TEST_F(ListViewTest, selectedDayWithoutEntry)
{
    fill(10);
    const Date missing = latest + std::chrono::days(3);
    open(300, missing);
    EXPECT_EQ(view->selectedRow(), -1);
    EXPECT_TRUE(highlightedRows().empty());
    command(PaneCommand::NextLine);
    command(PaneCommand::PreviousLine);
    EXPECT_EQ(updates, 0);
    EXPECT_EQ(context.selectedDate(), missing);

    command(PaneCommand::LastLine);
    EXPECT_EQ(context.selectedDate(), dayOfRow(9));
    selectElsewhere(missing);
    command(PaneCommand::FirstLine);
    EXPECT_EQ(context.selectedDate(), latest);
    EXPECT_EQ(view->selectedRow(), 0);
    EXPECT_EQ(highlightedRows(), std::vector<int>{0});
}

TEST_F(ListViewTest, keysWalkTheListAndStopAtItsEnds)
{
    fill(4);
    open(300, latest);
    view->setFocus();
    QTest::keyClick(view.get(), Qt::Key_Up);
    EXPECT_EQ(updates, 0) << "up on the latest entry";
    QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(context.selectedDate(), dayOfRow(1));
    EXPECT_EQ(highlightedRows(), std::vector<int>{1});
    QTest::keyClick(view.get(), Qt::Key_End);
    EXPECT_EQ(view->selectedRow(), 3);
    updates = 0;
    QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(updates, 0) << "down on the earliest entry";
    QTest::keyClick(view.get(), Qt::Key_Up);
    EXPECT_EQ(context.selectedDate(), dayOfRow(2));
    QTest::keyClick(view.get(), Qt::Key_Home);
    EXPECT_EQ(context.selectedDate(), latest);
}

TEST_F(ListViewTest, clickSelectsTheRowUnderThePointer)
{
    fill(5);
    open(200, latest);
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(40, 2 * 18 + 17));
    EXPECT_EQ(context.selectedDate(), dayOfRow(2));
    EXPECT_EQ(updates, 1);
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(40, 2 * 18 + 1));
    EXPECT_EQ(updates, 1) << "a click on the selected row";
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(40, 5 * 18));
    EXPECT_EQ(updates, 1) << "a click below the last row";
    QTest::mouseClick(view.get(), Qt::RightButton, {}, QPoint(40, 5));
    EXPECT_EQ(context.selectedDate(), dayOfRow(2));
}

TEST_F(ListViewTest, selectedRowBroughtIntoViewAtEveryUpdate)
{
    fill(100); // 1800 pixels: page step 180, line step 18
    open(100, latest);
    EXPECT_FALSE(view->verticalScrollBar()->isHidden());
    EXPECT_EQ(view->verticalScrollBar()->maximum(), 1700);

    selectElsewhere(dayOfRow(5)); // partly visible at the bottom
    EXPECT_EQ(view->scrollPosition(), 90);
    selectElsewhere(dayOfRow(8)); // visible: stays
    EXPECT_EQ(view->scrollPosition(), 90);
    selectElsewhere(dayOfRow(40)); // below
    EXPECT_EQ(view->scrollPosition(), 720);
    EXPECT_EQ(highlightedRows(), std::vector<int>{40});
    selectElsewhere(dayOfRow(3)); // above
    EXPECT_EQ(view->scrollPosition(), 54);
    selectElsewhere(dayOfRow(99)); // as near the top as the range allows
    EXPECT_EQ(view->scrollPosition(), 1700);

    command(PaneCommand::PreviousPage);
    EXPECT_EQ(view->scrollPosition(), 1520);
    command(PaneCommand::NextPage);
    command(PaneCommand::NextPage);
    EXPECT_EQ(view->scrollPosition(), 1700);
    EXPECT_EQ(context.selectedDate(), dayOfRow(99)) << "paging never selects";

    // A new entry on top moves every row down by one; the update keeps the
    // selected one in sight.
    selectElsewhere(dayOfRow(0));
    command(PaneCommand::NextPage);
    putDay(doc, latest + std::chrono::days(1), "", 61, 0, 0, 0, 0, 0);
    context.updateAllViews();
    EXPECT_EQ(view->selectedRow(), 1);
    EXPECT_EQ(view->scrollPosition(), 18);
}

TEST_F(ListViewTest, firstShownSizeKeepsTheNewestEntriesAboveTheSelectedDay)
{
    // The first update comes while the pane is still tiny, before the
    // window is maximised; the later days must not stay hidden above.
    fill(100);
    context.setSelectedDate(dayOfRow(2));
    view = std::make_unique<CQuilloxView>(context);
    view->resize(paneWidth, 20);
    context.updateAllViews();
    view->resize(paneWidth, 300);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    EXPECT_EQ(view->scrollPosition(), 0);
    EXPECT_EQ(highlightedRows(), std::vector<int>{2});

    // Once shown, the pane keeps where the user scrolled to.
    command(PaneCommand::NextPage);
    const int scrolled = view->scrollPosition();
    ASSERT_GT(scrolled, 0);
    view->resize(paneWidth, 200);
    EXPECT_EQ(view->scrollPosition(), scrolled);
}

TEST_F(ListViewTest, wheelMovesOneLineStepPerNotch)
{
    fill(100);
    open(100, latest);
    wheel(-120);
    EXPECT_EQ(view->scrollPosition(), 18);
    wheel(-60);
    EXPECT_EQ(view->scrollPosition(), 18) << "half a notch";
    wheel(-60);
    EXPECT_EQ(view->scrollPosition(), 36);
    wheel(120);
    EXPECT_EQ(view->scrollPosition(), 18);
    wheel(-120, Qt::ShiftModifier);
    wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(view->scrollPosition(), 18);
    wheel(0);
    EXPECT_EQ(view->scrollPosition(), 18) << "the end of a touch-pad gesture";
    EXPECT_EQ(updates, 0);
}

TEST_F(ListViewTest, wheelDoesNothingWithFewerThanSixEntries)
{
    fill(5); // 90 pixels: line step 0
    open(40, dayOfRow(4));
    ASSERT_FALSE(view->verticalScrollBar()->isHidden());
    const int position = view->scrollPosition();
    wheel(-120);
    wheel(120);
    EXPECT_EQ(view->scrollPosition(), position);
}

TEST_F(ListViewTest, fontGivesSevenPixelColumns)
{
    // Without the substitution the application makes, a proportional face
    // would be chosen and the columns would not meet.
    const QFontMetrics metrics(listFont());
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("0")), 7);
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("2002/05/12  65.50")), 17 * 7);
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("ｱｲｳ")), 3 * 7);
}

} // namespace

ZPH_APP_TEST_MAIN
