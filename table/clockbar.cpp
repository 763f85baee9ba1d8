// SPDX-License-Identifier: GPL-3.0-or-later
#include "clockbar.h"

#include <QAccessibleWidget>

namespace {

class ClockBarAccessible : public QAccessibleWidget
{
public:
    explicit ClockBarAccessible(ClockBar *bar)
        : QAccessibleWidget(bar, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        const int seconds = static_cast<const ClockBar *>(widget())->value();
        return seconds == 1 ? ClockBar::tr("Time left: 1 second")
                            : ClockBar::tr("Time left: %1 seconds").arg(seconds);
    }
};

QAccessibleInterface *clockBarAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("ClockBar") && object && object->isWidgetType())
        return new ClockBarAccessible(static_cast<ClockBar *>(object));
    return nullptr;
}

} // namespace

ClockBar::ClockBar(QWidget *parent)
    : QProgressBar(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(clockBarAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
}
