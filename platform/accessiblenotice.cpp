// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessiblenotice.h"

namespace AccessibleNotice {

void nameChanged(QObject *object)
{
    if (QAccessible::isActive()) {
        QAccessibleEvent event(object, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace AccessibleNotice
