// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tableau.h"

#include <QtGlobal>

#include <array>

// The table window's own fields. HighRun and HighScore are reached by other windows
// through the table's accessors; the rest belong to the table alone.
struct TableState
{
    qint16 HighRun = 0;
    qint32 HighScore = 0;
    std::array<qint16, Tableau::StockSize> Stock{};
    qint16 NextStock = 0;
    qint16 ClearedCount = 0;
    qint16 CardNum = 0;
    qint16 GameVal = 0;
    qint16 SpotNum = 0;
    qint16 BackNum = 0;
    qint32 Score = 0;
    qint16 CurRun = 0;
    qint16 TimeLeft = 0;
    qint16 RoundNum = 0;
};
