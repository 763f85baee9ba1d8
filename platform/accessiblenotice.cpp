#include "accessiblenotice.h"

namespace {

AccessibleNotice::Listener &listener()
{
    static AccessibleNotice::Listener current;
    return current;
}

} // namespace

namespace AccessibleNotice {

void nameChanged(QObject *object)
{
    if (QAccessible::isActive()) {
        QAccessibleEvent event(object, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    if (listener())
        listener()(QAccessible::NameChanged, object);
}

void setListener(Listener newListener)
{
    listener() = std::move(newListener);
}

} // namespace AccessibleNotice
