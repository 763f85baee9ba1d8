// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowowner.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace WindowOwner {

void setOwner(QWidget *window, QWidget *owner)
{
    if (!window || !owner)
        return;
    // The window system hears of a transient parent only for a dialog.
    if (window->windowType() != Qt::Dialog)
        window->setWindowFlags((window->windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    // The link is between native windows, so both are made now.
    window->winId();
    owner->window()->winId();
    window->windowHandle()->setTransientParent(owner->window()->windowHandle());
}

bool belongsTo(const QWidget *window, const QWidget *owner)
{
    const QWindow *ownerHandle = owner ? owner->window()->windowHandle() : nullptr;
    return ownerHandle && window && window->windowHandle()
        && window->windowHandle()->transientParent() == ownerHandle;
}

QWidget *ownedWindow(const QWidget *owner)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && belongsTo(window, owner))
            return window;
    }
    return nullptr;
}

} // namespace WindowOwner
