#include "widgets/screenfollower.h"

#include <QObject>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace {

const QString followerName = QStringLiteral("screenFollower");

// Lives as the window's child; it watches the screen the window is on now
// and moves its watch along when the window changes screens.
class ScreenFollower : public QObject {
  public:
    ScreenFollower(QWidget *window, std::function<void()> changed)
        : QObject(window), changed_(std::move(changed))
    {
        setObjectName(followerName);
        QWindow *handle = window->windowHandle();
        connect(handle, &QWindow::screenChanged, this, [this](QScreen *screen) {
            watch(screen);
            changed_();
        });
        watch(handle->screen());
    }

  private:
    void watch(QScreen *screen)
    {
        disconnect(areaChange_);
        disconnect(dpiChange_);
        if (!screen)
            return;
        areaChange_ = connect(screen, &QScreen::availableGeometryChanged, this,
                              [this](const QRect &) { changed_(); });
        dpiChange_ = connect(screen, &QScreen::logicalDotsPerInchChanged, this,
                             [this](qreal) { changed_(); });
    }

    std::function<void()> changed_;
    QMetaObject::Connection areaChange_;
    QMetaObject::Connection dpiChange_;
};

} // namespace

void followWindowScreen(QWidget *window, std::function<void()> changed)
{
    if (!window || !window->windowHandle() ||
        window->findChild<QObject *>(followerName, Qt::FindDirectChildrenOnly))
        return;
    new ScreenFollower(window, std::move(changed));
}
