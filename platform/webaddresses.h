// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where the built-in browser goes. The game passes the home page to the browser
// process as text, so both sides read these from one place.
namespace WebAddresses {

// The maker's site, as the browser's banner and first caption name it.
inline QString siteName() { return QStringLiteral("Marigold on the Web"); }

// The maker's home page is bundled with the browser so that it works offline.
inline QString homePage() { return QStringLiteral("qrc:/web/marigold.html"); }

// A public web search page, for the toolbar's Search button.
inline QString searchPage() { return QStringLiteral("https://duckduckgo.com/"); }

} // namespace WebAddresses
