#include "app/cmonthlysummarywnd.h"

#include "app/frametexts.h"
#include "graph/graphprint.h"
#include "journal/cquilloxdoc.h"
#include "pane/journalcontext.h"
#include "pane/journaleditor.h"
#include "qttext/uitext.h"
#include "trend/monthlysummary.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace {

// The printed table: 10 points, with a title of 14.
constexpr int printedTextPoints = 10;
constexpr int printedTitlePoints = 14;
constexpr int pointsPerInch = 72;

QString text(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

// The row's place in the window's rows, kept in its first cell so that a
// sorted table still copies and prints the right months.
constexpr int rowIndexRole = Qt::UserRole;
constexpr int sortKeyRole = Qt::UserRole + 1;

// A cell sorted by its figure, not by its text.
class SummaryItem : public QTableWidgetItem {
  public:
    SummaryItem(const QString &text, double key) : QTableWidgetItem(text)
    {
        setData(sortKeyRole, key);
    }
    bool operator<(const QTableWidgetItem &other) const override
    {
        return data(sortKeyRole).toDouble() < other.data(sortKeyRole).toDouble();
    }
};

} // namespace

CMonthlySummaryWnd::CMonthlySummaryWnd(JournalContext &context, QPrinter &printer, QWidget *parent)
    : QWidget(parent, Qt::Window), context_(context), printer_(printer)
{
    setObjectName(QStringLiteral("monthlySummary"));
    setWindowTitle(ui(frametext::summaryTitle));
    setAttribute(Qt::WA_DeleteOnClose, false);

    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("summaryTable"));
    table_->setAccessibleName(ui(frametext::summaryTitle));
    table_->setColumnCount(static_cast<int>(summaryColumnCount));
    QStringList titles;
    for (const std::string &title : summaryColumnHeadings())
        titles << text(title);
    table_->setHorizontalHeaderLabels(titles);
    table_->verticalHeader()->setVisible(false);
    // One line of text a row, as the journal list keeps its rows.
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setWordWrap(false);
    // Tab goes on to the buttons instead of round the cells.
    table_->setTabKeyNavigation(false);
    table_->setSortingEnabled(true);
    table_->horizontalHeader()->setSortIndicatorShown(true);
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);

    auto *copy = new QAction(table_);
    copy->setShortcuts(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(copy, &QAction::triggered, this, &CMonthlySummaryWnd::copySelection);
    table_->addAction(copy);

    emptyNote_ = new QLabel(ui(frametext::summaryEmpty), this);

    auto *copyButton = new QPushButton(ui(frametext::summaryCopy), this);
    auto *printButton = new QPushButton(ui(frametext::summaryPrint), this);
    auto *previewButton = new QPushButton(ui(frametext::summaryPreview), this);
    auto *closeButton = new QPushButton(ui(frametext::summaryClose), this);
    copyButton->setObjectName(QStringLiteral("summaryCopy"));
    printButton->setObjectName(QStringLiteral("summaryPrint"));
    previewButton->setObjectName(QStringLiteral("summaryPreview"));
    connect(copyButton, &QPushButton::clicked, this, &CMonthlySummaryWnd::copySelection);
    connect(printButton, &QPushButton::clicked, this, [this] { print(false); });
    connect(previewButton, &QPushButton::clicked, this, [this] { print(true); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    auto *escape = new QAction(this);
    escape->setShortcut(Qt::Key_Escape);
    escape->setShortcutContext(Qt::WindowShortcut);
    connect(escape, &QAction::triggered, this, &QWidget::close);
    addAction(escape);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(emptyNote_, 1);
    buttons->addWidget(copyButton);
    buttons->addWidget(printButton);
    buttons->addWidget(previewButton);
    buttons->addWidget(closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);

    // Only while it can be seen: a hidden window costs nothing per change.
    // Edits and loads change what it shows; a new selected day does not,
    // and refresh sees that from the document's revision.
    const auto follow = [this] {
        if (isVisible())
            refresh();
    };
    connect(&context_, &JournalContext::documentUpdated, this, follow);
    connect(&context_.editor(), &JournalEditor::edited, this, follow);
    refresh();
    // Wide enough for every heading and figure at first; then the columns
    // share out whatever width the window is given.
    table_->resizeColumnsToContents();
    resize(table_->horizontalHeader()->length() + 40, 360);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
}

void CMonthlySummaryWnd::refresh()
{
    const CQuilloxDoc &doc = context_.document();
    const std::pair change{doc.dayListRevision(), doc.changeCount()};
    if (change == shownChange_)
        return;
    shownChange_ = change;
    const std::vector<MonthSummary> months = monthlySummary(doc.dayList());
    rows_ = summaryTableRows(months);
    // Filled unsorted, then sorted again by the column the user chose.
    table_->setSortingEnabled(false);
    table_->setRowCount(static_cast<int>(rows_.size()));
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        const SummarySortKeys keys = summarySortKeys(months[months.size() - 1 - r]);
        for (std::size_t c = 0; c < summaryColumnCount; ++c) {
            auto *item = new SummaryItem(text(rows_[r][c]), keys[c]);
            if (isSummaryNumberColumn(c))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (c == 0)
                item->setData(rowIndexRole, static_cast<int>(r));
            table_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    table_->setSortingEnabled(true);
    emptyNote_->setVisible(rows_.empty());
}

std::vector<SummaryRowTexts> CMonthlySummaryWnd::shownRows(bool selectedOnly) const
{
    std::set<int> selected;
    if (selectedOnly) {
        for (const QModelIndex &index : table_->selectionModel()->selectedRows())
            selected.insert(index.row());
    }
    std::vector<SummaryRowTexts> rows;
    for (int r = 0; r < table_->rowCount(); ++r) {
        const int index = table_->item(r, 0)->data(rowIndexRole).toInt();
        if ((selected.empty() || selected.count(r)) && index >= 0 &&
            index < static_cast<int>(rows_.size()))
            rows.push_back(rows_[static_cast<std::size_t>(index)]);
    }
    return rows;
}

QString CMonthlySummaryWnd::selectedText() const
{
    return text(summaryTabText(shownRows(true)));
}

void CMonthlySummaryWnd::showEvent(QShowEvent *event)
{
    // The first time over the middle of the main window; after that where
    // the user left it.
    if (!placed_ && parentWidget()) {
        placed_ = true;
        const QRect owner = parentWidget()->window()->frameGeometry();
        move(owner.center() - QRect(QPoint(0, 0), frameGeometry().size()).center());
    }
    QWidget::showEvent(event);
}

void CMonthlySummaryWnd::copySelection() const
{
    QApplication::clipboard()->setText(selectedText());
}

void CMonthlySummaryWnd::print(bool preview)
{
    const std::vector<SummaryRowTexts> rows = shownRows(false);
    const QString title =
        text(summaryPrintTitle(ui(frametext::summaryTitle).toStdString(),
                               context_.document().userInfo().name, rows, todayDate()));
    printDocument([rows, title](QPainter &painter,
                                QPrinter &printer) { paintPages(painter, printer, rows, title); },
                  printer_, this, preview ? PaneCommand::PrintPreview : PaneCommand::Print);
}

void CMonthlySummaryWnd::paintPages(QPainter &painter, QPrinter &printer,
                                    const std::vector<SummaryRowTexts> &rows, const QString &title)
{
    const int dpi = printer.logicalDpiY();
    QFont font = QApplication::font();
    font.setPixelSize(std::max(1, dpi * printedTextPoints / pointsPerInch));
    QFont titleFont = font;
    titleFont.setPixelSize(std::max(1, dpi * printedTitlePoints / pointsPerInch));
    titleFont.setBold(true);
    const QFontMetrics metrics(font, &printer);
    const QFontMetrics titleMetrics(titleFont, &printer);
    const int gap = metrics.horizontalAdvance(QLatin1Char(' ')) * 2;
    const int rowHeight = metrics.height() * 5 / 4;

    // Each column as wide as its widest text.
    std::array<int, summaryColumnCount> widths{};
    const auto measure = [&](const SummaryRowTexts &fields) {
        for (std::size_t c = 0; c < summaryColumnCount; ++c)
            widths[c] = std::max(widths[c], metrics.horizontalAdvance(text(fields[c])));
    };
    const SummaryRowTexts headings = summaryColumnHeadings();
    measure(headings);
    for (const SummaryRowTexts &row : rows)
        measure(row);

    const QRect page(0, 0, printer.width(), printer.height());
    const auto drawRow = [&](const SummaryRowTexts &fields, int top) {
        int x = page.left();
        for (std::size_t c = 0; c < summaryColumnCount; ++c) {
            const QRect cell(x, top, widths[c], rowHeight);
            painter.drawText(cell,
                             (isSummaryNumberColumn(c) ? Qt::AlignRight : Qt::AlignLeft) |
                                 Qt::AlignVCenter,
                             text(fields[c]));
            x += widths[c] + gap;
        }
    };

    std::size_t next = 0;
    bool firstPage = true;
    do {
        if (!firstPage)
            printer.newPage();
        int top = page.top();
        if (firstPage) {
            painter.setFont(titleFont);
            painter.drawText(page.left(), top + titleMetrics.ascent(), title);
            top += titleMetrics.height() * 3 / 2;
        }
        painter.setFont(font);
        drawRow(headings, top);
        top += rowHeight;
        painter.drawLine(page.left(), top, page.right(), top);
        // At least one row a page, however small the paper.
        do {
            if (next < rows.size())
                drawRow(rows[next++], top);
            top += rowHeight;
        } while (next < rows.size() && top + rowHeight <= page.bottom());
        firstPage = false;
    } while (next < rows.size());
}
