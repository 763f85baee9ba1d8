// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;

// The one gate between a control's click and its handler. A press can arrive by the
// mouse, the keyboard, a delayed animateClick or a screen reader's press action; the
// last two reach a button whatever its state, so every handler is wired through here
// and runs only while a player could use the control: on screen, enabled, and not
// under a modal window.
namespace ActionGuard {

bool mayAct(const QWidget *control);

// True while a modal window other than `window` itself (or one it owns) is up.
bool isBlockedByModal(const QWidget *window);

// Wires `signal` of `control` to `handler`, which runs only when mayAct(control).
template<typename Control, typename Signal, typename Receiver>
QMetaObject::Connection connectAction(Control *control, Signal signal, Receiver *receiver,
                                      void (Receiver::*handler)())
{
    return QObject::connect(control, signal, receiver, [control, receiver, handler] {
        if (mayAct(control))
            (receiver->*handler)();
    });
}

} // namespace ActionGuard
