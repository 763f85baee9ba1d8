// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <Qt>

class QString;
class QWidget;

// Input as a person gives it. Keys go to the window with the keyboard focus and on as a real
// press does (shortcuts, then the focus widget and its parents); a click goes to the middle of
// what shows of a control, or of a part of it, and lands on whatever is on top there. Each says
// false when a person could not do it: no window has the focus, or the control does not show.
namespace UserInput {

bool press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
bool type(const QString &text);
bool click(QWidget *control, const QRect &part = QRect(), Qt::MouseButton button = Qt::LeftButton);
// As the window manager's close box or close key does.
bool closeWindow(QWidget *window);

} // namespace UserInput
