// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "card.h"

#include <array>

class RandomGenerator;

// The deck, shuffled afresh before every deal by drawing random cards and dropping
// those already placed until all 52 are in.
class Shuffle
{
public:
    static constexpr int FullTotal = 1378; // 1 + 2 + ... + 52

    void ShuffleDeck(RandomGenerator &random);

    // The card dealt k-th, slot 1 to 52.
    int Deck(int slot) const { return m_deck.at(slot); }
    int NewCard() const { return m_newCard; }
    int DeckTotal() const { return m_deckTotal; }

private:
    void ClearDeck();
    void CheckCard();
    void SumDeck();

    std::array<int, Card::Count + 1> m_deck{}; // slot 0 unused, so slots read as dealt
    int m_newCard = 0;
    int m_deckTotal = 0;
};
