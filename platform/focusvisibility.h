// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// Keeps Qt's "focus moved by the keyboard" mark on a window true to the player's last
// input. Qt sets the mark whenever focus passes on to the next control, even when a
// mouse click hid the control that had it; this clears it again until a key is pressed,
// so focus rings show only to a player using the keyboard.
class FocusVisibility : public QObject
{
    Q_OBJECT

public:
    // Watches the whole application; installing it again does nothing.
    static void install();

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit FocusVisibility(QObject *parent);

    bool m_keyboard = false;
};
