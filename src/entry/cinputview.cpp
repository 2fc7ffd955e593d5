#include "entry/cinputview.h"

CInputView::CInputView(QWidget *parent) : CPaneView(parent)
{
    setObjectName(QStringLiteral("inputView"));
}
