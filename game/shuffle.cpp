// SPDX-License-Identifier: GPL-3.0-or-later
#include "shuffle.h"

#include "randomgenerator.h"

void Shuffle::ShuffleDeck(RandomGenerator &random)
{
    int placed = 0;
    m_deckTotal = 0;
    ClearDeck();
    // Fewer than 52 different cards always sum to less than the full total.
    while (m_deckTotal < FullTotal) {
        m_newCard = random.nextBelow(Card::Count) + 1;
        CheckCard();
        if (m_newCard > 0) {
            ++placed;
            m_deck[placed] = m_newCard;
            SumDeck();
        }
    }
}

void Shuffle::ClearDeck()
{
    for (int k = 1; k <= Card::Count; ++k)
        m_deck[k] = 0;
}

void Shuffle::CheckCard()
{
    for (int k = 1; k <= Card::Count; ++k) {
        if (m_deck[k] == m_newCard) {
            m_newCard = 0;
            return;
        }
    }
}

void Shuffle::SumDeck()
{
    m_deckTotal = 0;
    for (int k = 1; k <= Card::Count; ++k)
        m_deckTotal = m_deck[k] + m_deckTotal;
}
