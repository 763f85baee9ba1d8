// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// One of the 28 places on the table, as the window shows it: which card lies there,
// whether its face shows, whether it is still on the table and whether a click on it counts.
struct Spot
{
    qint16 card = 0;        // card number 1 to 52; 0 before the first deal and on the stock
    bool faceUp = false;    // the face of `card` shows; otherwise the table's card back
    bool onTable = true;    // false once the card is taken (the stock: once it is used up)
    bool clickable = false;

    friend bool operator==(const Spot &, const Spot &) = default;
};
