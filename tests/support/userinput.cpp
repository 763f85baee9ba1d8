// SPDX-License-Identifier: GPL-3.0-or-later
#include "userinput.h"

#include <QGuiApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace UserInput {

bool press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWindow *window = QGuiApplication::focusWindow();
    if (!window) {
        qWarning("no window has the keyboard focus");
        return false;
    }
    QTest::keyClick(window, key, modifiers);
    return true;
}

bool type(const QString &text)
{
    for (const QChar character : text) {
        QWindow *window = QGuiApplication::focusWindow();
        if (!window || character.unicode() > 0x7f) {
            qWarning("cannot type %s", qPrintable(QString(character)));
            return false;
        }
        QTest::keyClick(window, char(character.unicode()));
    }
    return true;
}

bool click(QWidget *control, const QRect &part, Qt::MouseButton button)
{
    if (!control || !control->isVisible()) {
        qWarning("%s is not on screen", control ? qPrintable(control->objectName()) : "nothing");
        return false;
    }
    QWidget *window = control->window();
    const QPoint middle = control->mapTo(window, (part.isNull() ? control->rect() : part).center());
    QWidget *onTop = window->childAt(middle);
    if (onTop != control && !control->isAncestorOf(onTop) && !(control == window && !onTop)) {
        qWarning("%s is covered by %s", qPrintable(control->objectName()),
                 onTop ? qPrintable(onTop->objectName()) : "nothing");
        return false;
    }
    QTest::mouseClick(window->windowHandle(), button, Qt::NoModifier, middle);
    return true;
}

} // namespace UserInput
