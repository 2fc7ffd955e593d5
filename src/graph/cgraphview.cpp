#include "graph/cgraphview.h"

#include "app/cmainframe.h"
#include "app/czephalonteapp.h"
#include "app/frametexts.h"
#include "dialogs/uitext.h"
#include "graph/graphprint.h"
#include "graph/graphrenderer.h"
#include "graph/graphtexts.h"
#include "journal/cquilloxdoc.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace {

// Where a context menu asked for from the keyboard opens, from the pane's
// top-left corner.
const QPoint keyboardMenuOffset(5, 5);

constexpr double metresPerInch = 0.0254;

} // namespace

CGraphView::CGraphView(QWidget *parent) : CPaneView(parent)
{
    setObjectName(QStringLiteral("graphView"));
    // Every paint covers the whole pane from its off-screen image.
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (CZephalonteApp *app = theApp())
        app->theGraphView = this;
}

CGraphView::~CGraphView()
{
    CZephalonteApp *app = theApp();
    if (app && app->theGraphView == this)
        app->theGraphView = nullptr;
}

void CGraphView::invalidatePeriod()
{
    periodValid = false;
    update();
}

void CGraphView::paintEvent(QPaintEvent *)
{
    // Drawn off-screen and copied in one go, so the pane never flickers.
    QImage buffer(size(), QImage::Format_RGB32);
    // Sizes follow the window's dots per inch, not the image's default.
    buffer.setDotsPerMeterX(qRound(logicalDpiX() / metresPerInch));
    buffer.setDotsPerMeterY(qRound(logicalDpiY() / metresPerInch));
    buffer.fill(palette().color(QPalette::Base));
    CZephalonteApp *app = theApp();
    if (app && app->theDocument) {
        QPainter painter(&buffer);
        const GraphLayout drawn = drawGraph(painter, *app->theDocument, app->selectedDate, *this,
                                            rect(), screenGraphK, false);
        plotRect = drawn.plotRect;
        if (!app->theDocument->dayList().empty()) {
            dayWidth = drawn.dayWidth;
            prevButtonRect = drawn.prevButtonRect;
            nextButtonRect = drawn.nextButtonRect;
        }
    }
    QPainter(this).drawImage(0, 0, buffer);
}

void CGraphView::printGraph(QPainter &painter, const QRect &pageRect)
{
    CZephalonteApp *app = theApp();
    if (!app || !app->theDocument)
        return;
    // The page's layout is not kept: clicks on the pane go by its own.
    drawGraph(painter, *app->theDocument, app->selectedDate, *this, pageRect, paperGraphK, true);
}

void CGraphView::mousePressEvent(QMouseEvent *event)
{
    CZephalonteApp *app = theApp();
    const QPoint at = event->position().toPoint();
    // Nothing to move or select before a drawing has worked out a period.
    if (event->button() != Qt::LeftButton || !app || !app->theDocument || !periodValid) {
        CPaneView::mousePressEvent(event);
        return;
    }
    const std::int32_t nDays = app->theDocument->graphSettings.graphNDays;
    if (prevButtonRect.contains(at.x(), at.y())) {
        movePeriod(periodMovedEarlier(*this, nDays));
        return;
    }
    if (nextButtonRect.contains(at.x(), at.y())) {
        movePeriod(periodMovedLater(*this, nDays));
        return;
    }
    if (at.x() >= plotRect.left && at.x() < plotRect.right && at.y() >= plotRect.bottom) {
        if (const auto index = clickedDayIndex(at.x(), plotRect.left, dayWidth, periodDays)) {
            app->selectedDate = periodStart + std::chrono::days{*index};
            app->updateAllViews();
            return;
        }
    }
    CPaneView::mousePressEvent(event);
}

void CGraphView::movePeriod(const GraphPeriodState &moved)
{
    static_cast<GraphPeriodState &>(*this) = moved;
    update();
}

QMenu *CGraphView::createContextMenu(QWidget *parent)
{
    auto *menu = new QMenu(parent);
    QMenu *periods = menu->addMenu(ui(graphtext::periodSubmenu));
    CZephalonteApp *app = theApp();
    for (std::size_t i = 0; i < graphPeriodChoices.size(); ++i) {
        const std::int32_t nDays = graphPeriodChoices[i];
        QAction *action = periods->addAction(ui(frametext::graphPeriodItems[i]));
        action->setCheckable(true);
        action->setChecked(app && app->theDocument &&
                           app->theDocument->isGraphPeriodChecked(nDays));
        connect(action, &QAction::triggered, this, [nDays] {
            if (CZephalonteApp *current = theApp())
                current->setGraphPeriod(nDays);
        });
    }
    // The settings dialog belongs to the main window's command; the item
    // follows it, available exactly when that is.
    QAction *settings = menu->addAction(ui(graphtext::graphSettingsItem));
    QAction *frameCommand =
        app && app->mainFrame() ? app->mainFrame()->action(FrameAction::GraphSettings) : nullptr;
    settings->setEnabled(frameCommand && frameCommand->isEnabled());
    if (frameCommand)
        connect(settings, &QAction::triggered, frameCommand, &QAction::trigger);
    return menu;
}

void CGraphView::contextMenuEvent(QContextMenuEvent *event)
{
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard
                          ? mapToGlobal(keyboardMenuOffset)
                          : event->globalPos();
    // Owned by the top-level window, as the menus of the main window are.
    QMenu *menu = createContextMenu(window());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(at);
}

bool CGraphView::isCommandEnabled(PaneCommand command) const
{
    return command == PaneCommand::Print || command == PaneCommand::PrintDirect ||
           command == PaneCommand::PrintPreview;
}

void CGraphView::runCommand(PaneCommand command)
{
    printGraphPage(this, command);
}
