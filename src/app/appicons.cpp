#include "app/appicons.h"

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
    // The same pictures the desktop entry installs, so the window and the
    // launcher show one icon.
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/zephalonte-48.png"));
    icon.addFile(QStringLiteral(":/icons/zephalonte-256.png"));
    return icon;
}
