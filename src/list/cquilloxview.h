#pragma once

#include "app/cpaneview.h"

// The journal list: every entry, one line per day (top middle pane).
// Registers itself as the application's theListView.
class CQuilloxView : public CPaneView {
    Q_OBJECT
  public:
    explicit CQuilloxView(QWidget *parent = nullptr);
    ~CQuilloxView() override;
};
