#include "app/cpaneview.h"

#include "app/czephalonteapp.h"

CPaneView::CPaneView(QWidget *parent) : QWidget(parent)
{
    // Clicking a pane makes it the active one, as F6 does.
    setFocusPolicy(Qt::StrongFocus);
    if (CZephalonteApp *app = theApp())
        connect(app, &CZephalonteApp::documentUpdated, this, &CPaneView::receiveUpdate);
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
