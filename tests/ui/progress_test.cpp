// The optional layer over the graph and the advisor (trend and goal lines)
// and the monthly summary window, in the running program.
#include "apptestsupport.h"
#include "docsetup.h"

#include "advisor/advisormessage.h"
#include "advisor/cmessageview.h"
#include "app/cmainframe.h"
#include "app/cmonthlysummarywnd.h"
#include "app/frametexts.h"
#include "graph/cgraphview.h"
#include "graph/graphrenderer.h"
#include "graph/graphscales.h"
#include "journal/cquilloxdoc.h"
#include "pane/journalcontext.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTableWidget>
#include <QTest>

#include <cstdlib>

namespace {

using std::chrono::days;

// The graph's two weeks end today, and so does the journal.
constexpr int journalDays = 14;
const Date firstDay = todayDate() - days{journalDays - 1};

// Weights that swing between 60 and 64 kg, so the trend runs between the
// points, clear of the line that joins them.
QByteArray swingingDays()
{
    QByteArray lines;
    for (int i = 0; i < journalDays; ++i) {
        const Date day = firstDay + days{i};
        lines += QByteArray::fromStdString(formatDate(day)) + (i % 2 ? "\t64" : "\t60") +
                 "\t20\t0\t0\t0\t0\t\r\n";
    }
    return lines;
}

bool near(const QColor &a, const QColor &b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

QColor rgb(Colour c)
{
    return QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff);
}

class ProgressTest : public AppTest {
  protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(startOnJournal(swingingDays(), "graphNDays = 14\r\n"));
        graph = frame->graphView();
        app->context().setSelectedDate(firstDay + days{journalDays - 1});
        app->context().updateAllViews();
        graph->grab(); // the first drawing works out the period
        ASSERT_TRUE(graph->periodValid);
        ASSERT_EQ(graph->periodStart, firstDay);
    }

    // Through the view menu's items, as a click sets them.
    void setOptions(bool trend, bool goal)
    {
        for (const auto &[id, on] :
             {std::pair{FrameAction::TrendLine, trend}, std::pair{FrameAction::GoalLine, goal}}) {
            QAction *item = frame->action(id);
            if (item->isChecked() != on)
                item->trigger();
        }
        ASSERT_EQ(app->context().progressOptions(), (ProgressOptions{trend, goal}));
    }

    // The pane as the unchanged drawing paints it: no overlay at all.
    QImage drawnWithoutOverlay() const
    {
        QImage image(graph->size(), QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(graph->logicalDpiX() / 0.0254));
        image.setDotsPerMeterY(qRound(graph->logicalDpiY() / 0.0254));
        image.fill(graph->palette().color(QPalette::Base));
        QPainter painter(&image);
        drawGraph(painter, app->document(), app->context().selectedDate(), *graph, graph->rect(),
                  screenGraphK, false);
        return image;
    }

    CGraphView *graph = nullptr;
};

TEST_F(ProgressTest, graphWithTheLinesOffIsTheUnchangedDrawingAndWithThemShowsTrendAndGoal)
{
    setOptions(false, false);
    const QImage before = drawnWithoutOverlay();
    EXPECT_EQ(graph->grab().toImage().convertToFormat(QImage::Format_RGB32), before);

    // The trend: half the weight's colour and half the plot's, on the day
    // centres, between the swinging points.
    setOptions(true, false);
    const QImage withTrend = graph->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_NE(withTrend, before);
    const CQuilloxDoc &doc = app->document();
    const GraphSettings &s = doc.graphSettings();
    const QColor trendColour((rgb(s.colorWeight).red() + rgb(s.colorBackGround).red()) / 2,
                             (rgb(s.colorWeight).green() + rgb(s.colorBackGround).green()) / 2,
                             (rgb(s.colorWeight).blue() + rgb(s.colorBackGround).blue()) / 2);
    const AxisScale weightScale =
        fitSeriesScales(doc, graph->periodStart, graph->periodEnd, false)[graphSeriesWeight];
    const JournalTrends &trends = app->context().trends();
    int found = 0;
    for (int i = 2; i < journalDays - 1; ++i) {
        const Date day = firstDay + days{i};
        const int x = dayCentre(graph->plotRect, graph->dayWidth, i);
        const int y = weightScale.yOf(*trends.weight.trendOn(day), graph->plotRect.top,
                                      graph->plotRect.bottom);
        for (int dy = -1; dy <= 1; ++dy)
            if (near(withTrend.pixelColor(x, y + dy), trendColour, 24)) {
                ++found;
                break;
            }
    }
    EXPECT_EQ(found, journalDays - 3);

    // The goal below every weight: the scale reaches down to it and the
    // dashed line lies on its row in the weight's colour.
    objectiveOf(app->document())->weight = 55;
    setOptions(false, true);
    const QImage withGoal = graph->grab().toImage();
    const AxisScale goalScale =
        fitSeriesScales(doc, graph->periodStart, graph->periodEnd, false, 55.0)[graphSeriesWeight];
    EXPECT_LE(goalScale.min, 55);
    EXPECT_GT(weightScale.min, 55);
    const int goalRow = goalScale.yOf(55, graph->plotRect.top, graph->plotRect.bottom);
    int dashes = 0;
    for (int x = graph->plotRect.left; x < graph->plotRect.right; ++x)
        dashes += withGoal.pixelColor(x, goalRow) == rgb(s.colorWeight);
    EXPECT_GT(dashes, (graph->plotRect.right - graph->plotRect.left) / 3);

    // Off again: exactly as before.
    setOptions(false, false);
    objectiveOf(app->document())->weight = 0;
    EXPECT_EQ(graph->grab().toImage().convertToFormat(QImage::Format_RGB32), drawnWithoutOverlay());
}

TEST_F(ProgressTest, advisorSpeaksOfThePaceOnlyWithTheTrendOnAndFollowsAChangedDay)
{
    const auto *advisor = frame->findChild<CMessageView *>();
    ASSERT_NE(advisor, nullptr);
    const CQuilloxDoc &doc = app->document();
    const Date selected = app->context().selectedDate();
    const auto unchanged = [&] {
        return QString::fromStdString(
            composeAdvisorMessage(doc, selected, todayDate(), [] { return 1; }));
    };
    EXPECT_EQ(advisor->message(), unchanged());

    setOptions(true, false);
    const QString withTrend = advisor->message();
    EXPECT_TRUE(withTrend.contains(QStringLiteral("この4週間は週"))) << withTrend.toStdString();
    // A day replaced in place moves the trend at once.
    putDay(app->document(), selected, "", 90, 20, 0, 0, 0, 0);
    app->context().updateAllViews();
    EXPECT_NE(advisor->message(), withTrend);
    const JournalTrends fresh = journalTrends(doc.dayList());
    EXPECT_EQ(app->context().trends().weight.trendOn(selected), fresh.weight.trendOn(selected));

    setOptions(false, false);
    EXPECT_EQ(advisor->message(), unchanged());
}

TEST_F(ProgressTest, switchesLiveInTheProfileNotInTheJournal)
{
    const QString journal = path(QStringLiteral("zph0001.txt"));
    ASSERT_TRUE(app->fileSave());
    const QByteArray stored = fileBytes(journal);
    setOptions(true, true);
    ASSERT_TRUE(app->fileSave());
    EXPECT_EQ(fileBytes(journal), stored);
    EXPECT_TRUE(profile().value(QStringLiteral("Graph/trendLine")).toBool());

    // The next start comes back with both on.
    app.reset();
    ASSERT_TRUE(startApp());
    EXPECT_EQ(app->context().progressOptions(), (ProgressOptions{true, true}));
    EXPECT_TRUE(app->mainFrame()->action(FrameAction::TrendLine)->isChecked());
    EXPECT_TRUE(app->mainFrame()->action(FrameAction::GoalLine)->isChecked());
}

TEST_F(ProgressTest, summaryWindowListsMonthsNewestFirstCopiesAndPrints)
{
    CQuilloxDoc &doc = app->document();
    dropAllDays(doc);
    putDay(doc, makeDate(2020, 3, 1), "", 62, 0, 0, 0, 0, 0);
    putDay(doc, makeDate(2020, 3, 31), "", 64, 0, 0, 0, 0, 0);
    putDay(doc, makeDate(2020, 4, 2), "", 0, 0, 5, 1500, 0, 0);
    app->context().updateAllViews();
    frame->action(FrameAction::MonthlySummary)->trigger();
    CMonthlySummaryWnd *window = frame->monthlySummaryWindow();
    ASSERT_NE(window, nullptr);
    auto *table = window->findChild<QTableWidget *>(QStringLiteral("summaryTable"));
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("2020/04"));
    EXPECT_EQ(table->item(1, 0)->text(), QStringLiteral("2020/03"));
    EXPECT_EQ(table->item(1, 1)->text(), QStringLiteral("2"));
    EXPECT_EQ(table->item(1, 2)->text(), QStringLiteral("63.00"));
    EXPECT_EQ(table->item(0, 2)->text(), QString()); // no weight in April

    // A new month appears while the window is open.
    putDay(doc, makeDate(2020, 5, 1), "", 61, 0, 0, 0, 0, 0);
    app->context().updateAllViews();
    ASSERT_EQ(table->rowCount(), 3);

    table->selectRow(1);
    window->copySelection();
    const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3); // titles, the row, and the end of the last line
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("月\t日数\t")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("2020/04\t1\t\t\t\t\t5.00\t25'00\"")))
        << lines[1].toStdString();

    // The print path: a PDF with the table.
    QPrinter &printer = app->printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = path(QStringLiteral("summary.pdf"));
    printer.setOutputFileName(pdf);
    QPainter painter(&printer);
    CMonthlySummaryWnd::paintPages(
        painter, printer, summaryTableRows(monthlySummary(doc.dayList())), QStringLiteral("title"));
    ASSERT_TRUE(painter.end());
    EXPECT_TRUE(fileBytes(pdf).startsWith("%PDF"));
}

TEST_F(ProgressTest, summaryWindowSortsByFiguresClosesOnEscapeAndLetsTabOut)
{
    CQuilloxDoc &doc = app->document();
    dropAllDays(doc);
    putDay(doc, makeDate(2020, 3, 1), "", 9, 0, 0, 0, 0, 0);
    putDay(doc, makeDate(2020, 4, 1), "", 10, 0, 0, 0, 0, 0);
    putDay(doc, makeDate(2020, 5, 1), "", 0, 0, 1, 0, 0, 0);
    app->context().updateAllViews();
    frame->resize(1000, 700);
    frame->action(FrameAction::MonthlySummary)->trigger();
    CMonthlySummaryWnd *window = frame->monthlySummaryWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_LE(
        (window->frameGeometry().center() - frame->frameGeometry().center()).manhattanLength(), 1);
    auto *table = window->findChild<QTableWidget *>(QStringLiteral("summaryTable"));

    // A click on the mean weight's heading: no weight, 9, 10 (not "10" < "9"),
    // and the copy follows the order shown.
    QTest::mouseClick(table->horizontalHeader()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(table->horizontalHeader()->sectionViewportPosition(2) + 5, 5));
    QStringList months;
    for (int r = 0; r < table->rowCount(); ++r)
        months << table->item(r, 0)->text();
    EXPECT_EQ(months, (QStringList{QStringLiteral("2020/05"), QStringLiteral("2020/03"),
                                   QStringLiteral("2020/04")}));
    table->selectRow(1);
    EXPECT_TRUE(window->selectedText()
                    .section(QLatin1Char('\n'), 1, 1)
                    .startsWith(QStringLiteral("2020/03\t")));

    QApplication::setActiveWindow(window);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), table);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

} // namespace

ZPH_APP_TEST_MAIN
