// SPDX-License-Identifier: GPL-3.0-or-later
#include "focusvisibility.h"

#include <QApplication>
#include <QWidget>

FocusVisibility::FocusVisibility(QObject *parent)
    : QObject(parent)
{
}

void FocusVisibility::install()
{
    if (!qApp || qApp->findChild<FocusVisibility *>(QString(), Qt::FindDirectChildrenOnly))
        return;
    qApp->installEventFilter(new FocusVisibility(qApp));
}

bool FocusVisibility::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched->isWidgetType())
        return false;
    QWidget *window = static_cast<QWidget *>(watched)->window();
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
        m_keyboard = event->type() == QEvent::KeyPress;
        if (window->testAttribute(Qt::WA_KeyboardFocusChange) != m_keyboard) {
            window->setAttribute(Qt::WA_KeyboardFocusChange, m_keyboard);
            window->update();
            if (QWidget *focus = window->focusWidget())
                focus->update();
        }
        break;
    case QEvent::FocusIn:
        window->setAttribute(Qt::WA_KeyboardFocusChange, m_keyboard);
        break;
    default:
        break;
    }
    return false;
}
