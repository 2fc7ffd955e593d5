#include "widgets/calendarpopup.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QEvent>
#include <QScreen>

#include <algorithm>

namespace {

// Moves the calendar each time it is shown: Qt places it afresh, left-aligned,
// at every showing.
class RightAlignedPopup : public QObject {
  public:
    RightAlignedPopup(QDateEdit *picker, QWidget *popup) : QObject(picker), picker_(picker)
    {
        popup->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            auto *popup = static_cast<QWidget *>(watched);
            QPoint topLeft = picker_->mapToGlobal(QPoint(picker_->width(), picker_->height()));
            topLeft.rx() -= popup->width();
            if (const QScreen *screen = picker_->screen())
                topLeft.setX(std::max(topLeft.x(), screen->availableGeometry().left()));
            popup->move(topLeft);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QDateEdit *picker_;
};

} // namespace

void alignCalendarPopupRight(QDateEdit *picker)
{
    if (QCalendarWidget *calendar = picker->calendarWidget())
        new RightAlignedPopup(picker, calendar->window());
}
