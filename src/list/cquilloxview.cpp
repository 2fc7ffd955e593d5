#include "list/cquilloxview.h"

#include "app/czephalonteapp.h"

CQuilloxView::CQuilloxView(QWidget *parent) : CPaneView(parent)
{
    setObjectName(QStringLiteral("listView"));
    // A plain view shows the window colour until it draws its own content.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    if (CZephalonteApp *app = theApp())
        app->theListView = this;
}

CQuilloxView::~CQuilloxView()
{
    CZephalonteApp *app = theApp();
    if (app && app->theListView == this)
        app->theListView = nullptr;
}
