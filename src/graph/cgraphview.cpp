#include "graph/cgraphview.h"

#include "app/czephalonteapp.h"

CGraphView::CGraphView(QWidget *parent) : CPaneView(parent)
{
    setObjectName(QStringLiteral("graphView"));
    // A plain view shows the window colour until it draws its own content.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
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
