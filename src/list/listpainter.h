#pragma once

#include "journal/calendardate.h"

#include <QColor>
#include <QFont>
#include <QRawFont>
#include <QRect>

class ListRows;
class QPainter;

// The selected day's band.
inline const QColor listSelectionColour{180, 250, 180};

// "ＭＳ ゴシック" 14 pixels high: half-width characters 7 pixels wide, so the
// columns of the lines meet.
QFont listFont();
// The same face for drawing glyphs without shaping. Taking it costs as much as
// drawing a dozen lines, so a pane takes it once.
QRawFont listRawFont();

// Draws, in `font` (listRawFont), the part of the list seen through `client` (the pane's client
// area, origin at its top left) with the list scrolled down by scrollPosition pixels: background,
// the band of the entry dated selectedDate, and the lines of the rows that can be seen. Rows
// outside are neither formatted nor drawn.
void drawJournalList(QPainter &painter, const QRawFont &font, const QRect &client,
                     const ListRows &rows, int scrollPosition, Date selectedDate,
                     const QColor &background, const QColor &text);
