#include "app/appicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// clang-format off
const char *const cutXpm[] = {
    "16 15 3 1",
    "  c None",
    ". c #000000",
    "b c #000080",
    "                ",
    "     .     .    ",
    "     .     .    ",
    "     .     .    ",
    "     ..   ..    ",
    "      .   .     ",
    "      .. ..     ",
    "       ...      ",
    "        .       ",
    "       b.b      ",
    "     bbb bbb    ",
    "    b  b b  b   ",
    "    b  b b  b   ",
    "    b  b b  b   ",
    "     bb   bb    ",
};

const char *const copyXpm[] = {
    "16 15 4 1",
    "  c None",
    ". c #000000",
    "w c #FFFFFF",
    "b c #000080",
    "                ",
    " ......         ",
    " .wwww..        ",
    " .w..w.w.       ",
    " .wwww....      ",
    " .w...bbbbbb    ",
    " .wwwwbwwwwbb   ",
    " .w...bw..wbwb  ",
    " .wwwwbwwwwbbbb ",
    " .w...bw....wb  ",
    " .wwwwbwwwwwwb  ",
    " ......w....wb  ",
    "      bwwwwwwb  ",
    "      bbbbbbbb  ",
    "                ",
};

const char *const pasteXpm[] = {
    "16 15 6 1",
    "  c None",
    ". c #000000",
    "y c #808000",
    "g c #808080",
    "w c #FFFFFF",
    "b c #000080",
    "                ",
    "     ....       ",
    " ....gwwg....   ",
    ".yyy.w..w.yyy.  ",
    ".yy..........   ",
    ".yy.yyyyyy.y.   ",
    ".yy.yyybbbbbbb  ",
    ".yy.yyybwwwwwbb ",
    ".yy.yyybw...wbwb",
    ".yy.yyybwwwwwbbb",
    ".yy.yyybw....wb ",
    ".yyyyyybwwwwwwb ",
    " .......w....wb ",
    "       bwwwwwwb ",
    "       bbbbbbbb ",
};

const char *const printXpm[] = {
    "16 15 5 1",
    "  c None",
    ". c #000000",
    "w c #FFFFFF",
    "g c #C0C0C0",
    "y c #FFFF00",
    "                ",
    "    .........   ",
    "   .wwwwwwww.   ",
    "   .w.....w.    ",
    "  .wwwwwwww.    ",
    "  .w.....w..... ",
    " ..........ggg. ",
    ".gggggggggggg.g.",
    "............ggg.",
    ".gggggggggg.gg. ",
    ".ggggggggyygg.g.",
    ".gggggggggg.ggg.",
    " ............g. ",
    "  .gggggggggg.  ",
    "   ..........   ",
};

const char *const aboutXpm[] = {
    "16 15 3 1",
    "  c None",
    ". c #000000",
    "b c #000080",
    "                ",
    "      bbbb      ",
    "     bb  bb     ",
    "     bb  bb     ",
    "         bb     ",
    "        bb      ",
    "       bb       ",
    "       bb       ",
    "       bb       ",
    "                ",
    "       bb       ",
    "       bb       ",
    "  .          .  ",
    "  ............  ",
    "                ",
};
// clang-format on

QPixmap paintProgramIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);

    // Sky and sea in a round window.
    painter.setPen(QPen(QColor(0x1f, 0x4e, 0x8c), 2));
    painter.setBrush(QColor(0xcf, 0xe8, 0xff));
    painter.drawEllipse(QRectF(2, 2, 60, 60));
    QPainterPath sea;
    sea.addEllipse(QRectF(3, 3, 58, 58));
    QPainterPath below;
    below.addRect(QRectF(0, 44, 64, 20));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x3a, 0x8f, 0xd8));
    painter.drawPath(sea.intersected(below));

    // The seal: body, head, eyes, nose and whiskers.
    painter.setPen(QPen(QColor(0x40, 0x48, 0x55), 1.5));
    painter.setBrush(QColor(0xb8, 0xc2, 0xcc));
    painter.drawEllipse(QRectF(12, 30, 40, 24));
    painter.drawEllipse(QRectF(18, 12, 28, 26));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QRectF(25, 20, 4, 5));
    painter.drawEllipse(QRectF(35, 20, 4, 5));
    painter.drawEllipse(QRectF(30, 27, 4, 3));
    painter.setPen(QPen(QColor(0x40, 0x48, 0x55), 1));
    painter.drawLine(QLineF(28, 30, 20, 29));
    painter.drawLine(QLineF(36, 30, 44, 29));
    return pixmap;
}

} // namespace

QIcon toolbarIcon(ToolbarIcon which)
{
    switch (which) {
    case ToolbarIcon::Cut:
        return QIcon(QPixmap(cutXpm));
    case ToolbarIcon::Copy:
        return QIcon(QPixmap(copyXpm));
    case ToolbarIcon::Paste:
        return QIcon(QPixmap(pasteXpm));
    case ToolbarIcon::Print:
        return QIcon(QPixmap(printXpm));
    case ToolbarIcon::About:
        return QIcon(QPixmap(aboutXpm));
    }
    return {};
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(paintProgramIcon(size));
    return icon;
}
