// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>

namespace vantora {
namespace {

// Named by its caption (accessibleName or buddy label), its text the value.
class CaptionedValue : public QAccessibleWidget
{
public:
    CaptionedValue(QWidget *widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Value:
            return value();
        case QAccessible::Description:
            // A label has no value an assistive tool reads out; its description it does.
            if (role() == QAccessible::StaticText)
                return value();
            break;
        default:
            break;
        }
        return QAccessibleWidget::text(t);
    }

private:
    QString value() const
    {
        if (auto *label = qobject_cast<QLabel *>(widget()))
            return label->text();
        if (auto *box = qobject_cast<QComboBox *>(widget()))
            return box->currentText();
        return {};
    }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String("QWidget") && widget->isWindow())
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (className == QLatin1String("vantora::DataControl"))
        return new QAccessibleWidget(widget, QAccessible::ToolBar);
    if (className == QLatin1String("QComboBox") && static_cast<QComboBox *>(widget)->isEditable())
        return new CaptionedValue(widget, QAccessible::ComboBox);
    if (className == QLatin1String("QLabel") &&
        widget->property("class").toString() == QLatin1String("result"))
        return new CaptionedValue(widget, QAccessible::StaticText);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

void nameViewsByCaptions(QWidget *window)
{
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        auto *view = qobject_cast<QAbstractItemView *>(label->buddy());
        if (view && view->accessibleName().isEmpty())
            view->setAccessibleName(label->text().remove(QLatin1Char('&')).trimmed());
    }
}

} // namespace vantora
