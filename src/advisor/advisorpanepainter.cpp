#include "advisor/advisorpanepainter.h"

#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QSvgRenderer>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The mascot stands 4 pixels above the pane's bottom edge.
constexpr int mascotBottomOffset = 104;
// The balloon's outline, inclusive, from (8, 8) to (w - 9, h - 113).
constexpr int balloonMargin = 8;
constexpr int balloonBottomSpace = 112;
constexpr qreal balloonCornerRadius = 4;
// The tail: 10 pixels wide where it opens out of the balloon's bottom edge,
// its tip 8 pixels further down.
constexpr int tailHalfWidth = 5;
constexpr int tailTop = 113;
constexpr int tailTip = 105;

} // namespace

const QImage &mascotPicture(bool flipperRaised)
{
    // Each read at its first showing: the window opens with the seal at rest.
    if (flipperRaised) {
        static const QImage raised(QStringLiteral(":/mascot/seal-wave.png"));
        return raised;
    }
    static const QImage atRest(QStringLiteral(":/mascot/seal-rest.png"));
    return atRest;
}

QImage mascotPicture(bool flipperRaised, qreal ratio)
{
    if (ratio == 1)
        return mascotPicture(flipperRaised);
    // The last ratio asked for: a pane is drawn at one ratio until it moves
    // to another screen.
    struct Drawn {
        qreal ratio = 0;
        QImage picture;
    };
    static Drawn drawn[2];
    Drawn &cached = drawn[flipperRaised ? 1 : 0];
    if (cached.ratio != ratio) {
        QSvgRenderer source(flipperRaised ? QStringLiteral(":/mascot/seal-wave.svg")
                                          : QStringLiteral(":/mascot/seal-rest.svg"));
        QImage picture(mascotSize * ratio, QImage::Format_RGB32);
        picture.setDevicePixelRatio(ratio);
        picture.fill(advisorBackground);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        source.render(&painter, QRectF(QPointF(0, 0), QSizeF(mascotSize)));
        painter.end();
        cached = Drawn{ratio, picture};
    }
    return cached.picture;
}

void paintAdvisorPane(QPainter &painter, const QSize &size, bool flipperRaised,
                      const QColor &balloonColour)
{
    const int w = size.width();
    const int h = size.height();
    const qreal ratio = painter.device()->devicePixelRatioF();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(QPoint(0, 0), size), advisorBackground);
    painter.drawImage(QPoint((w - mascotSize.width()) / 2, h - mascotBottomOffset),
                      mascotPicture(flipperRaised, ratio));

    // On a scaled screen the outline keeps its weight: round(ratio) device
    // pixels, over the logical pixels it runs through.
    QPen outline(Qt::black, 0);
    const qreal centre = ratio != 1 ? 0.5 : 0;
    if (ratio != 1) {
        outline.setWidth(std::max(1, static_cast<int>(std::lround(ratio))));
        outline.setCosmetic(true);
    }
    painter.setPen(outline);
    painter.setBrush(balloonColour);
    painter.drawRoundedRect(QRectF(balloonMargin + centre, balloonMargin + centre,
                                   w - 2 * balloonMargin - 1,
                                   h - balloonBottomSpace - balloonMargin - 1),
                            balloonCornerRadius, balloonCornerRadius);

    // The tail's fill covers the balloon's bottom edge between its two upper
    // corners, so that the balloon opens into it.
    const int m = w / 2;
    const std::array<QPoint, 3> tail = {QPoint(m - tailHalfWidth, h - tailTop),
                                        QPoint(m + tailHalfWidth, h - tailTop),
                                        QPoint(m, h - tailTip)};
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(tail.data(), static_cast<int>(tail.size()));
    painter.setPen(outline);
    if (ratio != 1)
        painter.translate(centre, centre);
    const std::array<QPoint, 3> tailEdges = {tail[0], tail[2], tail[1]};
    painter.drawPolyline(tailEdges.data(), static_cast<int>(tailEdges.size()));
    painter.restore();
}
