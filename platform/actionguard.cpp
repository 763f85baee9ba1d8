// SPDX-License-Identifier: GPL-3.0-or-later
#include "actionguard.h"

#include <QApplication>
#include <QWidget>

namespace {

// Whether `window` is `owner` or a window opened over it: parent links run across
// window boundaries, unlike QWidget::isAncestorOf.
bool isOwnedBy(const QWidget *window, const QWidget *owner)
{
    for (const QWidget *widget = window; widget; widget = widget->parentWidget()) {
        if (widget == owner)
            return true;
    }
    return false;
}

} // namespace

namespace ActionGuard {

bool isBlockedByModal(const QWidget *window)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const QWidget *modal : windows) {
        if (!modal->isVisible() || modal->windowModality() == Qt::NonModal
            || isOwnedBy(window, modal))
            continue;
        // An application-modal window blocks every other; a window-modal one blocks the
        // windows it was opened over.
        if (modal->windowModality() == Qt::ApplicationModal || isOwnedBy(modal, window))
            return true;
    }
    return false;
}

bool mayAct(const QWidget *control)
{
    return control && control->isVisible() && control->isEnabled()
        && !isBlockedByModal(control->window());
}

} // namespace ActionGuard
