#pragma once

#include <QRect>

class QFont;

// Places given in dialog units of a font, as a dialog template gives them:
// across, a quarter of the font's average character width; down, an eighth
// of its height. Scaled by the font in use, a form keeps the proportions it
// was drawn with.
class DialogUnits {
  public:
    explicit DialogUnits(const QFont &font);

    // Rounded to the nearest pixel, as the dialog manager's MulDiv does.
    int across(int units) const { return (units * baseX_ + 2) / 4; }
    int down(int units) const { return (units * baseY_ + 4) / 8; }
    QRect toPixels(const QRect &units) const
    {
        return {across(units.x()), down(units.y()), across(units.width()), down(units.height())};
    }

  private:
    int baseX_ = 0;
    int baseY_ = 0;
};
