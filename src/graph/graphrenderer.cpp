#include "graph/graphrenderer.h"

#include "graph/graphscales.h"
#include "graph/graphtexts.h"
#include "journal/cquilloxdoc.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>
#include <QRect>
#include <QString>

#include <algorithm>
#include <cmath>
#include <vector>

// The geometry is stated the way the journal's graph has always been drawn:
// a line leaves its end point unpainted, a rectangle's outline runs from its
// left to right - 1, and pens of width 0 or 1 are one device pixel wide. The
// helpers below reproduce those pixels with QPainter (antialiasing off).

namespace {

const char *const graphFace = "ＭＳ ゴシック";

// Dash patterns of one-pixel pens, in pixels on and off, as the journal's
// screen and printouts show them.
const QList<qreal> dashPattern{18, 6};
const QList<qreal> dotPattern{3, 3};
const QList<qreal> dashDotPattern{9, 6, 3, 6};
const QList<qreal> dashDotDotPattern{9, 3, 3, 3, 3, 3};

enum LineType {
    thinLine,
    mediumLine,
    thickLine,
    dashedLine,
    dottedLine,
    dashDotLine,
    dashDotDotLine
};
enum BarType { plainBar, outlinedBar, gradientBar };

// Length of a day tick, up from the baseline.
constexpr int dayTickLength = 8;
// Half the room a day label keeps free around its centre.
constexpr int dayLabelHalfRoom = 6;
// Gap between the baseline and the top of the day labels.
constexpr int dayLabelGap = 2;
// Nudge of a month label to the right of its centred position.
constexpr int monthLabelNudge = 2;

const QColor sundayColour(255, 0, 0);
const QColor saturdayColour(0, 0, 255);

QColor toQColor(Colour c)
{
    return QColor(static_cast<int>(c & 0xff), static_cast<int>((c >> 8) & 0xff),
                  static_cast<int>((c >> 16) & 0xff));
}

QPen onePixelPen(const QColor &colour)
{
    return QPen(colour, 0);
}

QPen patternPen(const QColor &colour, const QList<qreal> &pattern)
{
    QPen pen(colour, 0);
    pen.setCapStyle(Qt::FlatCap);
    pen.setDashPattern(pattern);
    return pen;
}

// Wide pens end and join round.
QPen widePen(const QColor &colour, int width)
{
    if (width <= 1)
        return onePixelPen(colour);
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPen linePen(int lineType, const QColor &colour, int u)
{
    switch (lineType) {
    case mediumLine:
        return widePen(colour, 2 * u / 7);
    case thickLine:
        return widePen(colour, 4 * u / 7);
    case dashedLine:
        return patternPen(colour, dashPattern);
    case dottedLine:
        return patternPen(colour, dotPattern);
    case dashDotLine:
        return patternPen(colour, dashDotPattern);
    case dashDotDotLine:
        return patternPen(colour, dashDotDotPattern);
    default:
        return onePixelPen(colour); // thin, and types an edited file invented
    }
}

// A line from (x1, y1) towards (x2, y2), the end point itself left out.
void drawLineTo(QPainter &p, int x1, int y1, int x2, int y2)
{
    if (x1 == x2 && y1 == y2)
        return;
    if (x1 == x2)
        y2 += y2 > y1 ? -1 : 1;
    else if (y1 == y2)
        x2 += x2 > x1 ? -1 : 1;
    p.drawLine(x1, y1, x2, y2);
}

// Outline from left to right - 1 and top to bottom - 1 in the pen, the inside
// in the brush.
void drawOutlined(QPainter &p, int left, int top, int right, int bottom)
{
    if (right - left < 1 || bottom - top < 1)
        return;
    p.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

// The same pixels as drawOutlined with the default pen and a solid brush,
// by two fills, which cost a fraction of an outlined rectangle.
void fillOutlined(QPainter &p, const QRect &area, const QColor &fill)
{
    p.fillRect(area, Qt::black);
    if (area.width() > 2 && area.height() > 2)
        p.fillRect(area.adjusted(1, 1, -1, -1), fill);
}

// The ellipse inside left..right - 1, top..bottom - 1.
void drawEllipseIn(QPainter &p, int left, int top, int right, int bottom)
{
    p.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
}

// A vertical gradient, one exact colour per row: from `from` on the top row
// towards `to` at the bottom edge, in 16-bit steps.
void fillVerticalGradient(QPainter &p, const QRect &area, const QColor &from, const QColor &to)
{
    const int height = area.height();
    if (height <= 0 || area.width() <= 0)
        return;
    QImage bar(area.width(), height, QImage::Format_RGB32);
    const auto channel = [height](int a, int b, int row) {
        const int from16 = a << 8;
        const int to16 = b << 8;
        return (from16 + (to16 - from16) * static_cast<long long>(row) / height) >> 8;
    };
    for (int row = 0; row < height; ++row) {
        const QRgb colour = qRgb(static_cast<int>(channel(from.red(), to.red(), row)),
                                 static_cast<int>(channel(from.green(), to.green(), row)),
                                 static_cast<int>(channel(from.blue(), to.blue(), row)));
        std::fill_n(reinterpret_cast<QRgb *>(bar.scanLine(row)), area.width(), colour);
    }
    p.drawImage(area.topLeft(), bar);
}

// Calls visit(v) for v = min, min + step, ... while v <= max, by repeated
// addition as the labels have always been placed. Stops when the step no
// longer moves v (huge values from an edited journal).
template <typename Visit> void forEachDivision(const AxisScale &scale, double step, Visit visit)
{
    constexpr int maxDivisions = 10000;
    if (!(step > 0))
        return;
    double v = scale.min;
    for (int i = 0; i < maxDivisions && v <= scale.max; ++i) {
        visit(v);
        const double next = v + step;
        if (next == v)
            break;
        v = next;
    }
}

QString formatG(double v)
{
    return QString::asprintf("%g", v);
}

class GraphPainter {
  public:
    GraphPainter(QPainter &p, const CQuilloxDoc &doc, const GraphUnits &units, bool printing)
        : p_(p), doc_(doc), settings_(doc.graphSettings), units_(units), printing_(printing),
          metrics_(p.font(), p.device())
    {
    }

    GraphLayout draw(const PixelRect &rect, Date selectedDate, const GraphPeriodState &period,
                     const GraphOverlays &overlays);

  private:
    int textWidth(const QString &text) const { return metrics_.horizontalAdvance(text); }
    void drawText(int left, int top, const QString &text, const QColor &colour = Qt::black);

    void drawDateStrip();
    void drawMonthLabel(int from, int to, int year, int month);
    void drawMainAxis(const AxisScale &scale, const QColor &colour, const QString &unit);
    void drawSecondaryAxis(const AxisScale &scale, const QString &unit, int x);
    void drawUnitText(const AxisScale &scale, const QString &unit, int left);
    void drawAllBars();
    void drawBars(int series, const AxisScale &scale, int width, int offset);
    void drawLine(int series, const AxisScale &scale);
    void drawLegend();
    void drawLegendItem(int series, int &x, int y);
    void drawSelectedDayMarker(Date selectedDate);
    NavigationButtons drawNavigationButtons(const PixelRect &clientRect);

    int y(const AxisScale &scale, double v) const { return scale.yOf(v, T, B); }
    int centreOf(Date date) const { return dayCentre(plot_, dayWidth_, dayIndexOf(period_, date)); }

    template <typename Visit> void forEachRecord(Visit visit) const
    {
        const CQuilloxDoc::DayList &days = doc_.dayList();
        for (auto it = days.lower_bound(period_.periodStart);
             it != days.end() && it->first <= period_.periodEnd; ++it)
            visit(it->second);
    }

    QPainter &p_;
    const CQuilloxDoc &doc_;
    const GraphSettings &settings_;
    const GraphUnits units_;
    const bool printing_;
    const QFontMetrics metrics_;
    PixelRect plot_;
    int L = 0, T = 0, R = 0, B = 0;
    int dayWidth_ = 0;
    GraphPeriodState period_;
    std::array<AxisScale, graphSeriesCount> scales_{};
    QPen defaultPen_ = onePixelPen(Qt::black);
};

void GraphPainter::drawText(int left, int top, const QString &text, const QColor &colour)
{
    p_.setPen(colour);
    p_.drawText(left, top + metrics_.ascent(), text);
}

GraphLayout GraphPainter::draw(const PixelRect &rect, Date selectedDate,
                               const GraphPeriodState &period, const GraphOverlays &overlays)
{
    GraphLayout layout;
    const std::vector<int> secondary = secondaryAxisSeries(settings_);
    plot_ =
        plotRectFor(rect, units_, std::max<int>(1, static_cast<int>(secondary.size())), printing_);
    L = plot_.left;
    T = plot_.top;
    R = plot_.right;
    B = plot_.bottom;
    const int H = units_.textHeight;

    // The plot and, below it, the date strip.
    p_.setPen(defaultPen_);
    p_.setBrush(toQColor(settings_.colorBackGround));
    drawOutlined(p_, L, T, R + 1, B + 2 * H);
    B -= 1;
    plot_.bottom = B;
    layout.plotRect = plot_;
    if (doc_.dayList().empty() || !period.periodValid)
        return layout;

    period_ = period;
    dayWidth_ = dayWidthFor(plot_, period_.periodDays);
    layout.dayWidth = dayWidth_;

    drawDateStrip();

    scales_ = fitSeriesScales(doc_, period_.periodStart, period_.periodEnd, printing_,
                              goalWeight(doc_, overlays));
    if (settings_.yAxisMain >= 0 && settings_.yAxisMain < graphSeriesCount)
        drawMainAxis(scales_[settings_.yAxisMain], toQColor(settings_.colorDivision),
                     QString::fromUtf8(graphtext::units[settings_.yAxisMain]));
    int x = R;
    for (int series : secondary) {
        drawSecondaryAxis(scales_[series], QString::fromUtf8(graphtext::units[series]), x);
        x += units_.axisWidth;
    }

    drawGraphOverlays(p_, doc_, overlays, {plot_, dayWidth_, period_, units_},
                      scales_[graphSeriesWeight], scales_[graphSeriesFatPercent]);
    drawAllBars();
    // Weight is drawn last so that it lies on top.
    for (int series : {graphSeriesNotFat, graphSeriesFat, graphSeriesFatPercent, graphSeriesWeight})
        if (isSeriesShown(settings_, series))
            drawLine(series, scales_[series]);
    drawLegend();

    if (!printing_) {
        drawSelectedDayMarker(selectedDate);
        const NavigationButtons buttons = drawNavigationButtons(rect);
        layout.prevButtonRect = buttons.earlier;
        layout.nextButtonRect = buttons.later;
    }

    p_.setPen(defaultPen_);
    drawLineTo(p_, L, B, R, B);
    return layout;
}

void GraphPainter::drawDateStrip()
{
    const int H = units_.textHeight;
    const bool dayLabels = normalisedGraphNDays(settings_.graphNDays) > -6;
    int previousMonth = 0;
    int year = 0;
    int segmentStart = L;
    int lastLabelEnd = L;

    std::vector<QLine> ticks;
    ticks.reserve(static_cast<std::size_t>(period_.periodDays) + 12);
    struct Label {
        int x;
        int top;
        QString text;
        QColor colour;
    };
    std::vector<Label> labels;
    for (int i = 0; i < period_.periodDays; ++i) {
        const Date d = period_.periodStart + std::chrono::days{i};
        const std::chrono::year_month_day ymd{d};
        const int month = static_cast<int>(static_cast<unsigned>(ymd.month()));
        const int x = dayCentre(plot_, dayWidth_, i);
        if (month != previousMonth) {
            const int xm = x - dayWidth_ / 2;
            if (i > 0) {
                ticks.emplace_back(xm, B, xm, B + 2 * H - 1);
                drawMonthLabel(segmentStart, xm, year, previousMonth);
            }
            previousMonth = month;
            year = static_cast<int>(ymd.year());
            segmentStart = xm;
        }
        ticks.emplace_back(x, B, x, B - dayTickLength + 1);
        if (dayLabels && x - dayLabelHalfRoom > lastLabelEnd) {
            const QString text = QString::number(static_cast<unsigned>(ymd.day()));
            const std::chrono::weekday weekday{d};
            const QColor colour = weekday == std::chrono::Sunday     ? sundayColour
                                  : weekday == std::chrono::Saturday ? saturdayColour
                                                                     : QColor(Qt::black);
            labels.push_back({x - textWidth(text) / 2, B + dayLabelGap, text, colour});
            lastLabelEnd = x + dayLabelHalfRoom;
        }
    }
    drawMonthLabel(segmentStart, L + period_.periodDays * dayWidth_ + dayWidth_ / 2, year,
                   previousMonth);

    p_.setPen(defaultPen_);
    p_.drawLines(ticks.data(), static_cast<int>(ticks.size()));
    for (const Label &label : labels)
        drawText(label.x, label.top, label.text, label.colour);
}

void GraphPainter::drawMonthLabel(int from, int to, int year, int month)
{
    // The long form where it fits, else the short one, else nothing.
    const QString texts[] = {QString::asprintf(graphtext::monthLabelLong, year, month),
                             QString::asprintf(graphtext::monthLabelShort, month)};
    for (const QString &text : texts) {
        const int width = textWidth(text);
        if (to - from > width) {
            drawText((from + to - width) / 2 + monthLabelNudge, B + units_.textHeight, text);
            return;
        }
    }
}

void GraphPainter::drawMainAxis(const AxisScale &scale, const QColor &colour, const QString &unit)
{
    if (scale.isEmpty())
        return;
    const int t = units_.tickLength;
    std::vector<QLine> lines;
    forEachDivision(scale, scale.subStep,
                    [&](double v) { lines.emplace_back(L, y(scale, v), R - 1, y(scale, v)); });
    p_.setPen(patternPen(colour, dotPattern));
    p_.drawLines(lines.data(), static_cast<int>(lines.size()));

    lines.clear();
    std::vector<std::pair<double, int>> labelRows;
    forEachDivision(scale, scale.step, [&](double v) {
        lines.emplace_back(L, y(scale, v), R - 1, y(scale, v));
        labelRows.emplace_back(v, y(scale, v));
    });
    p_.setPen(onePixelPen(colour));
    p_.drawLines(lines.data(), static_cast<int>(lines.size()));
    int topLabelLeft = L - t;
    for (const auto &[v, row] : labelRows) {
        const QString label = formatG(v);
        topLabelLeft = L - textWidth(label) - t;
        drawText(topLabelLeft, row - units_.u, label);
    }
    drawUnitText(scale, unit, topLabelLeft);
}

void GraphPainter::drawSecondaryAxis(const AxisScale &scale, const QString &unit, int x)
{
    const int t = units_.tickLength;
    p_.setPen(defaultPen_);
    drawLineTo(p_, x, B, x, T);
    if (scale.isEmpty())
        return;
    std::vector<QLine> ticks;
    std::vector<std::pair<double, int>> labelRows;
    forEachDivision(scale, scale.step, [&](double v) {
        ticks.emplace_back(x, y(scale, v), x + t - 1, y(scale, v));
        labelRows.emplace_back(v, y(scale, v));
    });
    if (t > 0)
        p_.drawLines(ticks.data(), static_cast<int>(ticks.size()));
    for (const auto &[v, row] : labelRows)
        drawText(x + t, row - units_.u, formatG(v));
    drawUnitText(scale, unit, x + 2 * t);
}

// Just below the topmost label.
void GraphPainter::drawUnitText(const AxisScale &scale, const QString &unit, int left)
{
    double top = scale.min;
    forEachDivision(scale, scale.step, [&](double v) { top = v; });
    drawText(left, y(scale, top) - units_.u + units_.textHeight, unit);
}

void GraphPainter::drawAllBars()
{
    std::vector<int> shown;
    for (int series = graphSeriesJogDistance; series <= graphSeriesWalkDuration; ++series)
        if (isSeriesShown(settings_, series))
            shown.push_back(series);
    const BarPlacement placement = barPlacement(dayWidth_, static_cast<int>(shown.size()));
    for (std::size_t i = 0; i < shown.size(); ++i)
        drawBars(shown[i], scales_[shown[i]], placement.width, placement.offsets[i]);
}

void GraphPainter::drawBars(int series, const AxisScale &scale, int width, int offset)
{
    const int barType = seriesDrawType(settings_, series);
    if (scale.max == 0 || (barType != plainBar && barType != outlinedBar && barType != gradientBar))
        return;
    const int journalIndex = seriesJournalIndex(series);
    const QColor colour = toQColor(seriesColour(settings_, series));
    const QColor background = toQColor(settings_.colorBackGround);
    forEachRecord([&](const DayRecord &record) {
        const double v = CQuilloxDoc::seriesValue(record, journalIndex);
        if (v == 0)
            return;
        const int left = centreOf(record.date) + offset;
        int top = y(scale, v / scale.divisor);
        int bottom = B + 1;
        if (top > bottom)
            std::swap(top, bottom);
        switch (barType) {
        case plainBar:
            p_.fillRect(QRect(left, top, width, bottom - top), colour);
            break;
        case outlinedBar:
            fillOutlined(p_, QRect(left, top, width, bottom - top), colour);
            break;
        default:
            fillVerticalGradient(p_, QRect(left, top, width, bottom - top), colour, background);
            break;
        }
    });
}

void GraphPainter::drawLine(int series, const AxisScale &scale)
{
    if (scale.max == 0)
        return;
    const int journalIndex = seriesJournalIndex(series);
    const QColor colour = toQColor(seriesColour(settings_, series));
    QPolygon points;
    forEachRecord([&](const DayRecord &record) {
        const double v = CQuilloxDoc::seriesValue(record, journalIndex);
        if (v != 0)
            points.append(QPoint(centreOf(record.date), y(scale, v / scale.divisor)));
    });
    if (points.isEmpty())
        return;
    p_.setPen(linePen(seriesDrawType(settings_, series), colour, units_.u));
    p_.drawPolyline(points);

    const int r = 3 * units_.u / 7;
    if (p_.paintEngine() && p_.paintEngine()->type() != QPaintEngine::Raster) {
        // Printing and preview: real circles, sharp at any resolution.
        p_.setPen(onePixelPen(colour));
        p_.setBrush(Qt::white);
        for (const QPoint &at : points)
            drawEllipseIn(p_, at.x() - r, at.y() - r, at.x() + r + 1, at.y() + r + 1);
        return;
    }
    // On an image every point is the same small circle: drawn once and
    // copied, which costs far less than an ellipse per point on a year.
    QImage point(2 * r + 1, 2 * r + 1, QImage::Format_ARGB32_Premultiplied);
    point.fill(Qt::transparent);
    {
        QPainter sprite(&point);
        sprite.setPen(onePixelPen(colour));
        sprite.setBrush(Qt::white);
        drawEllipseIn(sprite, 0, 0, 2 * r + 1, 2 * r + 1);
    }
    for (const QPoint &at : points)
        p_.drawImage(at.x() - r, at.y() - r, point);
}

void GraphPainter::drawLegend()
{
    int x = L;
    const int top = T - static_cast<int>(std::trunc(1.5 * units_.textHeight));
    for (int series = 0; series < graphSeriesCount; ++series)
        if (isSeriesShown(settings_, series))
            drawLegendItem(series, x, top);
}

void GraphPainter::drawLegendItem(int series, int &x, int top)
{
    const int u = units_.u;
    const QString caption = QString::fromUtf8(graphtext::captions[series]);
    drawText(x, top, caption);
    x += textWidth(caption);

    const int m = 3 * u;
    const QColor colour = toQColor(seriesColour(settings_, series));
    if (isBarSeries(series)) {
        // Whatever the bar type: the legend shows the plain colour.
        p_.setPen(defaultPen_);
        p_.setBrush(colour);
        drawOutlined(p_, x, top, x + m, top + 2 * u);
    } else {
        const int r = m / 7;
        const int cx = x + m / 2;
        const int cy = top + u;
        p_.setPen(onePixelPen(colour));
        drawLineTo(p_, x, cy, x + m, cy);
        p_.setBrush(Qt::white);
        drawEllipseIn(p_, cx - r, cy - r, cx + r + 1, cy + r + 1);
    }
    x += 5 * u;
}

void GraphPainter::drawSelectedDayMarker(Date selectedDate)
{
    if (selectedDate < period_.periodStart || selectedDate > period_.periodEnd)
        return;
    const int x = centreOf(selectedDate);
    // The solid line in the background colour first, so that the gaps of the
    // dotted one show the background over any division line.
    p_.setPen(onePixelPen(toQColor(settings_.colorBackGround)));
    drawLineTo(p_, x, B + 1, x, T);
    // The dots count from the bottom end, where the line starts; QPainter
    // would count them from the top.
    const QColor dots = toQColor(settings_.colorCrntDate);
    const int on = static_cast<int>(dotPattern[0]);
    const int period = on + static_cast<int>(dotPattern[1]);
    for (int bottom = B + 1; bottom > T; bottom -= period) {
        const int top = std::max(T + 1, bottom - on + 1);
        p_.fillRect(QRect(x, top, 1, bottom - top + 1), dots);
    }
}

NavigationButtons GraphPainter::drawNavigationButtons(const PixelRect &clientRect)
{
    const NavigationButtons buttons = navigationButtons(clientRect, plot_, units_.textHeight);
    constexpr qreal cornerRadius = 3;
    p_.setPen(defaultPen_);
    p_.setBrush(Qt::white);
    const auto frame = [&](const PixelRect &r) {
        p_.drawRoundedRect(QRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1),
                           cornerRadius, cornerRadius);
    };
    const PixelRect &e = buttons.earlier;
    const int s = e.right - e.left;
    frame(e);
    p_.drawPolygon(QPolygon({QPoint(e.left + 2, e.top + s / 2), QPoint(e.right - 4, e.top + 4),
                             QPoint(e.right - 4, e.bottom - 4)}));
    const PixelRect &l = buttons.later;
    frame(l);
    p_.drawPolygon(QPolygon({QPoint(l.right - 2, l.top + s / 2), QPoint(l.left + 3, l.top + 4),
                             QPoint(l.left + 3, l.bottom - 4)}));
    return buttons;
}

} // namespace

GraphLayout drawGraph(QPainter &painter, const CQuilloxDoc &doc, Date selectedDate,
                      const GraphPeriodState &period, const QRect &rect, int k, bool printing,
                      const GraphOverlays &overlays)
{
    const GraphUnits units = graphUnits(painter.device()->logicalDpiY(), k);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);
    QFont font(QString::fromUtf8(graphFace));
    font.setPixelSize(std::max(1, units.textHeight));
    font.setBold(true);
    painter.setFont(font);

    GraphPainter graph(painter, doc, units, printing);
    const PixelRect area{rect.left(), rect.top(), rect.left() + rect.width(),
                         rect.top() + rect.height()};
    const GraphLayout layout = graph.draw(area, selectedDate, period, overlays);
    painter.restore();
    return layout;
}

GraphPeriodState graphPeriodStateFor(const CQuilloxDoc &doc, Date today)
{
    return periodForGraphNDays(doc, doc.graphSettings.graphNDays, today);
}
