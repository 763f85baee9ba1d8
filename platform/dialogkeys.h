// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QKeyEvent;
class QPushButton;
class QWidget;

// Enter and Escape for the game's windows that are not dialogs: Enter presses the
// focused button, or `defaultButton` when no button has the focus; Escape runs
// `escape`. True when the key was taken.
namespace DialogKeys {

bool handle(QKeyEvent *event, const QWidget *window, QPushButton *defaultButton,
            const std::function<void()> &escape);

} // namespace DialogKeys
