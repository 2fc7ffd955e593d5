#include "pane/cpaneview.h"

#include "pane/journalcontext.h"
#include "pane/journaleditor.h"

CPaneView::CPaneView(JournalContext &context, QWidget *parent) : QWidget(parent), context_(context)
{
    // Clicking a pane makes it the active one, as F6 does.
    setFocusPolicy(Qt::StrongFocus);
    connect(&context_, &JournalContext::documentUpdated, this, &CPaneView::receiveUpdate);
    connect(&context_.editor(), &JournalEditor::edited, this,
            [this](const Edit &, QObject *sender) { receiveUpdate(sender); });
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
