#include "advisor/cmessageview.h"

CMessageView::CMessageView(QWidget *parent) : CPaneView(parent)
{
    setObjectName(QStringLiteral("messageView"));
    // A plain view shows the window colour until it draws its own content.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}
