#include "list/listpainter.h"

#include "dialogs/uitext.h"
#include "list/listgeometry.h"
#include "list/listline.h"
#include "list/listrows.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

const char *const listFontFamily = "ＭＳ ゴシック";
constexpr int listFontPixelHeight = 14;

} // namespace

QFont listFont()
{
    QFont font(ui(listFontFamily));
    font.setPixelSize(listFontPixelHeight);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

void drawJournalList(QPainter &painter, const QRect &client, const ListRows &rows,
                     int scrollPosition, Date selectedDate, const QColor &background,
                     const QColor &text)
{
    painter.fillRect(client, background);
    const ListRowSpan span = listVisibleRows(scrollPosition, client.height(), rows.count());
    if (span.first > span.last)
        return;

    painter.save();
    const QFont font = listFont();
    painter.setFont(font);
    painter.setBackgroundMode(Qt::TransparentMode);
    // Text is placed by its top, the baseline one ascent below.
    const int ascent = QFontMetrics(font).ascent();
    for (int row = span.first; row <= span.last; ++row) {
        const DayRecord &entry = rows.entry(row);
        const int top = client.top() + row * listRowHeight - scrollPosition;
        const bool selected = entry.date == selectedDate;
        if (selected)
            painter.fillRect(QRect(client.left(), top, client.width(), listRowHeight),
                             listSelectionColour);
        // The band is light whatever the palette, so its text stays dark.
        painter.setPen(selected ? QColor(Qt::black) : text);
        painter.drawText(QPoint(client.left() + listTextLeft, top + listTextTop + ascent),
                         fromJournalText(listLine(entry)));
    }
    painter.restore();
}
