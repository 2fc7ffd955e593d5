#pragma once

#include "app/cpaneview.h"

// The entry form: one day's entry, typed, stored or deleted (top left pane).
class CInputView : public CPaneView {
    Q_OBJECT
  public:
    explicit CInputView(QWidget *parent = nullptr);
};
