#pragma once

#include "app/cpaneview.h"

// The advisor: the mascot and its remarks on the selected day (top right pane).
class CMessageView : public CPaneView {
    Q_OBJECT
  public:
    explicit CMessageView(QWidget *parent = nullptr);
};
