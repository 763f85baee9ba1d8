// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>

class QObject;

// Tells assistive technology that a control's name is different now, so that it does
// not go on using the name it read before. This is not a way to have something spoken:
// that is what Announcer is for.
namespace AccessibleNotice {

void nameChanged(QObject *object);

} // namespace AccessibleNotice
