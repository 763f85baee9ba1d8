// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <span>

// Where the cards lie: spots 0 to 25 form the tableau in six rows, 26 is the waste
// card and 27 the stock. A tableau card opens once every card lying over it is gone.
namespace Tableau {

constexpr int TableauSize = 26;
constexpr int WasteSpot = 26;
constexpr int StockSpot = 27;
constexpr int SpotCount = 28;
constexpr int StockSize = 25;

// Spots 0 to 22 have an open test; 23, 24 and 25 lie under nothing.
constexpr int OpenTestCount = 23;

// The spots a deal turns face up.
constexpr std::array<int, 5> DealtFaceUp = {19, 20, 23, 24, 25};

// The spots lying over `spot` (0 to 22). Spots 19 and 20 are under none, and their
// open tests do nothing: the deal has already turned them up.
std::span<const int> coveredBy(int spot);

} // namespace Tableau
