#include "rules.h"

namespace Rules {

bool isLegalMove(int clickedRank, double wasteRank)
{
    const double rank = clickedRank;
    return rank == wasteRank + 1 || rank == wasteRank - 1 || rank == wasteRank - 12
        || rank == wasteRank + 12;
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
