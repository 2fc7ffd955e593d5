#include "pane/cpaneview.h"

#include "pane/journalcontext.h"
#include "pane/journaleditor.h"

#include <QApplication>
#include <QPainter>
#include <QRegion>
#include <QStyle>
#include <QStyleOptionFocusRect>

CPaneView::CPaneView(JournalContext &context, QWidget *parent) : QWidget(parent), context_(context)
{
    // Clicking a pane makes it the active one, as F6 does.
    setFocusPolicy(Qt::StrongFocus);
    connect(&context_, &JournalContext::documentUpdated, this, &CPaneView::receiveUpdate);
    connect(&context_.editor(), &JournalEditor::edited, this,
            [this](const Edit &, QObject *sender) { receiveUpdate(sender); });
}

bool CPaneView::holdsFocus() const
{
    const QWidget *focus = QApplication::focusWidget();
    return focus && (focus == this || isAncestorOf(focus));
}

void CPaneView::showFocusFrame()
{
    if (focusFrameShown_)
        return;
    focusFrameShown_ = true;
    connect(qApp, &QApplication::focusChanged, this, [this] {
        if (holdsFocus() != focusHeld_) {
            focusHeld_ = !focusHeld_;
            update();
        }
    });
}

void CPaneView::drawFocusFrame(QPainter &painter, const QRect &frame) const
{
    if (!focusFrameShown_ || !holdsFocus())
        return;
    QStyleOptionFocusRect option;
    option.initFrom(this);
    // Shown however the focus came, by F6 or a click: some styles draw it
    // only after a Tab otherwise.
    option.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
    option.rect = frame;
    option.backgroundColor = palette().color(QPalette::Base);
    // Only the rim: some styles also tint what the rectangle encloses, which
    // would wash over the whole pane.
    painter.save();
    painter.setClipRegion(QRegion(frame).subtracted(QRegion(frame.adjusted(2, 2, -2, -2))));
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    painter.restore();
}

bool CPaneView::isCommandEnabled(PaneCommand) const
{
    return false;
}

void CPaneView::runCommand(PaneCommand)
{
}

void CPaneView::onUpdate(QObject *)
{
    update();
}

void CPaneView::receiveUpdate(QObject *sender)
{
    if (sender != this)
        onUpdate(sender);
}
