#include "app/czephalonteapp.h"
#include "apptestsupport.h"
#include "graph/cgraphview.h"
#include "journal/cquilloxdoc.h"
#include "list/cquilloxview.h"
#include "list/listpainter.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
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
        app = std::make_unique<CZephalonteApp>();
        QObject::connect(app.get(), &CZephalonteApp::documentUpdated, app.get(),
                         [this] { ++updates; });
    }

    void fill(int count)
    {
        for (int i = 0; i < count; ++i)
            app->theDocument->setDay(latest - std::chrono::days(i), "", 60 + i * 0.1, 20, 0, 0, 0,
                                     0);
    }

    void open(int height, Date selected)
    {
        app->selectedDate = selected;
        view = std::make_unique<CQuilloxView>();
        view->resize(paneWidth, height);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        updates = 0;
    }

    // Selects a day as the graph or the entry form would.
    void selectElsewhere(Date date)
    {
        app->selectedDate = date;
        app->updateAllViews();
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
    std::unique_ptr<CZephalonteApp> app;
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
    EXPECT_EQ(app->selectedDate, latest);
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
    EXPECT_EQ(app->selectedDate, missing);

    command(PaneCommand::LastLine);
    EXPECT_EQ(app->selectedDate, dayOfRow(9));
    selectElsewhere(missing);
    command(PaneCommand::FirstLine);
    EXPECT_EQ(app->selectedDate, latest);
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
    EXPECT_EQ(app->selectedDate, dayOfRow(1));
    EXPECT_EQ(highlightedRows(), std::vector<int>{1});
    QTest::keyClick(view.get(), Qt::Key_End);
    EXPECT_EQ(view->selectedRow(), 3);
    updates = 0;
    QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(updates, 0) << "down on the earliest entry";
    QTest::keyClick(view.get(), Qt::Key_Up);
    EXPECT_EQ(app->selectedDate, dayOfRow(2));
    QTest::keyClick(view.get(), Qt::Key_Home);
    EXPECT_EQ(app->selectedDate, latest);
}

TEST_F(ListViewTest, clickSelectsTheRowUnderThePointer)
{
    fill(5);
    open(200, latest);
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(40, 2 * 18 + 17));
    EXPECT_EQ(app->selectedDate, dayOfRow(2));
    EXPECT_EQ(updates, 1);
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(40, 2 * 18 + 1));
    EXPECT_EQ(updates, 1) << "a click on the selected row";
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(40, 5 * 18));
    EXPECT_EQ(updates, 1) << "a click below the last row";
    QTest::mouseClick(view.get(), Qt::RightButton, {}, QPoint(40, 5));
    EXPECT_EQ(app->selectedDate, dayOfRow(2));
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
    EXPECT_EQ(app->selectedDate, dayOfRow(99)) << "paging never selects";

    // A new entry on top moves every row down by one; the update keeps the
    // selected one in sight.
    selectElsewhere(dayOfRow(0));
    command(PaneCommand::NextPage);
    app->theDocument->setDay(latest + std::chrono::days(1), "", 61, 0, 0, 0, 0, 0);
    app->updateAllViews();
    EXPECT_EQ(view->selectedRow(), 1);
    EXPECT_EQ(view->scrollPosition(), 18);
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

// ---- printing, in the running program ----

class ListPrintTest : public AppTest {
  protected:
    // The PDF without its creation time, which is all two prints of one page differ in.
    QByteArray printed(CPaneView *pane, const QString &name)
    {
        QPrinter &printer = app->printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path(name));
        pane->runCommand(PaneCommand::PrintDirect);
        static const QRegularExpression creationDate(QStringLiteral("/CreationDate \\([^)]*\\)"));
        return QString::fromLatin1(fileBytes(path(name))).remove(creationDate).toLatin1();
    }
};

TEST_F(ListPrintTest, printsTheGraphPage)
{
    writeJournalFile(path(QStringLiteral("zph0001.txt")), "Taro",
                     "2026/03/01\t60\t20\t5\t1800\t0\t0\t\r\n"
                     "2026/03/04\t61\t21\t0\t0\t3\t1200\tmemo\r\n",
                     "graphNDays = 7\r\n");
    ASSERT_TRUE(startApp());
    CQuilloxView *list = app->theListView;
    ASSERT_NE(list, nullptr);
    ASSERT_NE(app->theGraphView, nullptr);
    for (PaneCommand c : {PaneCommand::Print, PaneCommand::PrintDirect, PaneCommand::PrintPreview})
        EXPECT_TRUE(list->isCommandEnabled(c));

    // Printed from the list before the graph has ever been drawn.
    const QByteArray fromList = printed(list, QStringLiteral("list.pdf"));
    EXPECT_FALSE(app->printingActive);
    const QByteArray fromGraph = printed(app->theGraphView, QStringLiteral("graph.pdf"));
    ASSERT_FALSE(fromGraph.isEmpty());
    EXPECT_EQ(fromList, fromGraph);

    int pages = -1;
    bool activeMeanwhile = false;
    answerer.expect([&](QWidget *modal) {
        auto *preview = qobject_cast<QPrintPreviewDialog *>(modal);
        ASSERT_NE(preview, nullptr);
        pages = preview->findChild<QPrintPreviewWidget *>()->pageCount();
        activeMeanwhile = app->printingActive;
        preview->reject();
    });
    list->runCommand(PaneCommand::PrintPreview);
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(activeMeanwhile);
    EXPECT_FALSE(app->printingActive);
    EXPECT_TRUE(answerer.unexpected.isEmpty()) << answerer.unexpected.join(u'\n').toStdString();
}

} // namespace

ZPH_APP_TEST_MAIN
