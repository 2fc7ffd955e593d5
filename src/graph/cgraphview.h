#pragma once

#include "app/cpaneview.h"

// The graph of the recent weeks or months (bottom pane, full width).
// Registers itself as the application's theGraphView.
class CGraphView : public CPaneView {
    Q_OBJECT
  public:
    explicit CGraphView(QWidget *parent = nullptr);
    ~CGraphView() override;

    // False when the date window must be worked out again from graphNDays
    // before the next drawing (a new period was chosen or a journal loaded).
    bool periodValid = false;
    void invalidatePeriod();
};
