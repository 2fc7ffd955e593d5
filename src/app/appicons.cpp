#include "app/appicons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

#include <array>

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

// The program's icon in the sizes the desktop entry installs, so the window
// and the launcher show one picture. A plain QIcon decodes every file it is
// given at once, which cost a tenth of the window's start-up; this one
// reads its files at the first picture asked of it (a window system that
// shows the icon asks when the window appears; the about box when it opens).
class ProgramIconEngine final : public QIconEngine {
  public:
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        // As Qt's own engine: the smallest picture at least as large as the
        // size asked for, else the largest, shrunk to fit.
        QSize actual = fileSizes.back();
        for (const QSize &candidate : fileSizes) {
            if (candidate.width() >= size.width() && candidate.height() >= size.height()) {
                actual = candidate;
                break;
            }
        }
        if (actual.width() > size.width() || actual.height() > size.height())
            actual.scale(size, Qt::KeepAspectRatio);
        return actual;
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        // Ratio 1: the icon that holds this engine has scaled the size already.
        return loaded().pixmap(size, 1.0, mode, state);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        loaded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {fileSizes.begin(), fileSizes.end()};
    }

    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("ZephalonteProgramIcon"); }
    QIconEngine *clone() const override { return new ProgramIconEngine(*this); }

  private:
    // Smallest first.
    static constexpr std::array<QSize, 2> fileSizes = {QSize(48, 48), QSize(256, 256)};

    const QIcon &loaded()
    {
        if (files_.isNull()) {
            for (const QSize &size : fileSizes)
                files_.addFile(QStringLiteral(":/icons/zephalonte-%1.png").arg(size.width()), size);
        }
        return files_;
    }

    QIcon files_;
};

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
    return QIcon(new ProgramIconEngine);
}
