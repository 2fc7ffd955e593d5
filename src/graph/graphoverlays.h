#pragma once

#include "graph/axisscale.h"
#include "graph/graphgeometry.h"
#include "graph/graphperiod.h"

#include <QColor>

#include <optional>

class CQuilloxDoc;
class QPainter;
struct JournalTrends;

// The optional layer over the graph. Default-constructed it draws nothing
// and changes no scale, so the graph stays exactly as it is without it.
struct GraphOverlays {
    // The trend lines of weight and body fat, computed once per change of
    // the journal by whoever draws; none: no trend lines.
    const JournalTrends *trends = nullptr;
    // The dashed line at the objective's target weight.
    bool goalLine = false;
};

// The target weight the weight scale must hold: the goal line is on and a
// target is set.
std::optional<double> goalWeight(const CQuilloxDoc &doc, const GraphOverlays &overlays);

// What the overlay drawing takes from the drawing under way: the plot (its
// bottom on the baseline), where the days lie along it and the period shown.
struct OverlayFrame {
    PixelRect plot;
    DayAxis days;
    GraphPeriodState period;
    GraphUnits units;
};

// Both drawn under the series, after the axes: the trends of the shown weight
// and body-fat series in their colours mixed half with the background, and
// the goal line on the weight scale.
void drawGraphOverlays(QPainter &painter, const CQuilloxDoc &doc, const GraphOverlays &overlays,
                       const OverlayFrame &frame, const AxisScale &weightScale,
                       const AxisScale &fatScale);
// The goal line's mark at its right end, drawn after everything else so that
// no bar, point or marker hides it, outlined in the background colour.
void drawGoalMark(QPainter &painter, const CQuilloxDoc &doc, const GraphOverlays &overlays,
                  const OverlayFrame &frame, const AxisScale &weightScale);

// What the legend lists after the series: the trend colours while a trend
// line is drawn, the dashed goal line while that is.
bool trendLinesDrawn(const CQuilloxDoc &doc, const GraphOverlays &overlays);
bool goalLineDrawn(const CQuilloxDoc &doc, const GraphOverlays &overlays,
                   const AxisScale &weightScale);
// Colours and sizes the legend's samples share with the lines.
QColor trendColour(const GraphSettings &settings, int series);
// The goal's dashes; gaps in `gaps` when it is valid, else left as they are.
void fillGoalDashes(QPainter &painter, int left, int right, int top, int width,
                    const QColor &colour, const QColor &gaps = QColor());
int goalPenWidth(const GraphUnits &units);
