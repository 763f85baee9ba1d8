#include "shuffle.h"

#include "card.h"
#include "randomgenerator.h"

#include <array>

namespace Shuffle {

namespace {

std::array<int, Card::Count + 1> deck{}; // slot 0 unused, so slots read as dealt
int newCard = 0;
int deckTotal = 0;

void ClearDeck()
{
    for (int k = 1; k <= Card::Count; ++k)
        deck[k] = 0;
}

void CheckCard()
{
    for (int k = 1; k <= Card::Count; ++k) {
        if (deck[k] == newCard) {
            newCard = 0;
            return;
        }
    }
}

void SumDeck()
{
    deckTotal = 0;
    for (int k = 1; k <= Card::Count; ++k)
        deckTotal = deck[k] + deckTotal;
}

} // namespace

void ShuffleDeck()
{
    int placed = 0;
    deckTotal = 0;
    ClearDeck();
    // Fewer than 52 different cards always sum to less than the full total.
    while (deckTotal < FullTotal) {
        newCard = RandomGenerator::instance().nextBelow(Card::Count) + 1;
        CheckCard();
        if (newCard > 0) {
            ++placed;
            deck[placed] = newCard;
            SumDeck();
        }
    }
}

int Deck(int slot)
{
    return deck[slot];
}

int NewCard()
{
    return newCard;
}

int DeckTotal()
{
    return deckTotal;
}

} // namespace Shuffle
