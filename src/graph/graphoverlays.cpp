#include "graph/graphoverlays.h"

#include "graph/graphcolour.h"
#include "graph/graphtexts.h"
#include "journal/cquilloxdoc.h"
#include "trend/trend.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <QString>

#include <algorithm>
#include <cmath>

namespace {

// Half the series' colour and half the plot's, so that the trend reads as
// the series' own line but stays behind its points.
QColor halfWithBackground(Colour series, Colour background)
{
    const QColor a = toQColor(series);
    const QColor b = toQColor(background);
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}

// 2 pixels on a screen (u = 8 at 96 dpi), as thick on paper.
int trendPenWidth(const GraphUnits &units)
{
    return std::max(1, units.u / 4);
}

// A dash of eight widths, then a gap of four: long enough that the gaps
// still show when a printed page is looked at scaled down, where shorter
// ones ran together into what looked like a solid division line.
constexpr int goalDash = 8;
constexpr int goalDashPeriod = 12;

// Gap between the goal line and its mark.
constexpr int goalMarkGap = 2;

void drawTrend(QPainter &p, const SeriesTrend &trend, const OverlayFrame &frame,
               const AxisScale &scale, const QColor &colour)
{
    if (scale.max == 0)
        return;
    const std::vector<TrendPoint> &points = trend.points();
    const GraphPeriodState &period = frame.period;
    const auto first =
        std::lower_bound(points.begin(), points.end(), period.periodStart,
                         [](const TrendPoint &point, Date day) { return point.date < day; });
    QPolygon line;
    for (auto it = first; it != points.end() && it->date <= period.periodEnd; ++it)
        line.append(
            QPoint(dayCentre(frame.days, dayIndexOf(period, it->date)),
                   scale.yOf(it->trend / scale.divisor, frame.plot.top, frame.plot.bottom)));
    if (line.size() < 2)
        return;
    // As rows of one-device-pixel lines stacked to the width: a wide pen
    // through a year of points costs more than the rest of the repaint, on a
    // scaled screen several times as much. The trend runs mostly level, so
    // the stack reads as the wide line it stands for.
    const qreal ratio = p.device()->devicePixelRatioF();
    const int rows = std::max(1, static_cast<int>(std::lround(trendPenWidth(frame.units) * ratio)));
    QPen pen(colour, 0);
    pen.setCosmetic(true);
    p.setPen(pen);
    for (int row = 0; row < rows; ++row) {
        p.save();
        p.translate(0.5 / ratio, (row - rows / 2 + 0.5) / ratio);
        p.drawPolyline(line);
        p.restore();
    }
}

void drawGoal(QPainter &p, double target, const OverlayFrame &frame, const AxisScale &scale,
              const QColor &colour, const QColor &background)
{
    const PixelRect &plot = frame.plot;
    const int y = scale.yOf(target / scale.divisor, plot.top, plot.bottom);
    const int width = goalPenWidth(frame.units);
    // The target often lies on a division: gaps left open showed the solid
    // division line through them, and a scaled-down page (the print
    // preview's fitted page) read the two as one solid line.
    fillGoalDashes(p, plot.left, plot.right, y - width / 2, width, colour, background);
}

} // namespace

int goalPenWidth(const GraphUnits &units)
{
    // As thick as the trend, so that it stands out from a division line it
    // may lie on.
    return trendPenWidth(units);
}

void fillGoalDashes(QPainter &painter, int left, int right, int top, int width,
                    const QColor &colour, const QColor &gaps)
{
    // Dashes filled one by one, as a flat-capped dashed pen of that width
    // would cover them: a wide dashed pen costs several milliseconds across
    // a scaled screen's plot.
    for (int x = left; x < right; x += goalDashPeriod * width) {
        const int dash = std::min(goalDash * width, right - x);
        painter.fillRect(x, top, dash, width, colour);
        if (gaps.isValid() && x + dash < right)
            painter.fillRect(x + dash, top,
                             std::min((goalDashPeriod - goalDash) * width, right - x - dash), width,
                             gaps);
    }
}

QColor trendColour(const GraphSettings &settings, int series)
{
    return halfWithBackground(series == graphSeriesWeight ? settings.colorWeight
                                                          : settings.colorFatPercent,
                              settings.colorBackGround);
}

bool trendLinesDrawn(const CQuilloxDoc &doc, const GraphOverlays &overlays)
{
    const GraphSettings &settings = doc.graphSettings();
    return overlays.trends && (isSeriesShown(settings, graphSeriesWeight) ||
                               isSeriesShown(settings, graphSeriesFatPercent));
}

bool goalLineDrawn(const CQuilloxDoc &doc, const GraphOverlays &overlays,
                   const AxisScale &weightScale)
{
    // Only where the weight scale can be read: the weight shown, or on the
    // main axis.
    const GraphSettings &settings = doc.graphSettings();
    return goalWeight(doc, overlays) && !weightScale.isEmpty() &&
           (isSeriesShown(settings, graphSeriesWeight) || settings.yAxisMain == graphSeriesWeight);
}

void drawGoalMark(QPainter &painter, const CQuilloxDoc &doc, const GraphOverlays &overlays,
                  const OverlayFrame &frame, const AxisScale &weightScale)
{
    if (!goalLineDrawn(doc, overlays, weightScale))
        return;
    const PixelRect &plot = frame.plot;
    const int y =
        weightScale.yOf(*goalWeight(doc, overlays) / weightScale.divisor, plot.top, plot.bottom);
    // Above the line at its right end, or below it where the plot's top
    // leaves no room.
    const QString mark = QString::fromUtf8(graphtext::goalMark);
    const QFontMetrics metrics(painter.font(), painter.device());
    const int height = metrics.height();
    const int left = plot.right - metrics.horizontalAdvance(mark) - frame.units.tickLength;
    int top = y - goalMarkGap - height;
    if (top < plot.top)
        top = y + goalMarkGap;
    const int baseline = top + metrics.ascent();
    painter.save();
    // A one-pixel rim in the background colour keeps it readable on a bar.
    painter.setPen(toQColor(doc.graphSettings().colorBackGround));
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (dx != 0 || dy != 0)
                painter.drawText(left + dx, baseline + dy, mark);
        }
    }
    painter.setPen(Qt::black);
    painter.drawText(left, baseline, mark);
    painter.restore();
}

std::optional<double> goalWeight(const CQuilloxDoc &doc, const GraphOverlays &overlays)
{
    if (!overlays.goalLine || doc.objective().weight == 0)
        return std::nullopt;
    return doc.objective().weight;
}

void drawGraphOverlays(QPainter &painter, const CQuilloxDoc &doc, const GraphOverlays &overlays,
                       const OverlayFrame &frame, const AxisScale &weightScale,
                       const AxisScale &fatScale)
{
    const GraphSettings &settings = doc.graphSettings();
    const std::optional<double> goal = goalWeight(doc, overlays);
    if (!overlays.trends && !goal)
        return;
    painter.save();
    painter.setBrush(Qt::NoBrush);
    if (overlays.trends) {
        // Not antialiased: a year of it would cost more than the rest of the
        // repaint, and the line is smooth by what it draws.
        if (isSeriesShown(settings, graphSeriesFatPercent))
            drawTrend(painter, overlays.trends->fatPercent, frame, fatScale,
                      trendColour(settings, graphSeriesFatPercent));
        if (isSeriesShown(settings, graphSeriesWeight))
            drawTrend(painter, overlays.trends->weight, frame, weightScale,
                      trendColour(settings, graphSeriesWeight));
    }
    if (goalLineDrawn(doc, overlays, weightScale))
        drawGoal(painter, *goal, frame, weightScale, toQColor(settings.colorWeight),
                 toQColor(settings.colorBackGround));
    painter.restore();
}
