#include "widgets/calendarpopup.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QEvent>
#include <QPointer>
#include <QScreen>

#include <algorithm>

namespace {

// Moves the calendar each time it is shown: Qt places it afresh, left-aligned,
// at every showing. Making the calendar costs a form's start-up as much as
// all its other controls, so it is asked for only at the first press or key
// in the picker, the only ways it drops down, just before the picker sees
// that event.
class RightAlignedPopup : public QObject {
  public:
    explicit RightAlignedPopup(QDateEdit *picker) : QObject(picker), picker_(picker)
    {
        picker->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (watched == picker_) {
            if (!popup_ && (type == QEvent::MouseButtonPress ||
                            type == QEvent::MouseButtonDblClick || type == QEvent::KeyPress)) {
                if (QCalendarWidget *calendar = picker_->calendarWidget()) {
                    popup_ = calendar->window();
                    popup_->installEventFilter(this);
                }
            }
        } else if (watched == popup_ && type == QEvent::Show) {
            QPoint topLeft = picker_->mapToGlobal(QPoint(picker_->width(), picker_->height()));
            topLeft.rx() -= popup_->width();
            if (const QScreen *screen = picker_->screen())
                topLeft.setX(std::max(topLeft.x(), screen->availableGeometry().left()));
            popup_->move(topLeft);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QDateEdit *picker_;
    // A calendar set in the picker's place later takes the old one with it.
    QPointer<QWidget> popup_;
};

} // namespace

void alignCalendarPopupRight(QDateEdit *picker)
{
    new RightAlignedPopup(picker);
}
