// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>

// The browser toolbar's six pictures, drawn as vectors in a 24 x 24 box so they are
// crisp at any size and device pixel ratio.
namespace BrowserIcons {

// The picture for a toolbar key: "Back", "Forward", "Stop", "Refresh", "Home" or
// "Search"; a null icon for any other key.
QIcon icon(const QString &key);

} // namespace BrowserIcons
