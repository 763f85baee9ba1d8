// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

// The program's own pictures, all painted from vector shapes at whatever size and
// device pixel ratio they are asked for.
namespace Artwork {

// The marigold, the program's icon, in the sizes a title bar and task bar ask for. The
// table shows it at start-up, where it cost a thirtieth of the start to paint, so its
// pixels are painted from windowIconImage at build time, as the desktop's icon files are.
QIcon windowIcon();
// A fan of cards, for the menu window.
QIcon menuIcon();
// A small card with a flower, for the credits, instructions and card-back windows.
QIcon smallIcon();

// The people who made the game, 300 x 208 logical pixels.
QPixmap teamPicture(qreal devicePixelRatio);
// "Marigold", a small painting credited in the credits window, 75 x 100 logical pixels.
QPixmap creditsArt(qreal devicePixelRatio);

// The window icon painted at one pixel size: the drawing behind windowIcon() and the
// icon files installed for the desktop.
QImage windowIconImage(int pixelSize);

} // namespace Artwork
