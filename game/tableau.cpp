// SPDX-License-Identifier: GPL-3.0-or-later
#include "tableau.h"

#include <vector>

namespace Tableau {

std::span<const int> coveredBy(int spot)
{
    static const std::array<std::vector<int>, OpenTestCount> covers = {{
        {2, 3},   {4, 5},                                     // row 0: the two peaks
        {6, 7},   {7, 8},   {9, 10},  {10, 11},               // row 1
        {12, 13}, {13, 14}, {14, 15}, {15, 16}, {16, 17}, {17, 18}, // row 2
        {19},     {19, 20}, {20, 21}, {21, 22}, {22, 23}, {23, 24}, {24}, // row 3
        {},       {},       {25},     {25},                   // row 4: 19 to 22
    }};
    return covers.at(spot);
}

} // namespace Tableau
