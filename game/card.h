// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A card is its number, 1 to 52: spades, hearts, clubs and diamonds in blocks of
// thirteen, each from ace to king. Everything else about a card is derived here.
namespace Card {

constexpr int Count = 52;
constexpr int RanksPerSuit = 13;

enum class Suit { Spades, Hearts, Clubs, Diamonds };

// The rank 1 (ace) to 13 (king). Numbers below 1 pass through unchanged.
int rank(int cardNumber);
Suit suit(int cardNumber);
bool isRed(int cardNumber);

// "Ace", "2" ... "10", "Jack", "Queen", "King": the word printed on the face.
QString rankLabel(int rank);

// The spoken name, for example "Seven of Hearts".
QString name(int cardNumber);

} // namespace Card
