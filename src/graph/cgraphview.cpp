#include "graph/cgraphview.h"

#include "graph/graphdescription.h"
#include "graph/graphrenderer.h"
#include "graph/graphtexts.h"
#include "journal/cquilloxdoc.h"
#include "pane/journalcontext.h"
#include "qttext/uitext.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QContextMenuEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

// Where a context menu asked for from the keyboard opens, from the pane's
// top-left corner.
const QPoint keyboardMenuOffset(5, 5);

constexpr double metresPerInch = 0.0254;

// A chart named "グラフ" whose description says what it shows.
class GraphAccessible : public QAccessibleWidget {
  public:
    explicit GraphAccessible(CGraphView *view)
        : QAccessibleWidget(view, QAccessible::Chart, ui(graphtext::accessibleName))
    {
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description)
            return static_cast<CGraphView *>(widget())->accessibleSummary();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *graphFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("CGraphView") && object && object->isWidgetType())
        return new GraphAccessible(static_cast<CGraphView *>(object));
    return nullptr;
}

} // namespace

CGraphView::CGraphView(JournalContext &context, QWidget *parent) : CPaneView(context, parent)
{
    setObjectName(QStringLiteral("graphView"));
    QAccessible::installFactory(graphFactory);
    // Every paint covers the whole pane from its off-screen image.
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&context, &JournalContext::graphPeriodReset, this, &CGraphView::invalidatePeriod);
    connect(&context, &JournalContext::progressOptionsChanged, this,
            qOverload<>(&CGraphView::update));
}

QString CGraphView::accessibleSummary()
{
    ensurePeriod();
    std::optional<double> trend;
    if (context().progressOptions().trendLine && periodValid) {
        // The trend of the period's last day with a weight.
        trend = context().trends().weight.trendOn(periodEnd);
    }
    return QString::fromStdString(graphDescription(context().document(), *this, trend));
}

GraphOverlays CGraphView::overlays() const
{
    const ProgressOptions options = context().progressOptions();
    return {options.trendLine ? &context().trends() : nullptr, options.goalLine};
}

void CGraphView::invalidatePeriod()
{
    periodValid = false;
    update();
}

void CGraphView::ensurePeriod()
{
    const CQuilloxDoc &doc = context().document();
    if (!periodValid && !doc.dayList().empty())
        static_cast<GraphPeriodState &>(*this) = graphPeriodStateFor(doc, todayDate());
}

void CGraphView::paintEvent(QPaintEvent *)
{
    // Drawn off-screen and copied in one go, so the pane never flickers; at
    // the screen's own pixel ratio, so that it stays sharp on a scaled desktop.
    // The image is kept from paint to paint: at 200 % a wide pane's takes
    // tens of megabytes, and making it anew each time cost more than drawing.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (buffer_.size() != pixels || buffer_.devicePixelRatio() != ratio) {
        buffer_ = QImage(pixels, QImage::Format_RGB32);
        buffer_.setDevicePixelRatio(ratio);
    }
    QImage &buffer = buffer_;
    // Sizes follow the window's dots per inch, not the image's default.
    buffer.setDotsPerMeterX(qRound(logicalDpiX() / metresPerInch));
    buffer.setDotsPerMeterY(qRound(logicalDpiY() / metresPerInch));
    buffer.fill(palette().color(QPalette::Base));
    ensurePeriod();
    const CQuilloxDoc &doc = context().document();
    {
        QPainter painter(&buffer);
        const GraphLayout drawn = drawGraph(painter, doc, context().selectedDate(), *this, rect(),
                                            screenGraphK, false, overlays());
        plotRect = drawn.plotRect;
        if (!doc.dayList().empty()) {
            dayWidth = drawn.dayWidth;
            dayAxis = drawn.dayAxis;
            prevButtonRect = drawn.prevButtonRect;
            nextButtonRect = drawn.nextButtonRect;
        }
    }
    QPainter pane(this);
    pane.drawImage(0, 0, buffer);
    drawFocusFrame(pane, rect());
}

void CGraphView::printGraph(QPainter &painter, const QRect &pageRect)
{
    ensurePeriod();
    // The page's layout is not kept: clicks on the pane go by its own.
    drawGraph(painter, context().document(), context().selectedDate(), *this, pageRect, paperGraphK,
              true, overlays());
}

void CGraphView::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    // Nothing to move or select before a drawing has worked out a period.
    if (event->button() != Qt::LeftButton || !periodValid) {
        CPaneView::mousePressEvent(event);
        return;
    }
    const std::int32_t nDays = context().document().graphSettings().graphNDays;
    if (prevButtonRect.contains(at.x(), at.y())) {
        movePeriod(periodMovedEarlier(*this, nDays));
        return;
    }
    if (nextButtonRect.contains(at.x(), at.y())) {
        movePeriod(periodMovedLater(*this, nDays));
        return;
    }
    if (at.x() >= plotRect.left && at.x() < plotRect.right && at.y() >= plotRect.bottom) {
        if (const auto index = clickedDayIndex(dayAxis, at.x())) {
            // The days as last drawn; a period moved since then keeps its end.
            context().setSelectedDate(std::min(periodStart + std::chrono::days{*index}, periodEnd));
            context().updateAllViews();
            return;
        }
    }
    CPaneView::mousePressEvent(event);
}

void CGraphView::keyPressEvent(QKeyEvent *event)
{
    static constexpr std::pair<int, GraphKey> keys[] = {
        {Qt::Key_Left, GraphKey::previousDay},     {Qt::Key_Right, GraphKey::nextDay},
        {Qt::Key_PageUp, GraphKey::earlierPeriod}, {Qt::Key_PageDown, GraphKey::laterPeriod},
        {Qt::Key_Home, GraphKey::firstDay},        {Qt::Key_End, GraphKey::lastDay},
    };
    const CQuilloxDoc &doc = context().document();
    const auto *key = std::find_if(std::begin(keys), std::end(keys),
                                   [event](const auto &k) { return k.first == event->key(); });
    if (key == std::end(keys) || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier ||
        doc.dayList().empty()) {
        CPaneView::keyPressEvent(event);
        return;
    }
    ensurePeriod();
    const GraphKeyMove move =
        graphKeyMove(key->second, context().selectedDate(), *this, doc.graphSettings().graphNDays,
                     doc.firstDay()->date, doc.lastDay()->date);
    movePeriod(move.period);
    if (move.selected != context().selectedDate()) {
        context().setSelectedDate(move.selected);
        context().updateAllViews();
    }
}

void CGraphView::movePeriod(const GraphPeriodState &moved)
{
    const bool changed = !(moved == static_cast<const GraphPeriodState &>(*this));
    static_cast<GraphPeriodState &>(*this) = moved;
    update();
    if (changed) {
        // What the description says has changed with the period.
        QAccessibleEvent event(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
}

QMenu *CGraphView::createContextMenu(QWidget *parent)
{
    auto *menu = new QMenu(parent);
    QMenu *periods = menu->addMenu(ui(graphtext::periodSubmenu));
    static_assert(graphtext::graphPeriodItems.size() == graphPeriodChoices.size());
    for (std::size_t i = 0; i < graphPeriodChoices.size(); ++i) {
        const std::int32_t nDays = graphPeriodChoices[i];
        QAction *action = periods->addAction(ui(graphtext::graphPeriodItems[i]));
        action->setCheckable(true);
        action->setChecked(context().document().isGraphPeriodChecked(nDays));
        connect(action, &QAction::triggered, this,
                [this, nDays] { context().setGraphPeriod(nDays); });
    }
    // The two switches of the trend and goal lines, as in the view menu.
    for (const auto &[text, option] :
         {std::pair{graphtext::trendLineItem, &ProgressOptions::trendLine},
          std::pair{graphtext::goalLineItem, &ProgressOptions::goalLine}}) {
        QAction *action = menu->addAction(ui(text));
        action->setCheckable(true);
        action->setChecked(context().progressOptions().*option);
        connect(action, &QAction::toggled, this, [this, option](bool on) {
            ProgressOptions options = context().progressOptions();
            options.*option = on;
            context().setProgressOptions(options);
        });
    }
    // The settings dialog belongs to the main window's command; the item
    // follows it, available exactly when that is.
    QAction *settings = menu->addAction(ui(graphtext::graphSettingsItem));
    QAction *frameCommand = settingsAction_.data();
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
    if (isCommandEnabled(command))
        emit printRequested(command);
}
