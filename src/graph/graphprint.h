#pragma once

#include "app/cpaneview.h"

class QWidget;

// One print job of the graph page, started from any pane (graph, list, entry
// form): Print asks with the print dialog first, PrintDirect prints at once,
// PrintPreview shows the page in a preview window. Exactly one page, drawn by
// theGraphView's printGraph into the printable area of the application's
// printer. printingActive is set from the preparation to the end (and cleared
// at once when the print dialog is cancelled). pane parents the dialogs.
void printGraphPage(QWidget *pane, PaneCommand command);
