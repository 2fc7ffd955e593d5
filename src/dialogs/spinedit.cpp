#include "dialogs/spinedit.h"

#include "dialogs/formfield.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include <algorithm>

SpinEdit::SpinEdit(QWidget *parent) : QAbstractSpinBox(parent)
{
    connect(lineEdit(), &QLineEdit::textChanged, this, [this](const QString &text) {
        update(); // the arrows' enabled state follows the text
        emit textChanged(text);
    });
}

void SpinEdit::setRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    lastPosition_ = std::clamp(lastPosition_, minimum_, maximum_);
    updateGeometry();
    update();
}

void SpinEdit::setText(const QString &text)
{
    if (lineEdit()->text() != text)
        lineEdit()->setText(text);
}

void SpinEdit::stopAutoRepeat()
{
    // The base class stops its timers on a release of the mouse button that
    // started them; a release when no button is held changes nothing.
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(), QPointF(), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(this, &release);
}

int SpinEdit::steppingBase() const
{
    const QByteArray text = lineEdit()->text().toUtf8();
    if (const auto value = parseFieldInteger(std::string_view(text.constData(), text.size())))
        return std::clamp(*value, minimum_, maximum_);
    return lastPosition_;
}

void SpinEdit::stepBy(int steps)
{
    const long long next = static_cast<long long>(steppingBase()) + steps;
    lastPosition_ = static_cast<int>(std::clamp<long long>(next, minimum_, maximum_));
    setText(QString::number(lastPosition_));
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    const int base = steppingBase();
    StepEnabled enabled = StepNone;
    if (base < maximum_)
        enabled |= StepUpEnabled;
    if (base > minimum_)
        enabled |= StepDownEnabled;
    return enabled;
}

QValidator::State SpinEdit::validate(QString &, int &) const
{
    return QValidator::Acceptable;
}

void SpinEdit::fixup(QString &) const
{
    // Leave the text exactly as typed.
}

QSize SpinEdit::sizeHint() const
{
    ensurePolished();
    const QFontMetrics metrics(fontMetrics());
    const QString widest = QString::number(minimum_).size() > QString::number(maximum_).size()
                               ? QString::number(minimum_)
                               : QString::number(maximum_);
    // Room for the widest number, a blank, and the blinking cursor.
    const int width = metrics.horizontalAdvance(widest + QStringLiteral("  ")) + 2;
    const int height = lineEdit()->sizeHint().height();
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, QSize(width, height), this);
}

QSize SpinEdit::minimumSizeHint() const
{
    return sizeHint();
}
