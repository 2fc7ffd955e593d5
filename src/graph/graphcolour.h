#pragma once

#include "journal/graphsettings.h"

#include <QColor>

// A colour of the graph's settings, stored as the file keeps it (red in the
// low byte), as Qt paints it.
inline QColor toQColor(Colour c)
{
    return QColor(static_cast<int>(c & 0xff), static_cast<int>((c >> 8) & 0xff),
                  static_cast<int>((c >> 16) & 0xff));
}
