// The graph: pixels of the drawing where the geometry puts them, the pane's
// clicks, buttons and pop-up menu, and its printed page.

#include "apptestsupport.h"
#include "docsetup.h"

#include "app/cmainframe.h"
#include "graph/cgraphview.h"
#include "graph/graphrenderer.h"
#include "graph/graphscales.h"
#include "journal/cquilloxdoc.h"
#include "list/cquilloxview.h"
#include "pane/journalcontext.h"

#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QTest>

namespace {

Date d(int y, int m, int day)
{
    return makeDate(y, m, day);
}

QColor rgb(Colour c)
{
    return QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff);
}

// A journal that shows only the given activity series, as plain bars.
CQuilloxDoc barJournal(std::initializer_list<int> shown)
{
    CQuilloxDoc doc;
    GraphSettings s = doc.graphSettings();
    s.graphWeight = s.graphFatPercent = s.graphJogDistance = s.graphJogDuration = false;
    for (int series : shown) {
        s.graphJogDistance |= series == graphSeriesJogDistance;
        s.graphJogDuration |= series == graphSeriesJogDuration;
        s.graphWalkDistance |= series == graphSeriesWalkDistance;
        s.graphWalkDuration |= series == graphSeriesWalkDuration;
    }
    s.jogDistType = s.jogDurType = s.walkDistType = s.walkDurType = 0;
    s.colorJogDistance = 0x0000ff;
    s.colorJogDuration = 0x00ff00;
    s.colorWalkDistance = 0xff0000;
    s.colorWalkDuration = 0x00ffff;
    *graphSettingsOf(doc) = s;
    return doc;
}

const GraphPeriodState week{true, 7, d(2026, 3, 1), d(2026, 3, 7)};

// Draws doc into a 96-dpi image (u = 8) of the given size, on screen.
QImage render(const CQuilloxDoc &doc, QSize size, Date selected, GraphLayout *layout = nullptr)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    GraphPeriodState period = week;
    const GraphLayout drawn =
        drawGraph(painter, doc, selected, period, image.rect(), screenGraphK, false);
    if (layout)
        *layout = drawn;
    return image;
}

// The colours of row y from x0 to x1 inclusive.
std::vector<QColor> rowColours(const QImage &image, int x0, int x1, int y)
{
    std::vector<QColor> colours;
    for (int x = x0; x <= x1; ++x)
        colours.push_back(image.pixelColor(x, y));
    return colours;
}

TEST(GraphDrawingTest, oneBarOnATwentyUnitDaySpansEightEachSide)
{
    CQuilloxDoc doc = barJournal({graphSeriesJogDistance});
    putDay(doc, d(2026, 3, 4), "", 0, 0, 10, 0, 0, 0);
    GraphLayout layout;
    // Axis width 34 each side: 224 - 68 - 16 leaves 140 for 7 days.
    const QImage image = render(doc, QSize(224, 200), d(2026, 1, 1), &layout);
    ASSERT_EQ(layout.dayWidth, 20);
    ASSERT_EQ(layout.plotRect, (PixelRect{34, 32, 190, 167}));
    // The main window sizes its rows by the same margins.
    EXPECT_EQ(200 - screenPlotMargins(graphUnits(96, 6)), 167 - 32);
    const int x = 34 + 3 * 20 + 10;
    const QColor bar = rgb(doc.graphSettings().colorJogDistance);
    // 0 to 20 km: 10 km is half of the 135 rows above the baseline.
    const int top = 167 - 135 / 2;
    for (int y : {top, 150, 166}) {
        SCOPED_TRACE(y);
        EXPECT_NE(image.pixelColor(x - 9, y), bar);
        EXPECT_EQ(rowColours(image, x - 8, x + 7, y), std::vector<QColor>(16, bar));
        EXPECT_NE(image.pixelColor(x + 8, y), bar);
    }
    EXPECT_NE(image.pixelColor(x, top - 1), bar);
    EXPECT_EQ(image.pixelColor(x, 167), QColor(Qt::black)); // the baseline lies over it
}

TEST(GraphDrawingTest, fourNarrowBarsKeepTheirMinimumWidthAndOrder)
{
    CQuilloxDoc doc = barJournal({graphSeriesJogDistance, graphSeriesJogDuration,
                                  graphSeriesWalkDistance, graphSeriesWalkDuration});
    putDay(doc, d(2026, 3, 4), "", 0, 0, 10, 600, 10, 600);
    GraphLayout layout;
    // Two axes on the right (walk shares jog's): 188 - 34 - 68 - 16 = 70.
    const QImage image = render(doc, QSize(188, 200), d(2026, 1, 1), &layout);
    ASSERT_EQ(layout.dayWidth, 10);
    const int x = 34 + 3 * 10 + 5;
    const int y = layout.plotRect.bottom - 5;
    const QColor white(Qt::white);
    const Colour colours[] = {0x0000ff, 0x00ff00, 0xff0000, 0x00ffff};
    const int offsets[] = {-12, -6, 0, 6};
    EXPECT_EQ(image.pixelColor(x - 13, y), white);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rowColours(image, x + offsets[i], x + offsets[i] + 4, y),
                  std::vector<QColor>(5, rgb(colours[i])));
        EXPECT_EQ(image.pixelColor(x + offsets[i] + 5, y), white); // the gap
    }
}

TEST(GraphDrawingTest, selectedDayMarkerIsDottedOverTheBackground)
{
    CQuilloxDoc doc = barJournal({graphSeriesJogDistance});
    putDay(doc, d(2026, 3, 4), "", 0, 0, 10, 0, 0, 0);
    graphSettingsOf(doc)->colorBackGround = 0xe0e0e0;
    const QColor marker = rgb(doc.graphSettings().colorCrntDate);
    const QColor background = rgb(doc.graphSettings().colorBackGround);
    const QImage image = render(doc, QSize(224, 200), d(2026, 3, 3));
    const int x = 34 + 2 * 20 + 10;
    // From just below the baseline up, three on and three off; the tick of
    // the day is covered by the background.
    EXPECT_EQ(image.pixelColor(x, 168), marker);
    EXPECT_EQ(image.pixelColor(x, 167), QColor(Qt::black)); // baseline drawn last
    EXPECT_EQ(image.pixelColor(x, 166), marker);
    EXPECT_EQ(image.pixelColor(x, 165), background);
    EXPECT_EQ(image.pixelColor(x, 163), background);
    EXPECT_EQ(image.pixelColor(x, 162), marker);
    EXPECT_EQ(image.pixelColor(x, 36), marker); // 132 rows up
    EXPECT_EQ(image.pixelColor(x, 33), background);
    EXPECT_EQ(image.pixelColor(x, 32), QColor(Qt::black)); // the frame, not the marker
    EXPECT_EQ(image.pixelColor(x + 1, 165), background);
    // Outside the period: no marker.
    const QImage none = render(doc, QSize(224, 200), d(2026, 3, 8));
    EXPECT_EQ(none.pixelColor(x, 150), background);
}

TEST(GraphDrawingTest, gradientBarFadesFromItsColourToTheBackground)
{
    CQuilloxDoc doc = barJournal({graphSeriesJogDistance});
    graphSettingsOf(doc)->jogDistType = 2;
    graphSettingsOf(doc)->colorJogDistance = 0x0000f0;
    putDay(doc, d(2026, 3, 4), "", 0, 0, 10, 0, 0, 0);
    const QImage image = render(doc, QSize(224, 200), d(2026, 1, 1));
    const int x = 34 + 3 * 20 + 10;
    const int top = 167 - 135 / 2;
    EXPECT_EQ(image.pixelColor(x, top - 1), QColor(Qt::white));
    EXPECT_EQ(rowColours(image, x - 8, x + 7, top), std::vector<QColor>(16, QColor(240, 0, 0)));
    // 68 rows down to the baseline: the last but one is 66/68 of the way.
    EXPECT_EQ(image.pixelColor(x, 166), QColor(254, 247, 247));

    // Types an edited file invented draw nothing, and do not crash.
    graphSettingsOf(doc)->jogDistType = 7;
    EXPECT_EQ(render(doc, QSize(224, 200), d(2026, 1, 1)).pixelColor(x, 150), QColor(Qt::white));
}

TEST(GraphDrawingTest, weightPointsSitOnTheirDaysAndEmptyJournalDrawsOnlyTheFrame)
{
    CQuilloxDoc doc;
    {
        auto settings = graphSettingsOf(doc);
        settings->graphFatPercent = settings->graphJogDistance = settings->graphJogDuration = false;
    }
    graphSettingsOf(doc)->weightLineType = 99; // drawn as a thin line
    putDay(doc, d(2026, 3, 1), "", 60.3, 0, 0, 0, 0, 0);
    putDay(doc, d(2026, 3, 2), "", 63.8, 0, 0, 0, 0, 0);
    putDay(doc, d(2026, 3, 5), "", 62, 0, 0, 0, 0, 0);
    const QImage image = render(doc, QSize(224, 200), d(2026, 1, 1));
    // 60 to 64: 63.8 is 128 of the 135 rows up; a point is a circle of
    // radius 3 with a white middle.
    const int x = 34 + 20 + 10;
    const int y = 167 - 135 * 38 / 40;
    const QColor blue = rgb(doc.graphSettings().colorWeight);
    EXPECT_EQ(image.pixelColor(x, y), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(x, y - 3), blue);
    EXPECT_EQ(image.pixelColor(x - 3, y), blue);
    // The dotted minor division of 60.5 counts its dots from the plot's left.
    const int minor = 167 - 135 / 8;
    EXPECT_EQ(
        rowColours(image, 35, 40, minor),
        (std::vector<QColor>{Qt::black, Qt::black, Qt::white, Qt::white, Qt::white, Qt::black}));

    CQuilloxDoc empty;
    GraphLayout layout;
    const QImage frame = render(empty, QSize(224, 200), d(2026, 1, 1), &layout);
    EXPECT_EQ(layout.dayWidth, 0);
    EXPECT_TRUE(layout.prevButtonRect.isEmpty());
    EXPECT_EQ(frame.pixelColor(34, 100), QColor(Qt::black));
    EXPECT_EQ(frame.pixelColor(100, 100), QColor(Qt::white));

    // A pane too small for its margins still draws, without a day width.
    render(doc, QSize(40, 30), d(2026, 3, 2), &layout);
    EXPECT_EQ(layout.dayWidth, 0);
}

TEST(GraphDrawingTest, goalMarkIsDrawnOverTheLastDaysBarWithARim)
{
    // A full-height jog bar on the last day, under where the mark goes.
    CQuilloxDoc doc = barJournal({graphSeriesJogDistance});
    GraphSettings s = doc.graphSettings();
    s.graphWeight = true;
    *graphSettingsOf(doc) = s;
    putDay(doc, d(2026, 3, 1), "", 60, 0, 0, 0, 0, 0);
    putDay(doc, d(2026, 3, 7), "", 61, 0, 10, 0, 0, 0);
    objectiveOf(doc)->weight = 60.5;
    QImage image(224, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        GraphPeriodState period = week;
        const GraphLayout layout = drawGraph(painter, doc, d(2026, 1, 1), period, image.rect(),
                                             screenGraphK, false, GraphOverlays{nullptr, true});
        ASSERT_EQ(layout.dayWidth, 20);
    }
    // The bar spans 164 +- 8 and rises to 100 (10 of 0 to 20 km); inside it,
    // the mark's black and its rim.
    int black = 0;
    int rim = 0;
    for (int x = 157; x <= 171; ++x) {
        for (int y = 102; y < 167; ++y) {
            const QColor c = image.pixelColor(x, y);
            black += c == QColor(Qt::black);
            rim += c == rgb(doc.graphSettings().colorBackGround);
        }
    }
    EXPECT_GT(black, 10);
    EXPECT_GT(rim, 10);
}

// A target on a labelled division: the dashes' gaps show the background, not
// the division line, so that a page scaled down (the print preview's fitted
// page) does not read the two as one solid line.
TEST(GraphDrawingTest, goalLineOnADivisionShowsTheBackgroundInItsGaps)
{
    CQuilloxDoc doc = barJournal({});
    GraphSettings s = doc.graphSettings();
    s.graphWeight = true;
    *graphSettingsOf(doc) = s;
    putDay(doc, d(2026, 3, 1), "", 60, 0, 0, 0, 0, 0);
    putDay(doc, d(2026, 3, 7), "", 64, 0, 0, 0, 0, 0);
    const AxisScale scale =
        fitSeriesScales(doc, week.periodStart, week.periodEnd, false)[graphSeriesWeight];
    ASSERT_FALSE(scale.isEmpty());
    const double division = scale.min + scale.step;
    const auto drawn = [&doc](bool goal, GraphLayout &layout) {
        QImage image(224, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        GraphPeriodState period = week;
        layout = drawGraph(painter, doc, d(2026, 1, 1), period, image.rect(), screenGraphK, false,
                           GraphOverlays{nullptr, goal});
        return image;
    };
    objectiveOf(doc)->weight = division;
    GraphLayout layout;
    const QImage plain = drawn(false, layout);
    const PixelRect plot = layout.plotRect;
    const int row = scale.yOf(division, plot.top, plot.bottom);
    const QColor line = plain.pixelColor((plot.left + plot.right) / 2, row);
    ASSERT_NE(line, QColor(Qt::white));

    const QImage withGoal = drawn(true, layout);
    ASSERT_EQ(scale.yOf(division, layout.plotRect.top, layout.plotRect.bottom), row);
    int lineShown = 0;
    int background = 0;
    for (int x = plot.left + 1; x < plot.right - 1; ++x) {
        lineShown += withGoal.pixelColor(x, row) == line;
        background += withGoal.pixelColor(x, row) == rgb(s.colorBackGround);
    }
    const int width = plot.right - plot.left;
    EXPECT_LT(lineShown, width / 10);
    EXPECT_GT(background, width / 5);
}

TEST(GraphDrawingTest, legendLeavesOutWhatDoesNotFitAndListsTheGoalLine)
{
    CQuilloxDoc doc = barJournal({graphSeriesJogDistance});
    GraphSettings s = doc.graphSettings();
    s.graphWeight = true;
    *graphSettingsOf(doc) = s;
    putDay(doc, d(2026, 3, 1), "", 60, 0, 0, 0, 0, 0);
    putDay(doc, d(2026, 3, 7), "", 61, 0, 10, 0, 0, 0);
    objectiveOf(doc)->weight = 60.5;
    // The legend's row, above the plot (which starts at 32).
    const auto legendPixels = [](const QImage &image, const QColor &colour, int fromX) {
        int count = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = fromX; x < image.width(); ++x)
                count += image.pixelColor(x, y) == colour;
        return count;
    };
    const QColor jog = rgb(s.colorJogDistance);
    const QColor weight = rgb(s.colorWeight);
    const auto drawn = [&doc](int width, bool goal) {
        QImage image(width, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        GraphPeriodState period = week;
        drawGraph(painter, doc, d(2026, 1, 1), period, image.rect(), screenGraphK, false,
                  GraphOverlays{nullptr, goal});
        return image;
    };
    // Too narrow for the jog entry whole: none of it, rather than a cut box.
    EXPECT_EQ(legendPixels(drawn(212, false), jog, 0), 0);
    // Wide enough: the jog entry, then the goal's dashed sample after it.
    const QImage wide = drawn(400, true);
    int jogEnd = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < wide.width(); ++x)
            if (wide.pixelColor(x, y) == jog)
                jogEnd = std::max(jogEnd, x);
    ASSERT_GT(jogEnd, 0);
    EXPECT_GT(legendPixels(wide, weight, jogEnd), 0);
    EXPECT_EQ(legendPixels(drawn(400, false), weight, jogEnd), 0);
}

TEST(GraphDrawingTest, lineTypesGiveTheirWidthsOnScreen)
{
    CQuilloxDoc doc;
    {
        auto settings = graphSettingsOf(doc);
        settings->graphFatPercent = settings->graphJogDistance = settings->graphJogDuration = false;
    }
    putDay(doc, d(2026, 3, 1), "", 61, 0, 0, 0, 0, 0);
    putDay(doc, d(2026, 3, 2), "", 61, 0, 0, 0, 0, 0);
    putDay(doc, d(2026, 3, 6), "", 60, 0, 0, 0, 0, 0);
    const QColor blue = rgb(doc.graphSettings().colorWeight);
    // Half way between the first two points, which lie on one row.
    const int x = 34 + 20;
    for (const auto &[type, width] : {std::pair{0, 1}, std::pair{1, 2}, std::pair{2, 4}}) {
        graphSettingsOf(doc)->weightLineType = type;
        const QImage image = render(doc, QSize(224, 200), d(2026, 1, 1));
        int rows = 0;
        for (int y = 60; y < 140; ++y)
            rows += image.pixelColor(x, y) == blue;
        EXPECT_EQ(rows, width) << "line type " << type;
    }
}

// ---- the pane in the running program ----

class GraphViewTest : public AppTest {
  protected:
    void SetUp() override
    {
        AppTest::SetUp();
        writeJournalFile(path(QStringLiteral("zph0001.txt")), "Taro",
                         "2026/03/01\t60\t20\t5\t1800\t0\t0\t\r\n"
                         "2026/03/04\t61\t21\t0\t0\t3\t1200\t\r\n",
                         "graphNDays = 7\r\n");
        ASSERT_TRUE(startApp());
        graph = app->mainFrame()->graphView();
        ASSERT_NE(graph, nullptr);
        graph->grab(); // a first drawing works out the period
        ASSERT_TRUE(graph->periodValid);
    }

    void click(QPoint at)
    {
        QTest::mouseClick(graph, Qt::LeftButton, Qt::NoModifier, at);
        graph->grab();
    }

    CGraphView *graph = nullptr;
};

TEST_F(GraphViewTest, dateStripClicksSelectTheDayAndButtonsMoveThePeriod)
{
    const Date start = graph->periodStart;
    const int stripY = graph->plotRect.bottom + 4;
    app->context().setSelectedDate(d(2000, 1, 1));
    click(QPoint(graph->plotRect.left, stripY)); // left of the first day's centre
    EXPECT_EQ(app->context().selectedDate(), start);
    click(QPoint(graph->plotRect.right - 1, stripY)); // right of the last day
    EXPECT_EQ(app->context().selectedDate(), graph->periodEnd);
    click(QPoint(graph->plotRect.left + graph->dayWidth * 2 + 1, stripY));
    EXPECT_EQ(app->context().selectedDate(), start + std::chrono::days{2});
    click(QPoint(graph->plotRect.left + graph->dayWidth * 4, graph->plotRect.top + 10));
    EXPECT_EQ(app->context().selectedDate(),
              start + std::chrono::days{2}); // the plot selects nothing

    const PixelRect earlier = graph->prevButtonRect;
    click(QPoint(earlier.left + 2, earlier.top + 2));
    EXPECT_EQ(graph->periodStart, start - std::chrono::days{3});
    EXPECT_EQ(graph->periodDays, 7);
    const PixelRect later = graph->nextButtonRect;
    click(QPoint(later.left + 2, later.top + 2));
    click(QPoint(later.left + 2, later.top + 2));
    EXPECT_EQ(graph->periodStart, start + std::chrono::days{3});
    EXPECT_TRUE(graph->periodValid);
}

TEST_F(GraphViewTest, keysMoveTheDayAndThePeriod)
{
    const Date start = graph->periodStart;
    app->context().setSelectedDate(start + std::chrono::days{2});
    struct KeyCase {
        Qt::Key key;
        Date selected;
        Date periodStart;
    };
    const KeyCase cases[] = {
        {Qt::Key_Right, start + std::chrono::days{3}, start},
        {Qt::Key_Left, start + std::chrono::days{2}, start},
        {Qt::Key_PageUp, start + std::chrono::days{2}, start - std::chrono::days{3}},
        {Qt::Key_PageDown, start + std::chrono::days{2}, start},
    };
    for (const KeyCase &c : cases) {
        QTest::keyClick(graph, c.key);
        EXPECT_EQ(app->context().selectedDate(), c.selected) << c.key;
        EXPECT_EQ(graph->periodStart, c.periodStart) << c.key;
    }
    // The journal's ends, the period following.
    for (const auto &[key, day] :
         {std::pair{Qt::Key_Home, d(2026, 3, 1)}, std::pair{Qt::Key_End, d(2026, 3, 4)}}) {
        QTest::keyClick(graph, key);
        EXPECT_EQ(app->context().selectedDate(), day);
        EXPECT_LE(graph->periodStart, day);
        EXPECT_GE(graph->periodEnd, day);
    }
}

TEST_F(GraphViewTest, popupChecksThePeriodAndItsCommandsRecomputeIt)
{
    std::unique_ptr<QMenu> menu(graph->createContextMenu(nullptr));
    ASSERT_EQ(menu->actions().size(), 4);
    QMenu *periods = menu->actions().at(0)->menu();
    ASSERT_NE(periods, nullptr);
    EXPECT_EQ(menu->actions().at(0)->text(), QStringLiteral("ｸﾞﾗﾌ表示日数(&G)"));
    EXPECT_EQ(menu->actions().at(1)->text(), QStringLiteral("トレンド線(&R)"));
    EXPECT_EQ(menu->actions().at(2)->text(), QStringLiteral("目標線(&L)"));
    EXPECT_EQ(menu->actions().at(3)->text(), QStringLiteral("ｸﾞﾗﾌ設定(&S)..."));
    // The two switches start off and set the options every pane follows.
    EXPECT_FALSE(menu->actions().at(1)->isChecked());
    EXPECT_FALSE(menu->actions().at(2)->isChecked());
    menu->actions().at(2)->trigger();
    EXPECT_EQ(app->context().progressOptions(), (ProgressOptions{false, true}));
    menu.reset(graph->createContextMenu(nullptr));
    EXPECT_TRUE(menu->actions().at(2)->isChecked());
    periods = menu->actions().at(0)->menu();
    QStringList checked;
    for (QAction *item : periods->actions())
        if (item->isChecked())
            checked << item->text();
    EXPECT_EQ(checked, QStringList{QStringLiteral("&1週間分")});

    periods->actions().at(13)->trigger(); // one year
    EXPECT_EQ(app->document().graphSettings().graphNDays, -12);
    EXPECT_FALSE(graph->periodValid);
    graph->grab();
    EXPECT_EQ(graph->periodDays, 365);
    EXPECT_EQ(graph->periodEnd, periodForMonths(12, todayDate()).periodEnd);
}

TEST_F(GraphViewTest, keyboardMenuOpensFiveUnitsIntoThePane)
{
    CGraphView pane(app->context());
    pane.setGeometry(0, 0, 400, 200);
    pane.show();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(-1, -1), QPoint(-1, -1));
    QCoreApplication::sendEvent(&pane, &event);
    QWidget *popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->pos(), pane.mapToGlobal(QPoint(5, 5)));
    popup->close();
}

int pdfPageCount(const QByteArray &pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page\\b(?!s)"));
    return static_cast<int>(QString::fromLatin1(pdf).count(page));
}

TEST_F(GraphViewTest, printsExactlyOnePageAndClearsPrintingActive)
{
    QPrinter &printer = app->printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString file = path(QStringLiteral("graph.pdf"));
    printer.setOutputFileName(file);
    ASSERT_TRUE(graph->isCommandEnabled(PaneCommand::PrintDirect));
    graph->runCommand(PaneCommand::PrintDirect);
    EXPECT_FALSE(app->mainFrame()->printingActive());
    EXPECT_EQ(pdfPageCount(fileBytes(file)), 1);

    // Through the print dialog, confirmed: the same single page.
    QFile::remove(file);
    bool activeInDialog = false;
    answerer.expect([&](QWidget *modal) {
        activeInDialog = app->mainFrame()->printingActive();
        qobject_cast<QDialog *>(modal)->accept();
    });
    graph->runCommand(PaneCommand::Print);
    EXPECT_TRUE(activeInDialog);
    EXPECT_FALSE(app->mainFrame()->printingActive());
    EXPECT_EQ(pdfPageCount(fileBytes(file)), 1);

    // The print dialog cancelled: nothing printed, the flag cleared.
    QFile::remove(file);
    answerer.expectDialogAndReject();
    graph->runCommand(PaneCommand::Print);
    EXPECT_FALSE(app->mainFrame()->printingActive());
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(answerer.unexpected.isEmpty()) << answerer.unexpected.join(u'\n').toStdString();
}

TEST_F(GraphViewTest, previewShowsOnePageWhilePrintingIsActive)
{
    int pages = -1;
    bool activeMeanwhile = false;
    answerer.expect([&](QWidget *modal) {
        auto *preview = qobject_cast<QPrintPreviewDialog *>(modal);
        ASSERT_NE(preview, nullptr);
        auto *widget = preview->findChild<QPrintPreviewWidget *>();
        ASSERT_NE(widget, nullptr);
        pages = widget->pageCount();
        activeMeanwhile = app->mainFrame()->printingActive();
        preview->reject();
    });
    graph->runCommand(PaneCommand::PrintPreview);
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(activeMeanwhile);
    EXPECT_FALSE(app->mainFrame()->printingActive());
}

// The PDF without its creation time, which is all two prints of one page differ in.
QByteArray printedFrom(CPaneView *pane, QPrinter &printer, const QString &file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    pane->runCommand(PaneCommand::PrintDirect);
    static const QRegularExpression creationDate(QStringLiteral("/CreationDate \\([^)]*\\)"));
    QFile in(file);
    return in.open(QIODevice::ReadOnly)
               ? QString::fromLatin1(in.readAll()).remove(creationDate).toLatin1()
               : QByteArray();
}

TEST_F(GraphViewTest, theListPrintsTheGraphPage)
{
    CQuilloxView *list = app->mainFrame()->listView();
    for (PaneCommand c : {PaneCommand::Print, PaneCommand::PrintDirect, PaneCommand::PrintPreview})
        EXPECT_TRUE(list->isCommandEnabled(c));

    // Printed from the list before the graph has drawn its period.
    graph->invalidatePeriod();
    const QByteArray fromList = printedFrom(list, app->printer(), path(QStringLiteral("list.pdf")));
    EXPECT_FALSE(app->mainFrame()->printingActive());
    const QByteArray fromGraph =
        printedFrom(graph, app->printer(), path(QStringLiteral("graph.pdf")));
    ASSERT_FALSE(fromGraph.isEmpty());
    EXPECT_EQ(fromList, fromGraph);

    int pages = -1;
    bool activeMeanwhile = false;
    answerer.expect([&](QWidget *modal) {
        auto *preview = qobject_cast<QPrintPreviewDialog *>(modal);
        ASSERT_NE(preview, nullptr);
        pages = preview->findChild<QPrintPreviewWidget *>()->pageCount();
        activeMeanwhile = app->mainFrame()->printingActive();
        preview->reject();
    });
    list->runCommand(PaneCommand::PrintPreview);
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(activeMeanwhile);
    EXPECT_FALSE(app->mainFrame()->printingActive());
    EXPECT_TRUE(answerer.unexpected.isEmpty()) << answerer.unexpected.join(u'\n').toStdString();
}

} // namespace

ZPH_APP_TEST_MAIN
