#pragma once

#include "graph/graphgeometry.h"
#include "graph/graphoverlays.h"
#include "graph/graphperiod.h"

class CQuilloxDoc;
class QPainter;
class QRect;

// k: the size of the drawing's unit u in points.
inline constexpr int screenGraphK = 6;
inline constexpr int paperGraphK = 5;

// Draws the whole graph of doc into rect of the painter's device, sized from
// the device's vertical dots per inch: the framed plot with its date strip,
// the axes, the bars and lines of the shown series, the legend, and on screen
// (printing false) the selected-day marker and the two navigation buttons.
// Without a valid period (graphPeriodStateFor gives one) only the empty frame
// is drawn. Returns what was laid out (the buttons only on screen, dayWidth
// only when the journal has entries and the period is valid). Everything
// comes from the arguments, the clock included, so the same call paints the
// pane, the printed page, the preview and an exported image. overlays adds
// the trend and goal lines (none by default).
GraphLayout drawGraph(QPainter &painter, const CQuilloxDoc &doc, Date selectedDate,
                      const GraphPeriodState &period, const QRect &rect, int k, bool printing,
                      const GraphOverlays &overlays = GraphOverlays{});

// The period a pane shows when it opens on doc (or after a period command),
// with today taken as given.
GraphPeriodState graphPeriodStateFor(const CQuilloxDoc &doc, Date today);
