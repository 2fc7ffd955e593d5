#pragma once

#include "pane/cpaneview.h"

class CGraphView;
class QPrinter;
class QWidget;

// One print job of the graph page, asked for from any pane (graph, list,
// entry form): Print asks with the print dialog first, PrintDirect prints at
// once, PrintPreview shows the page in a preview window. Exactly one page,
// drawn by graph's printGraph into the printable area of printer. pane
// parents the dialogs.
void printGraphPage(CGraphView &graph, QPrinter &printer, QWidget *pane, PaneCommand command);
