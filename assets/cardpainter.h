// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/card.h"

#include <QPainterPath>
#include <QRectF>

class QPainter;

// Vector artwork of the cards, drawn in logical card coordinates (75 x 100), so that
// the same drawing is crisp at any device pixel ratio.
namespace CardPainter {

constexpr int Width = 75;
constexpr int Height = 100;
constexpr int BackCount = 10;

// A white card with its rank word at the top and one large suit symbol below.
void paintFace(QPainter &painter, int cardNumber);

// One of the ten card backs, 0 to 9.
void paintBack(QPainter &painter, int backNumber);
// What back `backNumber` shows, in a few words for a player who cannot see it.
QString backDescription(int backNumber);

// A suit's symbol, as on the faces, filling `box`.
QPainterPath suitShape(Card::Suit suit, const QRectF &box);

} // namespace CardPainter
