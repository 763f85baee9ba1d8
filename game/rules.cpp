// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules.h"

namespace Rules {

bool isLegalMove(int clickedRank, int wasteRank)
{
    return clickedRank == wasteRank + 1 || clickedRank == wasteRank - 1
        || clickedRank == wasteRank - 12 || clickedRank == wasteRank + 12;
}

RoundEnd afterRound(int nextRound, qint32 score)
{
    if (nextRound == 2)
        return RoundEnd::NextRound;
    if (nextRound == 3 && score >= BonusRoundScore)
        return RoundEnd::NextRound;
    return RoundEnd::GameOver;
}

} // namespace Rules
