// SPDX-License-Identifier: GPL-3.0-or-later
#include "card.h"


namespace Card {

int rank(int cardNumber)
{
    if (cardNumber >= 40)
        return cardNumber - 39;
    if (cardNumber >= 27)
        return cardNumber - 26;
    if (cardNumber >= 14)
        return cardNumber - 13;
    return cardNumber;
}

Suit suit(int cardNumber)
{
    return static_cast<Suit>((cardNumber - 1) / RanksPerSuit);
}

bool isRed(int cardNumber)
{
    const Suit s = suit(cardNumber);
    return s == Suit::Hearts || s == Suit::Diamonds;
}

QString rankLabel(int rank)
{
    switch (rank) {
    case 1:
        return QStringLiteral("Ace");
    case 11:
        return QStringLiteral("Jack");
    case 12:
        return QStringLiteral("Queen");
    case 13:
        return QStringLiteral("King");
    default:
        return QString::number(rank);
    }
}

QString name(int cardNumber)
{
    static const char *const rankNames[] = {"Ace",   "Two",  "Three", "Four", "Five",
                                            "Six",   "Seven", "Eight", "Nine", "Ten",
                                            "Jack",  "Queen", "King"};
    static const char *const suitNames[] = {"Spades", "Hearts", "Clubs", "Diamonds"};
    if (cardNumber < 1 || cardNumber > Count)
        return QString();
    return QStringLiteral("%1 of %2").arg(QLatin1String(rankNames[rank(cardNumber) - 1]),
                                          QLatin1String(suitNames[int(suit(cardNumber))]));
}

} // namespace Card
