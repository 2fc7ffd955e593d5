#pragma once

#include "trend/summarytable.h"

#include <QWidget>

#include <cstdint>
#include <utility>
#include <vector>

class JournalContext;
class QLabel;
class QPainter;
class QPrinter;
class QTableWidget;

// The monthly summary: a window of its own beside the main window, one row
// per month with entries, newest first. It follows every change of the
// journal while open; selected rows copy as tab-separated text, and the
// whole table prints through the program's print path.
class CMonthlySummaryWnd : public QWidget {
    Q_OBJECT
  public:
    CMonthlySummaryWnd(JournalContext &context, QPrinter &printer, QWidget *parent = nullptr);

    // The table read anew from the journal when it changed since.
    void refresh();
    // The selected rows (all rows when none is selected) with the titles, as
    // the clipboard receives them.
    QString selectedText() const;
    void copySelection() const;
    void print(bool preview);

    // Draws the table onto the printer's pages, as many as it takes, under
    // the title line (summaryPrintTitle).
    static void paintPages(QPainter &painter, QPrinter &printer,
                           const std::vector<SummaryRowTexts> &rows, const QString &title);

  protected:
    void showEvent(QShowEvent *event) override;

  private:
    // The rows in the order the table shows them, all or only the selected.
    std::vector<SummaryRowTexts> shownRows(bool selectedOnly) const;

    JournalContext &context_;
    QPrinter &printer_;
    QTableWidget *table_ = nullptr;
    QLabel *emptyNote_ = nullptr;
    std::vector<SummaryRowTexts> rows_;
    // The journal's day-list revision and change count the rows were read
    // at: a new selected day, which also announces an update, costs nothing.
    std::pair<std::uint64_t, std::uint64_t> shownChange_{0, 0};
    bool placed_ = false;
};
