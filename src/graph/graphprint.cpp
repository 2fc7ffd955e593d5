#include "graph/graphprint.h"

#include "graph/cgraphview.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

const QString cannotPrintText = QStringLiteral("印刷できませんでした。\n%1");

// Draws the one page; false when the printer could not be started.
bool printOnePage(QPrinter &printer, CGraphView &graph)
{
    // One page only, whatever range a dialog or an earlier job left.
    printer.setFromTo(0, 0);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The painter's origin is the top-left of the printable area.
    graph.printGraph(painter, QRect(0, 0, printer.width(), printer.height()));
    return painter.end();
}

// Without a printer every job goes to a PDF file; printing at once then still
// needs its name.
bool ensureOutputFile(QPrinter &printer, QWidget *parent)
{
    if (printer.outputFormat() != QPrinter::PdfFormat || !printer.outputFileName().isEmpty())
        return true;
    const QString file = QFileDialog::getSaveFileName(
        parent, QString(), QStringLiteral("graph.pdf"), QStringLiteral("PDF (*.pdf)"));
    if (file.isEmpty())
        return false;
    printer.setOutputFileName(file);
    return true;
}

} // namespace

void printGraphPage(CGraphView &graph, QPrinter &printer, QWidget *pane, PaneCommand command)
{
    if (command == PaneCommand::PrintPreview) {
        QPrintPreviewDialog preview(&printer, pane);
        QObject::connect(
            &preview, &QPrintPreviewDialog::paintRequested, &preview, [&graph](QPrinter *target) {
                QPainter painter(target);
                graph.printGraph(painter, QRect(0, 0, target->width(), target->height()));
            });
        preview.exec();
        return;
    }

    if (command == PaneCommand::Print) {
        QPrintDialog dialog(&printer, pane);
        dialog.setMinMax(1, 1);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        if (dialog.exec() != QDialog::Accepted)
            return;
    } else if (command != PaneCommand::PrintDirect) {
        return;
    }
    if (!ensureOutputFile(printer, pane))
        return;
    if (!printOnePage(printer, graph)) {
        const QString where = printer.outputFileName().isEmpty()
                                  ? printer.printerName()
                                  : QDir::toNativeSeparators(printer.outputFileName());
        QMessageBox::warning(pane, QStringLiteral("Zephalonte"), cannotPrintText.arg(where));
    }
}
