#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

// The program's own pictures, all painted from vector shapes at whatever size and
// device pixel ratio they are asked for.
namespace Artwork {

// The marigold, the program's icon.
QIcon windowIcon();
// A fan of cards, for the menu window.
QIcon menuIcon();
// A small card with a flower, for the credits, instructions and card-back windows.
QIcon smallIcon();

// The people who made the game, 300 x 208 logical pixels.
QPixmap teamPicture(qreal devicePixelRatio);
// "Marigold", a small painting credited in the credits window, 75 x 100 logical pixels.
QPixmap creditsArt(qreal devicePixelRatio);

// The window icon at one pixel size, for the icon files installed for the desktop.
QImage windowIconImage(int pixelSize);

} // namespace Artwork
