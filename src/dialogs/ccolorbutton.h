#pragma once

#include "journal/graphsettings.h"

#include <QPushButton>

// A push button that shows a colour as a raised swatch and lets the user
// choose another one with the colour chooser. The colour lives only in the
// button: its owner reads it back when its dialog ends with OK.
class CColorButton : public QPushButton {
    Q_OBJECT
  public:
    explicit CColorButton(QWidget *parent = nullptr);

    // 0x00BBGGRR, as the journal holds colours.
    Colour colour() const { return colour_; }
    void setColour(Colour colour);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    void chooseColour();

    Colour colour_ = 0;
};
