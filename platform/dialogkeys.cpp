// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogkeys.h"

#include <QKeyEvent>
#include <QPushButton>

namespace DialogKeys {

bool handle(QKeyEvent *event, const QWidget *window, QPushButton *defaultButton,
            const std::function<void()> &escape)
{
    if (event->key() == Qt::Key_Escape) {
        escape();
        return true;
    }
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    auto *button = qobject_cast<QPushButton *>(window->focusWidget());
    if (!button || !button->isVisible())
        button = defaultButton;
    if (!button)
        return false;
    button->click(); // through the button's guarded handler
    return true;
}

} // namespace DialogKeys
