#pragma once

// The program-wide deck, shuffled afresh before every deal by drawing random cards and
// dropping those already placed until all 52 are in.
namespace Shuffle {

constexpr int FullTotal = 1378; // 1 + 2 + ... + 52

void ShuffleDeck();

// The card dealt k-th, slot 1 to 52.
int Deck(int slot);
int NewCard();
int DeckTotal();

} // namespace Shuffle
