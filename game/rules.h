// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// The rules that decide a move and the end of a round.
namespace Rules {

constexpr qint32 BonusRoundScore = 12000;
constexpr qint32 TeamPictureScore = 11000;
constexpr qint32 PeakBonus = 1000;
constexpr qint32 RunStep = 100;
constexpr qint32 CardBonus = 100;
constexpr qint32 TimeBonus = 50;
constexpr int RoundSeconds = 60;

// A card one rank above or below the waste card may go on it; king and ace are adjacent.
bool isLegalMove(int clickedRank, int wasteRank);

enum class RoundEnd { NextRound, GameOver };

// `nextRound` is the round that would come next: 2 always follows, 3 only from
// BonusRoundScore, nothing after it.
RoundEnd afterRound(int nextRound, qint32 score);

} // namespace Rules
