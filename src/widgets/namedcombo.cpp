#include "widgets/namedcombo.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>

namespace {

constexpr char namedProperty[] = "zphAccessibleName";

class NamedComboAccessible : public QAccessibleWidget {
  public:
    explicit NamedComboAccessible(QComboBox *combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        const auto *combo = static_cast<const QComboBox *>(widget());
        if (t == QAccessible::Name)
            return combo->property(namedProperty).toString();
        if (t == QAccessible::Value)
            return combo->currentText();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *namedComboFactory(const QString &className, QObject *object)
{
    auto *combo = qobject_cast<QComboBox *>(object);
    if (className == QLatin1String("QComboBox") && combo &&
        combo->property(namedProperty).isValid())
        return new NamedComboAccessible(combo);
    return nullptr;
}

} // namespace

void nameComboBox(QComboBox *combo, const QString &name)
{
    QAccessible::installFactory(namedComboFactory);
    combo->setProperty(namedProperty, name);
    combo->setAccessibleName(name);
    // Qt may have made the list's usual interface already (its events make
    // one even with no screen reader attached); the next query makes ours.
    if (QAccessibleInterface *made = QAccessible::queryAccessibleInterface(combo))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}
