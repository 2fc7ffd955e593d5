#include "list/listpainter.h"

#include "faces/designfaces.h"
#include "list/listgeometry.h"
#include "list/listline.h"
#include "list/listrows.h"
#include "qttext/uitext.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

namespace {

constexpr int listFontPixelHeight = 14;

} // namespace

QRawFont listRawFont()
{
    return QRawFont::fromFont(listFont());
}

QFont listFont()
{
    QFont font(designFamily(DesignFace::Gothic));
    font.setPixelSize(listFontPixelHeight);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

void drawJournalList(QPainter &painter, const QRawFont &font, const QRect &client,
                     const ListRows &rows, int scrollPosition, Date selectedDate,
                     const QColor &background, const QColor &text)
{
    painter.fillRect(client, background);
    const ListRowSpan span = listVisibleRows(scrollPosition, client.height(), rows.count());
    if (span.first > span.last)
        return;

    painter.save();
    // The glyphs are placed one after another by their advances, without
    // shaping: a fixed-pitch face needs none, and shaping every line took
    // more than half of a paint.
    // Text is placed by its top, the baseline one ascent below.
    const qreal ascent = font.ascent();
    QList<QPointF> positions;
    for (int row = span.first; row <= span.last; ++row) {
        const DayRecord &entry = rows.entry(row);
        const int top = client.top() + row * listRowHeight - scrollPosition;
        const bool selected = entry.date == selectedDate;
        if (selected)
            painter.fillRect(QRect(client.left(), top, client.width(), listRowHeight),
                             listSelectionColour);
        // The band is light whatever the palette, so its text stays dark.
        painter.setPen(selected ? QColor(Qt::black) : text);
        QGlyphRun run;
        run.setRawFont(font);
        run.setGlyphIndexes(font.glyphIndexesForString(fromJournalText(listLine(entry))));
        const QList<QPointF> advances = font.advancesForGlyphIndexes(run.glyphIndexes());
        positions.resize(advances.size());
        qreal x = 0;
        for (qsizetype i = 0; i < advances.size(); ++i) {
            positions[i] = QPointF(x, 0);
            x += advances[i].x();
        }
        run.setPositions(positions);
        painter.drawGlyphRun(QPointF(client.left() + listTextLeft, top + listTextTop + ascent),
                             run);
    }
    painter.restore();
}
