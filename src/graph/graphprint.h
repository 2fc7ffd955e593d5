#pragma once

#include "pane/cpaneview.h"

#include <functional>

class CGraphView;
class QPainter;
class QPrinter;
class QWidget;

// Draws a whole document on an open painter of the printer: the pages after
// the first begin with printer.newPage().
using PrintedPages = std::function<void(QPainter &painter, QPrinter &printer)>;

// The one print path of the program, for the graph page and any other
// printed document: Print asks with the print dialog first, PrintDirect
// prints at once, PrintPreview shows the pages in a preview window. A failure
// to start the printer is reported; parent parents the dialogs. pageCount,
// when known, is announced to the print dialog.
void printDocument(const PrintedPages &pages, QPrinter &printer, QWidget *parent,
                   PaneCommand command, int pageCount = 0);

// One print job of the graph page, asked for from any pane (graph, list,
// entry form): Print asks with the print dialog first, PrintDirect prints at
// once, PrintPreview shows the page in a preview window. Exactly one page,
// drawn by graph's printGraph into the printable area of printer. pane
// parents the dialogs.
void printGraphPage(CGraphView &graph, QPrinter &printer, QWidget *pane, PaneCommand command);
