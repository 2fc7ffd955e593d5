#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

class QPainter;

// The advisor pane's fixed colours and geometry (pixels).
inline constexpr QColor advisorBackground{235, 255, 199};
inline constexpr QSize mascotSize{160, 100};
// The text box lies over the balloon, 4 pixels inside it on every side.
inline constexpr int messageBoxMargin = 12;
// Height under the text box: the balloon's lower margin, the tail and the mascot.
inline constexpr int messageBoxBottomSpace = 116;

// One of the two mascot pictures, on the pane's background colour.
const QImage &mascotPicture(bool flipperRaised);
// The same for a surface of the given device pixel ratio: the picture itself
// at 1, else drawn from its vector source at that ratio.
QImage mascotPicture(bool flipperRaised, qreal ratio);

// The whole pane but the text box: the background, the mascot, the balloon
// filled with `balloonColour` and its tail pointing down at the mascot. Sizes
// are logical pixels; a painter on a scaled image draws them sharp.
void paintAdvisorPane(QPainter &painter, const QSize &size, bool flipperRaised,
                      const QColor &balloonColour);
