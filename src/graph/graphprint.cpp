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

// Draws the pages; false when the printer could not be started.
bool printAllPages(QPrinter &printer, const PrintedPages &pages)
{
    // Every page, whatever range a dialog or an earlier job left.
    printer.setFromTo(0, 0);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    pages(painter, printer);
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

void printDocument(const PrintedPages &pages, QPrinter &printer, QWidget *parent,
                   PaneCommand command, int pageCount)
{
    if (command == PaneCommand::PrintPreview) {
        QPrintPreviewDialog preview(&printer, parent);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                         [&pages](QPrinter *target) {
                             QPainter painter(target);
                             pages(painter, *target);
                         });
        preview.exec();
        return;
    }

    if (command == PaneCommand::Print) {
        QPrintDialog dialog(&printer, parent);
        if (pageCount > 0)
            dialog.setMinMax(1, pageCount);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        if (dialog.exec() != QDialog::Accepted)
            return;
    } else if (command != PaneCommand::PrintDirect) {
        return;
    }
    if (!ensureOutputFile(printer, parent))
        return;
    if (!printAllPages(printer, pages)) {
        const QString where = printer.outputFileName().isEmpty()
                                  ? printer.printerName()
                                  : QDir::toNativeSeparators(printer.outputFileName());
        QMessageBox::warning(parent, QStringLiteral("Zephalonte"), cannotPrintText.arg(where));
    }
}

void printGraphPage(CGraphView &graph, QPrinter &printer, QWidget *pane, PaneCommand command)
{
    // One page; the painter's origin is the top-left of the printable area.
    printDocument(
        [&graph](QPainter &painter, QPrinter &target) {
            graph.printGraph(painter, QRect(0, 0, target.width(), target.height()));
        },
        printer, pane, command, 1);
}
