#include "graph/graphrenderer.h"

#include "faces/designfaces.h"
#include "graph/graphcolour.h"
#include "graph/graphscales.h"
#include "graph/graphtexts.h"
#include "graph/labelplacement.h"
#include "journal/cquilloxdoc.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

// The geometry is stated the way the journal's graph has always been drawn:
// a line leaves its end point unpainted, a rectangle's outline runs from its
// left to right - 1, and pens of width 0 or 1 are one pixel wide. The helpers
// below reproduce those pixels with QPainter (antialiasing off), in logical
// pixels on a scaled screen.

namespace {

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
// Gap between the baseline and the top of the day labels.
constexpr int dayLabelGap = 2;
// Nudge of a month label to the right of its centred position.
constexpr int monthLabelNudge = 2;

const QColor sundayColour(255, 0, 0);
const QColor saturdayColour(0, 0, 255);

// How lines are stroked on the surface. A unit of the drawing is a logical
// pixel; on a surface of device pixel ratio R (a scaled screen) a one-pixel
// line is round(R) device pixels wide and covers the logical pixel it names,
// so lines keep their weight beside text that is drawn sharp at R. At ratio 1
// the lines are the single device pixels they have always been.
class Strokes {
  public:
    explicit Strokes(qreal ratio)
        : scaled_(ratio != 1), ratio_(ratio),
          width_(std::max(1, static_cast<int>(std::lround(ratio))))
    {
    }

    QPen onePixelPen(const QColor &colour) const
    {
        if (!scaled_)
            return QPen(colour, 0);
        QPen pen(colour, width_);
        pen.setCosmetic(true);
        return pen;
    }

    QPen patternPen(const QColor &colour, const QList<qreal> &pattern) const
    {
        QPen pen = onePixelPen(colour);
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern(pattern);
        return pen;
    }

    // Wide pens end and join round; their width is in logical pixels.
    QPen widePen(const QColor &colour, int width) const
    {
        if (width <= 1)
            return onePixelPen(colour);
        return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    }

    QPen linePen(int lineType, const QColor &colour, int u) const
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

    // A line through the pixels (x1, y1) and (x2, y2), both painted.
    void line(QPainter &p, int x1, int y1, int x2, int y2) const
    {
        if (scaled_)
            p.drawLine(QLineF(x1 + half, y1 + half, x2 + half, y2 + half));
        else
            p.drawLine(x1, y1, x2, y2);
    }

    // Lines as `line` draws them; so are the outlines of polygons drawn
    // with the one-pixel pen.
    template <typename Draw> void atPixelCentres(QPainter &p, Draw draw) const
    {
        if (!scaled_) {
            draw();
            return;
        }
        p.save();
        p.translate(half, half);
        draw();
        p.restore();
    }

    // Rows from x1 to x2 inclusive in the pen's colour and dash pattern, each
    // pattern counted from x1.
    void patternRows(QPainter &p, const std::vector<int> &rows, int x1, int x2) const
    {
        if (scaled_) {
            // Dashes filled one by one: a wide dashed pen costs a great deal
            // more on a long row.
            const QPen pen = p.pen();
            const QList<qreal> pattern = pen.dashPattern();
            const qreal thickness = static_cast<qreal>(width_) / ratio_;
            for (int y : rows) {
                qreal x = x1;
                for (qsizetype i = 0; x <= x2; i = (i + 1) % pattern.size()) {
                    const qreal length = std::min(pattern[i], x2 + 1 - x);
                    if (i % 2 == 0)
                        p.fillRect(QRectF(x, y, length, thickness), pen.color());
                    x += pattern[i];
                }
            }
            return;
        }
        std::vector<QLine> lines;
        lines.reserve(rows.size());
        for (int y : rows)
            lines.emplace_back(x1, y, x2, y);
        p.drawLines(lines.data(), static_cast<int>(lines.size()));
    }

    // The outline from left to right - 1 and top to bottom - 1 in the pen,
    // the inside in the brush.
    void outlined(QPainter &p, int left, int top, int right, int bottom) const
    {
        if (right - left < 1 || bottom - top < 1)
            return;
        if (!scaled_) {
            p.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
            return;
        }
        // The inside by a fill: a brush through the scaled outline's path
        // costs many times as much on a plot-sized rectangle.
        const QBrush brush = p.brush();
        p.fillRect(QRect(left, top, right - left, bottom - top), brush);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(left + half, top + half, right - left - 1, bottom - top - 1));
        p.setBrush(brush);
    }

    // The ellipse inside left..right - 1, top..bottom - 1.
    void ellipseIn(QPainter &p, int left, int top, int right, int bottom) const
    {
        if (scaled_)
            p.drawEllipse(QRectF(left + half, top + half, right - left - 1, bottom - top - 1));
        else
            p.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
    }

    // A series' line through its points in the pen set: one-pixel pens
    // segment by segment on a scaled surface, where one stroke through a
    // year of points costs a hundred times as much.
    void polyline(QPainter &p, const QPolygon &points) const
    {
        if (!scaled_ || !p.pen().isCosmetic()) {
            p.drawPolyline(points);
            return;
        }
        atPixelCentres(p, [&] {
            for (qsizetype i = 1; i < points.size(); ++i)
                p.drawLine(points[i - 1], points[i]);
        });
    }

  private:
    static constexpr qreal half = 0.5;
    bool scaled_;
    qreal ratio_;
    int width_;
};

// A line from (x1, y1) towards (x2, y2), the end point itself left out.
void drawLineTo(QPainter &p, const Strokes &strokes, int x1, int y1, int x2, int y2)
{
    if (x1 == x2 && y1 == y2)
        return;
    if (x1 == x2)
        y2 += y2 > y1 ? -1 : 1;
    else if (y1 == y2)
        x2 += x2 > x1 ? -1 : 1;
    strokes.line(p, x1, y1, x2, y2);
}

// The same pixels as an outline in the default pen round a solid brush, by
// two fills, which cost a fraction of an outlined rectangle.
void fillOutlined(QPainter &p, const QRect &area, const QColor &fill)
{
    p.fillRect(area, Qt::black);
    if (area.width() > 2 && area.height() > 2)
        p.fillRect(area.adjusted(1, 1, -1, -1), fill);
}

// An image of `logical` size to draw on a surface of device pixel ratio
// `ratio`: as many pixels as the surface has there.
QImage imageForSurface(const QSize &logical, qreal ratio, QImage::Format format)
{
    if (ratio == 1)
        return QImage(logical, format);
    QImage image(std::max(1, qCeil(logical.width() * ratio)),
                 std::max(1, qCeil(logical.height() * ratio)), format);
    image.setDevicePixelRatio(ratio);
    return image;
}

// A vertical gradient, one exact colour per pixel row: from `from` on the top
// row towards `to` at the bottom edge, in 16-bit steps.
void fillVerticalGradient(QPainter &p, qreal ratio, const QRect &area, const QColor &from,
                          const QColor &to)
{
    if (area.height() <= 0 || area.width() <= 0)
        return;
    QImage bar = imageForSurface(area.size(), ratio, QImage::Format_RGB32);
    const int height = bar.height();
    const auto channel = [height](int a, int b, int row) {
        const int from16 = a << 8;
        const int to16 = b << 8;
        return (from16 + (to16 - from16) * static_cast<long long>(row) / height) >> 8;
    };
    for (int row = 0; row < height; ++row) {
        const QRgb colour = qRgb(static_cast<int>(channel(from.red(), to.red(), row)),
                                 static_cast<int>(channel(from.green(), to.green(), row)),
                                 static_cast<int>(channel(from.blue(), to.blue(), row)));
        std::fill_n(reinterpret_cast<QRgb *>(bar.scanLine(row)), bar.width(), colour);
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
        : p_(p), doc_(doc), settings_(doc.graphSettings()), units_(units), printing_(printing),
          metrics_(p.font(), p.device()), ratio_(p.device()->devicePixelRatioF()), strokes_(ratio_),
          padding_(labelPadding(units.u))
    {
    }

    GraphLayout draw(const PixelRect &rect, Date selectedDate, const GraphPeriodState &period,
                     const GraphOverlays &overlays);

  private:
    // One label: its text, where its top-left corner goes and its box.
    struct Label {
        QString text;
        int left = 0;
        int top = 0;
        QColor colour = Qt::black;
        int width = 0;
        int height = 0;

        PixelRect box() const { return {left, top, left + width, top + height}; }
    };
    Label label(const QString &text, int left, int top, const QColor &colour = Qt::black) const
    {
        return Label{text, left, top, colour, textWidth(text), metrics_.height()};
    }
    // The labels of one value axis, bottom to top; the top one carries the
    // axis's unit just below it.
    struct AxisLabels {
        std::vector<Label> values;
        Label unit;
        std::vector<PixelRect> boxes() const;
    };

    int textWidth(const QString &text) const { return metrics_.horizontalAdvance(text); }
    void drawText(int left, int top, const QString &text, const QColor &colour = Qt::black);
    void drawLabel(const Label &label)
    {
        drawText(label.left, label.top, label.text, label.colour);
    }
    void drawPlaced(const std::vector<Label> &labels, const std::vector<bool> &placed,
                    LabelKind kind);

    void drawDateStrip(Date selectedDate);
    std::optional<Label> monthLabel(int from, int to, int year, int month) const;
    void drawMainAxis(const AxisScale &scale, const QColor &colour, const QString &unit);
    AxisLabels axisLabels(const AxisScale &scale, const QString &unit, int labelLeft,
                          bool alignRight) const;
    void drawAxisLabels(const AxisLabels &labels, bool endsOnly, std::vector<PixelRect> &taken);
    void drawSecondaryAxes(const std::vector<int> &secondary);
    void drawAllBars();
    void drawBars(int series, const AxisScale &scale, int width, int offset);
    void drawLine(int series, const AxisScale &scale);
    void drawLegend(const GraphOverlays &overlays, int right);
    // One entry: its caption, then its sample; false, drawing nothing, when
    // it would not end before right.
    bool drawLegendItem(int series, int &x, int y, int right);
    bool drawOverlayLegendItem(bool trend, int &x, int top, int right);
    void drawSelectedDayMarker(Date selectedDate);
    NavigationButtons drawNavigationButtons(const PixelRect &clientRect);

    int y(const AxisScale &scale, double v) const { return scale.yOf(v, T, B); }
    int centreOf(Date date) const { return dayCentre(days_, dayIndexOf(period_, date)); }

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
    const qreal ratio_;
    const Strokes strokes_;
    const int padding_;
    PixelRect plot_;
    int L = 0, T = 0, R = 0, B = 0;
    DayAxis days_;
    GraphPeriodState period_;
    std::array<AxisScale, graphSeriesCount> scales_{};
    std::vector<DrawnLabel> drawn_;
    QPen defaultPen_ = strokes_.onePixelPen(Qt::black);
};

std::vector<PixelRect> GraphPainter::AxisLabels::boxes() const
{
    std::vector<PixelRect> boxes;
    for (const Label &value : values)
        boxes.push_back(value.box());
    if (!boxes.empty()) {
        // The unit hangs from the top label: the two claim their room as one.
        PixelRect &top = boxes.back();
        const PixelRect unitBox = unit.box();
        top = PixelRect{std::min(top.left, unitBox.left), std::min(top.top, unitBox.top),
                        std::max(top.right, unitBox.right), std::max(top.bottom, unitBox.bottom)};
    }
    return boxes;
}

void GraphPainter::drawText(int left, int top, const QString &text, const QColor &colour)
{
    p_.setPen(colour);
    p_.drawText(left, top + metrics_.ascent(), text);
}

void GraphPainter::drawPlaced(const std::vector<Label> &labels, const std::vector<bool> &placed,
                              LabelKind kind)
{
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (placed[i]) {
            drawLabel(labels[i]);
            drawn_.push_back(DrawnLabel{labels[i].box(), kind});
        }
    }
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
    strokes_.outlined(p_, L, T, R + 1, B + 2 * H);
    B -= 1;
    plot_.bottom = B;
    layout.plotRect = plot_;
    if (doc_.dayList().empty() || !period.periodValid)
        return layout;

    period_ = period;
    days_ = dayAxisFor(plot_, period_.periodDays);
    layout.dayWidth = days_.dayWidth;
    layout.dayAxis = days_;

    drawDateStrip(selectedDate);

    scales_ = fitSeriesScales(doc_, period_.periodStart, period_.periodEnd, printing_,
                              goalWeight(doc_, overlays));
    if (settings_.yAxisMain >= 0 && settings_.yAxisMain < graphSeriesCount)
        drawMainAxis(scales_[settings_.yAxisMain], toQColor(settings_.colorDivision),
                     QString::fromUtf8(graphtext::units[settings_.yAxisMain]));
    drawSecondaryAxes(secondary);

    drawGraphOverlays(p_, doc_, overlays, {plot_, days_, period_, units_},
                      scales_[graphSeriesWeight], scales_[graphSeriesFatPercent]);
    drawAllBars();
    // Weight is drawn last so that it lies on top.
    for (int series : {graphSeriesNotFat, graphSeriesFat, graphSeriesFatPercent, graphSeriesWeight})
        if (isSeriesShown(settings_, series))
            drawLine(series, scales_[series]);
    drawLegend(overlays, rect.right);

    if (!printing_) {
        drawSelectedDayMarker(selectedDate);
        const NavigationButtons buttons = drawNavigationButtons(rect);
        layout.prevButtonRect = buttons.earlier;
        layout.nextButtonRect = buttons.later;
    }
    drawGoalMark(p_, doc_, overlays, {plot_, days_, period_, units_}, scales_[graphSeriesWeight]);

    p_.setPen(defaultPen_);
    drawLineTo(p_, strokes_, L, B, R, B);
    layout.labels = std::move(drawn_);
    return layout;
}

void GraphPainter::drawDateStrip(Date selectedDate)
{
    const int H = units_.textHeight;
    const bool dayLabels = normalisedGraphNDays(settings_.graphNDays) > -6;
    int previousMonth = 0;
    int year = 0;
    int segmentStart = L;

    std::vector<QLine> ticks;
    ticks.reserve(static_cast<std::size_t>(period_.periodDays) + 12);
    std::vector<Label> monthLabels;
    const auto addMonthLabel = [&](int to) {
        if (auto labelOf = monthLabel(segmentStart, to, year, previousMonth))
            monthLabels.push_back(*labelOf);
    };
    for (int i = 0; i < period_.periodDays; ++i) {
        const Date d = period_.periodStart + std::chrono::days{i};
        const int month =
            static_cast<int>(static_cast<unsigned>(std::chrono::year_month_day{d}.month()));
        const int x = dayCentre(days_, i);
        if (month != previousMonth) {
            const int xm = dayAreaLeft(days_, i);
            if (i > 0) {
                ticks.emplace_back(xm, B, xm, B + 2 * H - 1);
                addMonthLabel(xm);
            }
            previousMonth = month;
            year = static_cast<int>(std::chrono::year_month_day{d}.year());
            segmentStart = xm;
        }
        ticks.emplace_back(x, B, x, B - dayTickLength + 1);
    }
    addMonthLabel(dateStripEnd(days_));

    // The month names first: the separators are drawn over them.
    std::vector<PixelRect> monthBoxes;
    for (const Label &month : monthLabels)
        monthBoxes.push_back(month.box());
    drawPlaced(monthLabels, placeLabels(monthBoxes, padding_), LabelKind::month);
    p_.setPen(defaultPen_);
    strokes_.atPixelCentres(p_,
                            [&] { p_.drawLines(ticks.data(), static_cast<int>(ticks.size())); });
    if (!dayLabels)
        return;

    // Day numbers run from 1 to 31: their widths are measured once.
    std::array<int, 32> widths{};
    std::vector<Label> labels;
    std::vector<PixelRect> boxes;
    const std::vector<int> order = dayLabelOrder(period_, selectedDate);
    labels.reserve(order.size());
    boxes.reserve(order.size());
    for (int i : order) {
        const Date d = period_.periodStart + std::chrono::days{i};
        const unsigned day = static_cast<unsigned>(std::chrono::year_month_day{d}.day());
        const QString text = QString::number(day);
        int &width = widths[day % widths.size()];
        if (width == 0)
            width = textWidth(text);
        const std::chrono::weekday weekday{d};
        const QColor colour = weekday == std::chrono::Sunday     ? sundayColour
                              : weekday == std::chrono::Saturday ? saturdayColour
                                                                 : QColor(Qt::black);
        labels.push_back(Label{text, dayCentre(days_, i) - width / 2, B + dayLabelGap, colour,
                               width, metrics_.height()});
        boxes.push_back(labels.back().box());
    }
    drawPlaced(labels, placeLabels(boxes, padding_), LabelKind::day);
}

std::optional<GraphPainter::Label> GraphPainter::monthLabel(int from, int to, int year,
                                                            int month) const
{
    // The long form where it fits, else the short one, else nothing.
    const QString texts[] = {QString::asprintf(graphtext::monthLabelLong, year, month),
                             QString::asprintf(graphtext::monthLabelShort, month)};
    for (const QString &text : texts) {
        const int width = textWidth(text);
        if (to - from > width)
            return label(text, (from + to - width) / 2 + monthLabelNudge, B + units_.textHeight);
    }
    return std::nullopt;
}

GraphPainter::AxisLabels GraphPainter::axisLabels(const AxisScale &scale, const QString &unit,
                                                  int labelLeft, bool alignRight) const
{
    AxisLabels labels;
    forEachDivision(scale, scale.step, [&](double v) {
        const QString text = formatG(v);
        const int left = alignRight ? labelLeft - textWidth(text) : labelLeft;
        labels.values.push_back(label(text, left, y(scale, v) - units_.u));
    });
    if (!labels.values.empty()) {
        // Just below the topmost label; on the main axis flush with its left
        // edge, on a secondary one a tick's length further right.
        const Label &top = labels.values.back();
        const int left = alignRight ? top.left : labelLeft + units_.tickLength;
        labels.unit = label(unit, left, top.top + units_.textHeight);
    }
    return labels;
}

// The labels of one axis that find room among each other and `taken`, which
// gains what is drawn: the top one with the unit first, then the bottom one,
// then the rest.
void GraphPainter::drawAxisLabels(const AxisLabels &labels, bool endsOnly,
                                  std::vector<PixelRect> &taken)
{
    if (labels.values.empty())
        return;
    const std::vector<PixelRect> boxes = labels.boxes();
    std::vector<int> order = axisLabelOrder(static_cast<int>(boxes.size()));
    if (endsOnly && order.size() > 2)
        order.resize(2);
    std::vector<PixelRect> candidates;
    for (int i : order)
        candidates.push_back(boxes[static_cast<std::size_t>(i)]);
    const std::vector<bool> placed = placeLabels(candidates, padding_, taken);
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (!placed[k])
            continue;
        const std::size_t value = static_cast<std::size_t>(order[k]);
        drawLabel(labels.values[value]);
        if (value + 1 == labels.values.size())
            drawLabel(labels.unit);
        taken.push_back(candidates[k]);
        drawn_.push_back(DrawnLabel{candidates[k], LabelKind::axis});
    }
}

void GraphPainter::drawMainAxis(const AxisScale &scale, const QColor &colour, const QString &unit)
{
    if (scale.isEmpty())
        return;
    const int t = units_.tickLength;
    std::vector<int> rows;
    forEachDivision(scale, scale.subStep, [&](double v) { rows.push_back(y(scale, v)); });
    p_.setPen(strokes_.patternPen(colour, dotPattern));
    strokes_.patternRows(p_, rows, L, R - 1);

    std::vector<QLine> lines;
    forEachDivision(scale, scale.step,
                    [&](double v) { lines.emplace_back(L, y(scale, v), R - 1, y(scale, v)); });
    p_.setPen(strokes_.onePixelPen(colour));
    strokes_.atPixelCentres(p_,
                            [&] { p_.drawLines(lines.data(), static_cast<int>(lines.size())); });
    std::vector<PixelRect> taken;
    drawAxisLabels(axisLabels(scale, unit, L - t, true), false, taken);
}

void GraphPainter::drawSecondaryAxes(const std::vector<int> &secondary)
{
    const int t = units_.tickLength;
    std::vector<AxisLabels> labels;
    std::vector<std::vector<PixelRect>> boxes;
    int x = R;
    for (int series : secondary) {
        const AxisScale &scale = scales_[series];
        labels.push_back(
            axisLabels(scale, QString::fromUtf8(graphtext::units[series]), x + t, false));
        boxes.push_back(labels.back().boxes());
        x += units_.axisWidth;
    }
    const std::vector<bool> crowded = crowdedAxes(boxes, padding_);

    std::vector<PixelRect> taken;
    x = R;
    for (std::size_t i = 0; i < secondary.size(); ++i, x += units_.axisWidth) {
        const AxisScale &scale = scales_[secondary[i]];
        p_.setPen(defaultPen_);
        drawLineTo(p_, strokes_, x, B, x, T);
        if (scale.isEmpty())
            continue;
        std::vector<QLine> ticks;
        forEachDivision(scale, scale.step, [&](double v) {
            ticks.emplace_back(x, y(scale, v), x + t - 1, y(scale, v));
        });
        if (t > 0)
            strokes_.atPixelCentres(
                p_, [&] { p_.drawLines(ticks.data(), static_cast<int>(ticks.size())); });
        drawAxisLabels(labels[i], crowded[i], taken);
    }
}

void GraphPainter::drawAllBars()
{
    std::vector<int> shown;
    for (int series = graphSeriesJogDistance; series <= graphSeriesWalkDuration; ++series)
        if (isSeriesShown(settings_, series))
            shown.push_back(series);
    const BarPlacement placement = barPlacement(days_, static_cast<int>(shown.size()));
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
            fillVerticalGradient(p_, ratio_, QRect(left, top, width, bottom - top), colour,
                                 background);
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
    p_.setPen(strokes_.linePen(seriesDrawType(settings_, series), colour, units_.u));
    strokes_.polyline(p_, points);

    const int r = 3 * units_.u / 7;
    if (p_.paintEngine() && p_.paintEngine()->type() != QPaintEngine::Raster) {
        // Printing and preview: real circles, sharp at any resolution.
        p_.setPen(strokes_.onePixelPen(colour));
        p_.setBrush(Qt::white);
        for (const QPoint &at : points)
            strokes_.ellipseIn(p_, at.x() - r, at.y() - r, at.x() + r + 1, at.y() + r + 1);
        return;
    }
    // On an image every point is the same small circle: drawn once and
    // copied, which costs far less than an ellipse per point on a year.
    QImage point =
        imageForSurface(QSize(2 * r + 1, 2 * r + 1), ratio_, QImage::Format_ARGB32_Premultiplied);
    point.fill(Qt::transparent);
    {
        QPainter sprite(&point);
        sprite.setPen(strokes_.onePixelPen(colour));
        sprite.setBrush(Qt::white);
        strokes_.ellipseIn(sprite, 0, 0, 2 * r + 1, 2 * r + 1);
    }
    for (const QPoint &at : points)
        p_.drawImage(at.x() - r, at.y() - r, point);
}

void GraphPainter::drawLegend(const GraphOverlays &overlays, int right)
{
    int x = L;
    const int top = T - static_cast<int>(std::trunc(1.5 * units_.textHeight));
    // Entries that do not fit whole are left out, and all after them, so
    // that none is ever cut.
    for (int series = 0; series < graphSeriesCount; ++series) {
        if (isSeriesShown(settings_, series) && !drawLegendItem(series, x, top, right))
            return;
    }
    if (trendLinesDrawn(doc_, overlays) && !drawOverlayLegendItem(true, x, top, right))
        return;
    if (goalLineDrawn(doc_, overlays, scales_[graphSeriesWeight]))
        drawOverlayLegendItem(false, x, top, right);
}

bool GraphPainter::drawLegendItem(int series, int &x, int top, int right)
{
    const int u = units_.u;
    const QString caption = QString::fromUtf8(graphtext::captions[series]);
    const int m = 3 * u;
    if (x + textWidth(caption) + m >= right)
        return false;
    drawText(x, top, caption);
    x += textWidth(caption);

    const QColor colour = toQColor(seriesColour(settings_, series));
    if (isBarSeries(series)) {
        // Whatever the bar type: the legend shows the plain colour.
        p_.setPen(defaultPen_);
        p_.setBrush(colour);
        strokes_.outlined(p_, x, top, x + m, top + 2 * u);
    } else {
        const int r = m / 7;
        const int cx = x + m / 2;
        const int cy = top + u;
        p_.setPen(strokes_.onePixelPen(colour));
        drawLineTo(p_, strokes_, x, cy, x + m, cy);
        p_.setBrush(Qt::white);
        strokes_.ellipseIn(p_, cx - r, cy - r, cx + r + 1, cy + r + 1);
    }
    x += 5 * u;
    return true;
}

bool GraphPainter::drawOverlayLegendItem(bool trend, int &x, int top, int right)
{
    const int u = units_.u;
    const QString caption =
        QString::fromUtf8(trend ? graphtext::trendLegend : graphtext::goalLegend);
    const int m = 3 * u;
    if (x + textWidth(caption) + m >= right)
        return false;
    drawText(x, top, caption);
    x += textWidth(caption);
    const int width = goalPenWidth(units_);
    const int cy = top + u - width / 2;
    if (trend) {
        // Half the sample in the weight's trend colour, half in the fat's.
        p_.fillRect(x, cy, m / 2, width, trendColour(settings_, graphSeriesWeight));
        p_.fillRect(x + m / 2, cy, m - m / 2, width, trendColour(settings_, graphSeriesFatPercent));
    } else {
        fillGoalDashes(p_, x, x + m, cy, std::max(1, width / 2), toQColor(settings_.colorWeight));
    }
    x += 5 * u;
    return true;
}

void GraphPainter::drawSelectedDayMarker(Date selectedDate)
{
    if (selectedDate < period_.periodStart || selectedDate > period_.periodEnd)
        return;
    const int x = centreOf(selectedDate);
    // The solid line in the background colour first, so that the gaps of the
    // dotted one show the background over any division line.
    p_.setPen(strokes_.onePixelPen(toQColor(settings_.colorBackGround)));
    drawLineTo(p_, strokes_, x, B + 1, x, T);
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
    strokes_.atPixelCentres(p_, [&] {
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
    });
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
    // The design's "ＭＳ ゴシック", as installed.
    QFont font(designFamily(DesignFace::Gothic));
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
    return periodForGraphNDays(doc, doc.graphSettings().graphNDays, today);
}
