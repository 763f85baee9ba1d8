// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// A secondary window belongs to the window it stands over. It is made a dialog transient
// for that window (WM_TRANSIENT_FOR on X11), so any window manager keeps it above its
// owner and hands the focus back to the owner when it closes. It stays out of the
// owner's widget tree: a child window would be disabled with the table it belongs to.
namespace WindowOwner {

// Call while `window` is hidden: turning it into a dialog hides it.
void setOwner(QWidget *window, QWidget *owner);

bool belongsTo(const QWidget *window, const QWidget *owner);

// The shown window that belongs to `owner`, if any.
QWidget *ownedWindow(const QWidget *owner);

} // namespace WindowOwner
