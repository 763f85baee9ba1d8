// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

class HighScoreTable;
class TableModel;

// What the table says to a player who cannot see it, worded from the model: after a
// move, a stock turn, a deal and each step of a round end, and the whole table on
// request. Each is one or more short sentences; numbers are written as they are spoken,
// with thousands grouped ("Score 1,600.").
namespace TableSpeech {

// The tableau cards that can be played now, in reading order.
QList<int> openSpots(const TableModel &model);

// After the card of `spot` went to the waste: the card, any peak bonus, the run and the
// score, and the cards that turned up because it went (those open now that were not in
// `openBefore`).
QString played(const TableModel &model, int spot, const QList<int> &openBefore);
// After the card of `spot` did not follow the waste card; it still lies on its spot.
QString refused(const TableModel &model, int spot);
// After a stock turn: the new waste card and what is left in the stock.
QString turned(const TableModel &model);
// After a deal: the waste card, the open cards and the stock, and the new card under
// the focus when the focus is on a tableau spot that is still open (-1 for none).
QString dealt(const TableModel &model, int focusedSpot = -1);
// Everything a glance at the table tells: waste card, score, run, time left, round and
// the cards left in the stock.
QString state(const TableModel &model);

QString secondsLeft(int seconds);
QString cardBonus(int cards);
QString timeBonus(int seconds);
QString nextRound(const TableModel &model);
QString gameOver(const TableModel &model);

// One place of the high-score table: "Place 3: Ann, 5,200." or "Place 3 is empty."
QString highScorePlace(const HighScoreTable &table, int place);
// The whole list, best first, each run of empty places said at once.
QString highScoreList(const HighScoreTable &table);

} // namespace TableSpeech
