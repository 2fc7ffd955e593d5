#pragma once

#include "graph/graphoverlays.h"
#include "graph/graphrenderer.h"
#include "journal/calendardate.h"

#include <QByteArray>

class CQuilloxDoc;

// The graph as `zeph graph` writes it, drawn by the pane's one renderer.
// Both need a QGuiApplication.

// The graph as the pane shows it on a 96-dpi screen of the given size, as PNG:
// at device pixel ratio `scale`, as on a scaled desktop, scale times as many
// pixels each way.
QByteArray screenGraphPng(const CQuilloxDoc &doc, Date selected, GraphPeriodState &period,
                          int width, int height, double scale, const GraphOverlays &overlays);

// The printed page: A4 in the journal's paper orientation, on a 1200-dpi
// printer's printable area, as PDF.
QByteArray printedGraphPdf(const CQuilloxDoc &doc, Date selected, GraphPeriodState &period,
                           const GraphOverlays &overlays);
