#include "dialogs/ccolorbutton.h"

#include "dialogs/settingsforms.h"

#include <QColorDialog>
#include <QPaintEvent>
#include <QPainter>

namespace {

// The colour fills the button but this much of its edge, which holds the
// three-dimensional frame.
constexpr int swatchInset = 3;

// A dotted one-pixel pen: three pixels on, three off.
constexpr int dotLength = 3;

QColor toQColor(Colour colour)
{
    return QColor(static_cast<int>(colour & 0xff), static_cast<int>((colour >> 8) & 0xff),
                  static_cast<int>((colour >> 16) & 0xff));
}

Colour fromQColor(const QColor &colour)
{
    return static_cast<Colour>(colour.red()) | static_cast<Colour>(colour.green()) << 8 |
           static_cast<Colour>(colour.blue()) << 16;
}

// A line from `from` to `to` that leaves `to` itself unpainted, as the frame's
// corners are laid out pixel by pixel. Only horizontal and vertical lines.
void lineUpTo(QPainter &painter, QPoint from, QPoint to)
{
    const QPoint step((to.x() > from.x()) - (to.x() < from.x()),
                      (to.y() > from.y()) - (to.y() < from.y()));
    if (step.isNull())
        return;
    painter.drawLine(from, to - step);
}

// The outline of `box` (its outermost pixels) in dots, clockwise from the
// top-left corner. Walked pixel by pixel rather than stroked with a dash
// pattern, whose phase at the corners the paint engine chooses.
void dottedOutline(QPainter &painter, const QRect &box)
{
    QList<QPoint> outline;
    for (int x = box.left(); x < box.right(); ++x)
        outline.append({x, box.top()});
    for (int y = box.top(); y < box.bottom(); ++y)
        outline.append({box.right(), y});
    for (int x = box.right(); x > box.left(); --x)
        outline.append({x, box.bottom()});
    for (int y = box.bottom(); y > box.top(); --y)
        outline.append({box.left(), y});
    if (outline.isEmpty())
        outline.append(box.topLeft()); // one pixel high and wide
    for (qsizetype i = 0; i < outline.size(); ++i)
        if (i / dotLength % 2 == 0)
            painter.drawPoint(outline[i]);
}

} // namespace

CColorButton::CColorButton(QWidget *parent) : QPushButton(parent)
{
    connect(this, &QPushButton::clicked, this, &CColorButton::chooseColour);
}

void CColorButton::setColour(Colour colour)
{
    if (colour == colour_)
        return;
    colour_ = colour;
    // Screen readers hear the colour the swatch shows.
    setAccessibleDescription(
        QColor(colour & 0xff, (colour >> 8) & 0xff, (colour >> 16) & 0xff).name());
    update();
}

QSize CColorButton::sizeHint() const
{
    return {44, 18};
}

QSize CColorButton::minimumSizeHint() const
{
    return {2 * swatchInset + 2, 2 * swatchInset + 2};
}

void CColorButton::chooseColour()
{
    QColorDialog chooser(toQColor(colour_), this);
    if (chooser.exec() != QDialog::Accepted)
        return;
    colour_ = fromQColor(chooser.selectedColor());
    // At once, not at the next idle moment: the chooser has just closed over
    // the button.
    repaint();
}

// The swatch always looks raised: pressed, disabled and default states draw
// the same. Right and bottom are exclusive, as in the frame's layout.
void CColorButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &pal = palette();
    const int left = 0;
    const int top = 0;
    const int right = width();
    const int bottom = height();
    painter.fillRect(rect(), pal.color(QPalette::Button));

    painter.setPen(QPen(pal.color(QPalette::Light), 0));
    lineUpTo(painter, {left, bottom}, {left, top});
    lineUpTo(painter, {left, top}, {right, top});
    painter.setPen(QPen(pal.color(QPalette::Shadow), 0));
    lineUpTo(painter, {left, bottom - 1}, {right - 1, bottom - 1});
    lineUpTo(painter, {right - 1, bottom - 1}, {right - 1, top - 1});
    painter.setPen(QPen(pal.color(QPalette::Dark), 0));
    lineUpTo(painter, {left + 1, bottom - 2}, {right - 2, bottom - 2});
    lineUpTo(painter, {right - 2, bottom - 2}, {right - 2, top});

    const QRect swatch(left + swatchInset, top + swatchInset, right - left - 2 * swatchInset,
                       bottom - top - 2 * swatchInset);
    if (swatch.isEmpty())
        return;
    painter.fillRect(swatch, toQColor(colour_));
    if (hasFocus()) {
        painter.setPen(QPen(toQColor(complementaryColour(colour_)), 0));
        dottedOutline(painter, swatch);
    }
}
