#include "list/cquilloxview.h"

#include "journal/cquilloxdoc.h"
#include "list/listline.h"
#include "list/listpainter.h"
#include "pane/journalcontext.h"
#include "qttext/uitext.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

namespace {

// One notch of an ordinary mouse wheel, in QWheelEvent::angleDelta units.
constexpr int wheelNotch = 120;

// Room for a line with a short memo, and the top row of the main window.
constexpr int preferredColumns = 64;
constexpr int preferredHeight = 400;

} // namespace

CQuilloxView::CQuilloxView(JournalContext &context, QWidget *parent) : CPaneView(context, parent)
{
    setObjectName(QStringLiteral("listView"));
    setBackgroundRole(QPalette::Base);
    // Every paint covers the whole client area from the off-screen image, so
    // erasing first would only flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);

    rawFont_ = listRawFont();
    // Measured on a digit: the face's average takes the full-width characters in.
    columnWidth_ = QFontMetrics(listFont()).horizontalAdvance(QLatin1Char('0'));

    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    scrollBar_->hide();
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this] { update(); });
    // The bar's own page step sizes its slider (the client height); a click
    // in its track moves by the list's page step, as Page Down does.
    connect(scrollBar_, &QScrollBar::actionTriggered, this, [this](int action) {
        if (action == QAbstractSlider::SliderPageStepAdd ||
            action == QAbstractSlider::SliderPageStepSub) {
            const int delta =
                action == QAbstractSlider::SliderPageStepAdd ? sizes_.pageStep : -sizes_.pageStep;
            scrollBar_->setSliderPosition(
                listScrolledBy(scrollBar_->value(), delta, scrollBar_->maximum()));
        }
    });
}

bool CQuilloxView::isCommandEnabled(PaneCommand command) const
{
    switch (command) {
    case PaneCommand::NextLine:
    case PaneCommand::PreviousLine:
    case PaneCommand::FirstLine:
    case PaneCommand::LastLine:
    case PaneCommand::NextPage:
    case PaneCommand::PreviousPage:
        return true;
    case PaneCommand::Print:
    case PaneCommand::PrintDirect:
    case PaneCommand::PrintPreview:
        return true;
    case PaneCommand::Cut:
    case PaneCommand::Copy:
    case PaneCommand::Paste:
        return false;
    }
    return false;
}

void CQuilloxView::runCommand(PaneCommand command)
{
    switch (command) {
    case PaneCommand::NextLine:
        moveSelection(ListMove::Older);
        break;
    case PaneCommand::PreviousLine:
        moveSelection(ListMove::Newer);
        break;
    case PaneCommand::FirstLine:
        moveSelection(ListMove::Latest);
        break;
    case PaneCommand::LastLine:
        moveSelection(ListMove::Earliest);
        break;
    case PaneCommand::NextPage:
        scrollBy(sizes_.pageStep);
        break;
    case PaneCommand::PreviousPage:
        scrollBy(-sizes_.pageStep);
        break;
    case PaneCommand::Print:
    case PaneCommand::PrintDirect:
    case PaneCommand::PrintPreview:
        // The list has no printed form of its own: it prints the graph page.
        emit printRequested(command);
        break;
    case PaneCommand::Cut:
    case PaneCommand::Copy:
    case PaneCommand::Paste:
        break;
    }
}

int CQuilloxView::scrollPosition() const
{
    return scrollBar_->value();
}

QRect CQuilloxView::clientRect() const
{
    const int barWidth = scrollBar_->isHidden() ? 0 : scrollBar_->sizeHint().width();
    return QRect(0, 0, std::max(0, width() - barWidth), height());
}

QSize CQuilloxView::sizeHint() const
{
    const int textWidth = listTextLeft + preferredColumns * columnWidth_;
    return QSize(textWidth + scrollBar_->sizeHint().width(), preferredHeight);
}

QSize CQuilloxView::minimumSizeHint() const
{
    return QSize(listTotalWidth, listRowHeight);
}

void CQuilloxView::onUpdate(QObject *)
{
    refresh();
    update();
}

bool CQuilloxView::syncRows()
{
    return rows_.refresh(context().document());
}

void CQuilloxView::refresh()
{
    syncRows();
    sizes_ = listScrollSizes(rows_.count());
    selectedRow_ = rows_.rowOf(context().selectedDate());
    applyScrollRange();
    const int from = placedAtShownSize_ ? scrollBar_->value() : 0;
    scrollBar_->setValue(
        listScrollToShow(selectedRow_, from, clientRect().height(), scrollBar_->maximum()));
    announceSelectedRow();
}

void CQuilloxView::announceSelectedRow()
{
    // A selection event, and a focus event while the list has the keyboard;
    // nothing when the day is the one last announced or has no line.
    const Date selected = context().selectedDate();
    if (selectedRow_ < 0 || announcedDay_ == selected)
        return;
    announcedDay_ = selected;
    QAccessibleEvent selection(this, QAccessible::Selection);
    selection.setChild(selectedRow_);
    QAccessible::updateAccessibility(&selection);
    announceFocusedRow();
}

void CQuilloxView::announceFocusedRow()
{
    if (!hasFocus() || selectedRow_ < 0)
        return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(selectedRow_);
    QAccessible::updateAccessibility(&focus);
}

void CQuilloxView::focusInEvent(QFocusEvent *event)
{
    CPaneView::focusInEvent(event);
    // Qt tells screen readers of the list itself once this returns; the
    // selected line follows it, so that the reader reads the line and not
    // only the number of lines.
    QMetaObject::invokeMethod(this, &CQuilloxView::announceFocusedRow, Qt::QueuedConnection);
}

int CQuilloxView::rowCount()
{
    syncRows();
    return rows_.count();
}

QString CQuilloxView::rowText(int row)
{
    syncRows();
    if (row < 0 || row >= rows_.count())
        return {};
    return fromJournalText(listLine(rows_.entry(row)));
}

std::optional<Date> CQuilloxView::rowDate(int row)
{
    syncRows();
    if (row < 0 || row >= rows_.count())
        return std::nullopt;
    return rows_.entry(row).date;
}

QRect CQuilloxView::rowRect(int row) const
{
    const QRect band(0, row * listRowHeight - scrollPosition(), clientRect().width(),
                     listRowHeight);
    return band.intersected(clientRect());
}

void CQuilloxView::applyScrollRange()
{
    // Only vertical: the bar takes width, never height, from the client area.
    const int clientHeight = height();
    const int maximum = listScrollMaximum(sizes_.totalHeight, clientHeight);
    scrollBar_->setRange(0, maximum);
    scrollBar_->setPageStep(std::max(1, clientHeight));
    scrollBar_->setSingleStep(sizes_.lineStep);
    const int barWidth = scrollBar_->sizeHint().width();
    scrollBar_->setGeometry(width() - barWidth, 0, barWidth, height());
    scrollBar_->setVisible(maximum > 0);
}

void CQuilloxView::scrollBy(int delta)
{
    scrollBar_->setValue(listScrolledBy(scrollBar_->value(), delta, scrollBar_->maximum()));
}

void CQuilloxView::moveSelection(ListMove move)
{
    // A change not yet announced must not leave the selected row pointing elsewhere.
    if (syncRows())
        selectedRow_ = rows_.rowOf(context().selectedDate());
    if (const std::optional<int> row = listRowAfterMove(move, selectedRow_, rows_.count())) {
        selectRow(*row);
        repaint();
    }
}

void CQuilloxView::selectRow(int row)
{
    if (row < 0 || row >= rows_.count())
        return;
    const Date date = rows_.entry(row).date;
    if (date == context().selectedDate())
        return;
    context().setSelectedDate(date);
    context().updateAllViews();
}

void CQuilloxView::paintEvent(QPaintEvent *)
{
    syncRows();
    const QRect client = clientRect();
    if (client.isEmpty())
        return;
    placedAtShownSize_ = true;
    const qreal ratio = devicePixelRatioF();
    const QSize imageSize = client.size() * ratio;
    if (offscreen_.size() != imageSize) {
        offscreen_ = QImage(imageSize, QImage::Format_RGB32);
        offscreen_.setDevicePixelRatio(ratio);
    }
    {
        QPainter painter(&offscreen_);
        drawJournalList(painter, rawFont_, QRect(QPoint(0, 0), client.size()), rows_,
                        scrollPosition(), context().selectedDate(), palette().color(QPalette::Base),
                        palette().color(QPalette::Text));
    }
    QPainter pane(this);
    pane.drawImage(client.topLeft(), offscreen_);
    drawFocusFrame(pane, client);
}

void CQuilloxView::resizeEvent(QResizeEvent *event)
{
    CPaneView::resizeEvent(event);
    if (placedAtShownSize_)
        applyScrollRange();
    else
        refresh();
}

void CQuilloxView::showEvent(QShowEvent *event)
{
    CPaneView::showEvent(event);
    if (!placedAtShownSize_)
        refresh();
}

void CQuilloxView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        CPaneView::mousePressEvent(event);
        return;
    }
    event->accept();
    syncRows();
    const int y = static_cast<int>(event->position().y());
    selectRow(listRowAt(y, scrollPosition(), rows_.count()));
}

void CQuilloxView::wheelEvent(QWheelEvent *event)
{
    // Taken either way, so that no enclosing widget scrolls instead.
    event->accept();
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))
        return;
    // A zero vertical turn is a sideways tilt or the end of a touch-pad
    // gesture, not a turn downwards.
    const int turn = event->angleDelta().y();
    if (turn == 0)
        return;
    if ((turn > 0) != (wheelRemainder_ > 0))
        wheelRemainder_ = 0;
    wheelRemainder_ += turn;
    const int notches = wheelRemainder_ / wheelNotch;
    wheelRemainder_ -= notches * wheelNotch;
    // Turned away from the user (positive) scrolls up.
    scrollBy(-notches * sizes_.lineStep);
}

void CQuilloxView::keyPressEvent(QKeyEvent *event)
{
    if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        const std::pair<int, PaneCommand> keys[] = {
            {Qt::Key_Down, PaneCommand::NextLine},     {Qt::Key_Up, PaneCommand::PreviousLine},
            {Qt::Key_Home, PaneCommand::FirstLine},    {Qt::Key_End, PaneCommand::LastLine},
            {Qt::Key_PageDown, PaneCommand::NextPage}, {Qt::Key_PageUp, PaneCommand::PreviousPage},
        };
        for (const auto &[key, command] : keys) {
            if (event->key() == key) {
                runCommand(command);
                return;
            }
        }
    }
    CPaneView::keyPressEvent(event);
}
