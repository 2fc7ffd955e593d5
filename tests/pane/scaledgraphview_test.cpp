// The graph at every size: sharp on a scaled screen, labels that never run
// into each other, and long periods that still fill a narrow pane.

#include "docsetup.h"
#include "graph/cgraphview.h"
#include "graph/graphrenderer.h"
#include "journal/cquilloxdoc.h"
#include "pane/journalcontext.h"
#include "panetestsupport.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace {

Date d(int y, int m, int day)
{
    return makeDate(y, m, day);
}

QColor rgb(Colour c)
{
    return QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff);
}

// Draws doc as the pane does on a 96-dpi screen of the given logical size and
// device pixel ratio, or as on a 300-dpi page.
QImage render(const CQuilloxDoc &doc, const GraphPeriodState &period, QSize size, qreal ratio,
              Date selected, GraphLayout *layout = nullptr, bool printing = false)
{
    QImage image(size * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    if (printing) {
        constexpr int pageDotsPerMetre = 11811; // 300 dpi
        image.setDotsPerMeterX(pageDotsPerMetre);
        image.setDotsPerMeterY(pageDotsPerMetre);
    }
    image.fill(Qt::white);
    QPainter painter(&image);
    const GraphLayout drawn = drawGraph(painter, doc, selected, period, QRect(QPoint(), size),
                                        printing ? paperGraphK : screenGraphK, printing);
    if (layout)
        *layout = drawn;
    return image;
}

// The smallest rectangle holding every pixel of `area` that is not white.
QRect inkIn(const QImage &image, const QRect &area)
{
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::white))
                ink |= QRect(x, y, 1, 1);
    return ink;
}

TEST(ScaledGraph, atRatioTwoLinesBarsAndLabelsCoverTheirLogicalPixels)
{
    CQuilloxDoc doc;
    GraphSettings s = doc.graphSettings();
    s.graphWeight = s.graphFatPercent = s.graphJogDuration = false;
    s.jogDistType = 0;
    s.colorJogDistance = 0x0000ff;
    *graphSettingsOf(doc) = s;
    putDay(doc, d(2026, 3, 4), "", 0, 0, 10, 0, 0, 0);
    const GraphPeriodState week{true, 7, d(2026, 3, 1), d(2026, 3, 7)};
    GraphLayout layout;
    const QImage sharp = render(doc, week, QSize(224, 200), 2, d(2026, 1, 1), &layout);
    ASSERT_EQ(sharp.size(), QSize(448, 400));
    // The same layout as at ratio 1: 20 pixels a day, the plot from 34 to 190.
    ASSERT_EQ(layout.dayWidth, 20);
    ASSERT_EQ(layout.plotRect, (PixelRect{34, 32, 190, 167}));
    const QColor black(Qt::black);
    const QColor white(Qt::white);

    // The baseline (row 167) between two ticks: two device rows.
    const int between = 2 * (34 + 20 + 3);
    EXPECT_EQ(sharp.pixelColor(between, 333), white);
    EXPECT_EQ(sharp.pixelColor(between, 334), black);
    EXPECT_EQ(sharp.pixelColor(between, 335), black);
    EXPECT_EQ(sharp.pixelColor(between, 336), white);
    // The plot's left edge (column 34): two device columns.
    EXPECT_EQ(sharp.pixelColor(67, 200), white);
    EXPECT_EQ(sharp.pixelColor(68, 200), black);
    EXPECT_EQ(sharp.pixelColor(69, 200), black);
    EXPECT_EQ(sharp.pixelColor(70, 200), white);

    // The bar of day 3 (centre 104) spans logical 96 to 111.
    const QColor bar = rgb(s.colorJogDistance);
    for (int x = 2 * 96; x < 2 * 112; ++x)
        ASSERT_EQ(sharp.pixelColor(x, 300), bar) << x;
    EXPECT_NE(sharp.pixelColor(2 * 96 - 1, 300), bar);
    EXPECT_NE(sharp.pixelColor(2 * 112, 300), bar);

    // The day number "4" under day 3 stands where it stands at ratio 1, and
    // is drawn from the font at twice the size, not enlarged.
    const QImage plain = render(doc, week, QSize(224, 200), 1, d(2026, 1, 1));
    const QRect labelArea(104 - 9, 168, 18, 16);
    const QRect ink1 = inkIn(plain, labelArea);
    const QRect ink2 = inkIn(sharp, QRect(labelArea.topLeft() * 2, labelArea.size() * 2));
    ASSERT_FALSE(ink1.isEmpty());
    EXPECT_LE(std::abs(ink2.left() - 2 * ink1.left()), 2);
    EXPECT_LE(std::abs(ink2.right() - (2 * ink1.right() + 1)), 2);
    EXPECT_LE(std::abs(ink2.top() - 2 * ink1.top()), 2);
    EXPECT_LE(std::abs(ink2.bottom() - (2 * ink1.bottom() + 1)), 2);
    const QImage enlarged = plain.copy(labelArea).scaled(labelArea.size() * 2);
    int differing = 0;
    for (int y = 0; y < enlarged.height(); ++y)
        for (int x = 0; x < enlarged.width(); ++x)
            differing += enlarged.pixelColor(x, y) !=
                         sharp.pixelColor(2 * labelArea.left() + x, 2 * labelArea.top() + y);
    EXPECT_GT(differing, 0);
}

// Every series shown, over a journal of daily entries.
CQuilloxDoc fullJournal(Date first, Date last)
{
    CQuilloxDoc doc;
    GraphSettings s = doc.graphSettings();
    s.graphWeight = s.graphFatPercent = s.graphFat = s.graphNotFat = true;
    s.graphJogDistance = s.graphJogDuration = s.graphWalkDistance = s.graphWalkDuration = true;
    *graphSettingsOf(doc) = s;
    int i = 0;
    for (Date day = first; day <= last; day += std::chrono::days{1}, ++i)
        putDay(doc, day, "", 58 + (i % 9), 18 + (i % 7), 3 + i % 5, 1200 + 60 * (i % 20), 2,
               900 + 30 * (i % 10));
    return doc;
}

bool intersect(const PixelRect &a, const PixelRect &b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(ScaledGraph, noTwoLabelsOfAKindIntersectInCrowdedPanes)
{
    const Date today = d(2026, 12, 4);
    const CQuilloxDoc doc = fullJournal(d(2025, 1, 1), today);
    const GraphPeriodState tenWeeks = periodForGraphNDays(doc, 70, today);
    const GraphPeriodState quarter = periodForMonths(3, today);
    const struct {
        const char *what;
        GraphPeriodState period;
        QSize size;
        bool printing;
        qreal ratio;
    } cases[] = {
        {"ten weeks, 16 pixels a day", tenWeeks, QSize(1340, 400), false, 1},
        {"ten weeks, 12 pixels a day", tenWeeks, QSize(1060, 400), false, 2},
        {"a pane 150 pixels high", tenWeeks, QSize(1200, 150), false, 1},
        {"a pane 150 pixels high at ratio 1.5", quarter, QSize(1000, 150), false, 1.5},
        {"three months in a narrow pane", quarter, QSize(600, 300), false, 1},
        {"three months on paper", quarter, QSize(2000, 1400), true, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        GraphLayout layout;
        render(doc, c.period, c.size, c.ratio, today, &layout, c.printing);
        int dayLabels = 0;
        for (std::size_t i = 0; i < layout.labels.size(); ++i) {
            const DrawnLabel &a = layout.labels[i];
            dayLabels += a.kind == LabelKind::day;
            for (std::size_t j = i + 1; j < layout.labels.size(); ++j) {
                const DrawnLabel &b = layout.labels[j];
                if (a.kind == b.kind) {
                    EXPECT_FALSE(intersect(a.box, b.box)) << i << " and " << j;
                }
            }
        }
        // Crowded, but not empty.
        EXPECT_GT(dayLabels, 10);
        EXPECT_LT(dayLabels, c.period.periodDays);
    }

    // Where there is room, every day has its number, as ever.
    GraphLayout wide;
    render(doc, tenWeeks, QSize(1920, 400), 1, today, &wide);
    EXPECT_EQ(std::count_if(wide.labels.begin(), wide.labels.end(),
                            [](const DrawnLabel &l) { return l.kind == LabelKind::day; }),
              70);
}

TEST(ScaledGraph, aYearInANarrowPaneFillsThePlotAndClicksFindTheDays)
{
    // The pane works out its period from the real today.
    const Date today = todayDate();
    CQuilloxDoc doc;
    GraphSettings s = doc.graphSettings();
    s.graphFatPercent = s.graphJogDistance = s.graphJogDuration = false;
    *graphSettingsOf(doc) = s;
    doc.setGraphPeriod(-12);
    const GraphPeriodState year = periodForMonths(12, today);
    putDay(doc, year.periodStart, "", 60, 0, 0, 0, 0, 0);
    putDay(doc, year.periodEnd, "", 62, 0, 0, 0, 0, 0);

    GraphLayout layout;
    const QImage image = render(doc, year, QSize(300, 200), 1, today, &layout);
    const PixelRect plot = layout.plotRect;
    ASSERT_EQ(plot.right - plot.left, 232);
    EXPECT_EQ(dayCentre(layout.dayAxis, 0), plot.left);
    EXPECT_EQ(dayCentre(layout.dayAxis, year.periodDays - 1), plot.right - 1);
    // The two points, radius 3, are drawn round those two columns.
    const QColor weight = rgb(s.colorWeight);
    const auto pointInColumn = [&](int x) {
        for (int y = plot.top; y < plot.bottom; ++y)
            if (image.pixelColor(x, y) == weight)
                return true;
        return false;
    };
    EXPECT_TRUE(pointInColumn(plot.left - 3));
    EXPECT_TRUE(pointInColumn(plot.right + 2));

    // The pane: a click in the date strip picks the day drawn there.
    JournalContext context(doc, today);
    CGraphView pane(context);
    pane.resize(300, 200);
    pane.grab();
    ASSERT_TRUE(pane.periodValid);
    const int strip = pane.plotRect.bottom + 4;
    for (const int day : {0, 100, 200, year.periodDays - 1}) {
        const int x = dayCentre(pane.dayAxis, day);
        QTest::mouseClick(&pane, Qt::LeftButton, Qt::NoModifier, QPoint(x, strip));
        const int picked = dayIndexOf(pane, context.selectedDate());
        EXPECT_EQ(dayCentre(pane.dayAxis, picked), x) << day;
    }
    QTest::mouseClick(&pane, Qt::LeftButton, Qt::NoModifier,
                      QPoint(pane.plotRect.right - 1, strip));
    EXPECT_EQ(context.selectedDate(), year.periodEnd);
}

} // namespace

ZPH_APP_TEST_MAIN
