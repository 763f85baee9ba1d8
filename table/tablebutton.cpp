// SPDX-License-Identifier: GPL-3.0-or-later
#include "tablebutton.h"

#include <QStyleOptionButton>

void TableButton::initStyleOption(QStyleOptionButton *option) const
{
    QPushButton::initStyleOption(option);
    if (!isEnabled() && !testAttribute(Qt::WA_ForceDisabled)) {
        option->state |= QStyle::State_Enabled;
        option->palette.setCurrentColorGroup(isActiveWindow() ? QPalette::Active
                                                              : QPalette::Inactive);
    }
}
