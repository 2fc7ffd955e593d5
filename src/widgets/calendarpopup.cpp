#include "widgets/calendarpopup.h"

#include <QChildEvent>
#include <QDateEdit>
#include <QEvent>
#include <QScreen>

#include <algorithm>

namespace {

// Moves the calendar each time it is shown: Qt places it afresh, left-aligned,
// at every showing. The calendar is the picker's child window, made only when
// it first drops down: asking the picker for it earlier would make a hidden
// calendar whose cells screen readers hear about at every change of date.
class RightAlignedPopup : public QObject {
  public:
    explicit RightAlignedPopup(QDateEdit *picker) : QObject(picker), picker_(picker)
    {
        picker->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == picker_ && event->type() == QEvent::ChildAdded) {
            QObject *child = static_cast<QChildEvent *>(event)->child();
            if (child != this)
                child->installEventFilter(this);
        } else if (watched != picker_ && event->type() == QEvent::Show) {
            auto *popup = static_cast<QWidget *>(watched);
            if (popup->isWindow()) {
                QPoint topLeft = picker_->mapToGlobal(QPoint(picker_->width(), picker_->height()));
                topLeft.rx() -= popup->width();
                if (const QScreen *screen = picker_->screen())
                    topLeft.setX(std::max(topLeft.x(), screen->availableGeometry().left()));
                popup->move(topLeft);
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QDateEdit *picker_;
};

} // namespace

void alignCalendarPopupRight(QDateEdit *picker)
{
    new RightAlignedPopup(picker);
}
