// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <Qt>

class QString;
class QWidget;

// Input as a person gives it. Keys go to the window that has the keyboard focus, and Qt
// hands them on from there as it does a real key press: shortcuts first, then the focus
// widget and up its parents. A click goes to the middle of what shows of a control (or
// of a part of it, such as a row of a list) and lands on whatever is on top there. Each
// says false when a person could not do it: no window has the focus, or the control is
// hidden or wholly covered.
namespace UserInput {

bool press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
bool type(const QString &text);
bool click(QWidget *control, const QRect &part = QRect(), Qt::MouseButton button = Qt::LeftButton);
// Closes a window as the window manager's close box or its close key does.
bool closeWindow(QWidget *window);

} // namespace UserInput
