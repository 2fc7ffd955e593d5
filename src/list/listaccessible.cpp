#include "list/listaccessible.h"

#include "list/cquilloxview.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>

#include <map>

namespace {

// One line. Known by its day rather than its row, so that an item a screen
// reader holds stays the same line when days are added above it.
class ListItemAccessible : public QAccessibleInterface {
  public:
    ListItemAccessible(CQuilloxView *view, Date day) : view_(view), day_(day) {}

    bool isValid() const override { return view_ && row() >= 0; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        return view_ && view_->window() ? view_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(view_.data());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && view_ ? view_->rowText(row()) : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!view_)
            return {};
        const QRect local = view_->rowRect(row());
        return local.isEmpty() ? QRect() : QRect(view_->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.selectable = true;
        s.focusable = true;
        if (!view_)
            return s;
        const bool selected = view_->selectedRow() >= 0 && view_->selectedRow() == row();
        s.selected = selected;
        s.focused = selected && view_->hasFocus();
        s.invisible = view_->rowRect(row()).isEmpty();
        s.offscreen = s.invisible;
        return s;
    }

    // The line's row now, -1 once its day is gone.
    int row() const
    {
        if (!view_)
            return -1;
        const int count = view_->rowCount();
        // Rows run newest first; the day's row is found by its place.
        for (int first = 0, last = count - 1; first <= last;) {
            const int middle = (first + last) / 2;
            const Date at = *view_->rowDate(middle);
            if (at == day_)
                return middle;
            if (at > day_)
                first = middle + 1;
            else
                last = middle - 1;
        }
        return -1;
    }

  private:
    QPointer<CQuilloxView> view_;
    Date day_;
};

class ListAccessible : public QAccessibleWidget {
  public:
    explicit ListAccessible(CQuilloxView *view) : QAccessibleWidget(view, QAccessible::List) {}
    ~ListAccessible() override
    {
        for (const auto &[day, id] : items_)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return view()->rowCount(); }
    QAccessibleInterface *child(int index) const override
    {
        const std::optional<Date> day = view()->rowDate(index);
        if (!day)
            return nullptr;
        const auto found = items_.find(*day);
        if (found != items_.end())
            return QAccessible::accessibleInterface(found->second);
        auto *item = new ListItemAccessible(view(), *day);
        items_.emplace(*day, QAccessible::registerAccessibleInterface(item));
        return item;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *item = dynamic_cast<const ListItemAccessible *>(child);
        return item && item->parent() == this ? item->row() : -1;
    }
    QAccessibleInterface *focusChild() const override
    {
        return view()->hasFocus() ? child(view()->selectedRow()) : nullptr;
    }

  private:
    CQuilloxView *view() const { return static_cast<CQuilloxView *>(widget()); }

    mutable std::map<Date, QAccessible::Id> items_;
};

QAccessibleInterface *listFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("CQuilloxView") && object && object->isWidgetType())
        return new ListAccessible(static_cast<CQuilloxView *>(object));
    return nullptr;
}

} // namespace

void installListAccessibility()
{
    QAccessible::installFactory(listFactory);
}
