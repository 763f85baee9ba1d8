// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rules.h"
#include "shuffle.h"
#include "spot.h"
#include "tablestate.h"

#include <QObject>
#include <QString>

#include <array>

class RandomGenerator;

// The table as plain data: the state record, the 28 spots and what the labels and
// buttons show. The table window asks it what a click does and then shows it; the
// pauses between the steps of a round end stay with the window.
class TableModel : public QObject
{
    Q_OBJECT

public:
    enum class Bonus { Card, Time };
    // What a click on a table card did.
    enum class Play {
        Illegal, // the card does not follow the waste card: nothing moved
        Moved,   // the card went to the waste
        Cleared, // it went, and the tableau is clear in a round in play: the card bonus is due
    };
    Q_ENUM(Play)

    using QObject::QObject;

    const TableState &state() const { return m_state; }
    const Spot &spot(int index) const { return m_spots.at(index); }
    const Shuffle &deck() const { return m_deck; }
    int wasteRank() const;

    // What the window shows besides the spots.
    qint16 shownBack() const { return m_shownBack; }
    int cardsShown() const { return m_cardsShown; }
    int runShown() const { return m_state.CurRun / Rules::RunStep; }
    // lblScore: the game's score, and after a game end the final one until a card or a deal moves it.
    qint32 scoreShown() const { return m_scoreShown; }
    bool peakMarkerShown(int peak) const { return m_peakMarkerShown.at(peak); }
    QString bonusTitle() const { return m_bonusTitle; }
    bool bonusTitleShown() const { return m_bonusTitleShown; }
    qint32 bonusFigure() const { return m_bonusFigure; }
    bool bonusFigureShown() const { return m_bonusFigureShown; }
    bool takeShown() const { return m_takeShown; }
    // Deal, Exit, Menu and High Scores, shown and hidden together.
    bool idleButtonsShown() const { return m_idleButtonsShown; }
    bool clockRunning() const { return m_clockRunning; }
    // From a deal until its round end begins.
    bool roundInPlay() const { return m_roundInPlay; }
    int clockShown() const { return m_clockShown; }

    // Lays a spot out as given, to set up a position without playing to it.
    void arrange(int index, const Spot &spot) { m_spots.at(index) = spot; }

    void setHighRun(qint16 highRun) { m_state.HighRun = highRun; }
    void setHighScore(qint32 highScore) { m_state.HighScore = highScore; }

    // The idle table of start-up: the records, every spot face down and not clickable.
    void load(qint32 highScore, qint16 backNum, qint16 highRun);
    // A new shuffle laid out (ReSetCards), the stock pointer and the clock reset, and
    // the buttons of a round in play.
    void deal(RandomGenerator &random, qint16 backNum);

    // A click on table spot 0 to 25: moves the card when the move rule allows it, then
    // runs the open tests, whether it moved or not.
    Play playSpot(int index);
    void FlipCard();
    // Runs every open test and recounts the taken spots; true when the tableau is clear
    // in a round still in play, so the card bonus is due.
    bool EnableOpenCards();
    // Every spot shows `back`, face-up cards too, until the next deal or open test.
    void putBackOnEverySpot(qint16 back);

    // The steps of a round end. Each count-up step adds its points and runs down the
    // stock count or the clock bar.
    void startClearBonus();
    int startCardBonus(); // the cards left in the stock, one step each
    int startTimeBonus(); // the seconds left, one step each
    void bonusStep(Bonus bonus, int step, int steps);
    Rules::RoundEnd roundDecision() const;
    void showNextRound();
    void showGameOver();
    void endGame();

    // The clock: true when this tick finds the time up, which stops the clock.
    bool tick();
    void timeUp();
    void showClock();

Q_SIGNALS:
    // The score moved; lblScore follows it.
    void scoreChanged(qint32 Score);
    // The clock bar's value, 0 to 60.
    void clockChanged(int seconds);
    // A run beat the best run ever, which must be saved.
    void highRunRaised(qint16 HighRun);

private:
    // Lays the shuffled deck out: spots 0 to 26, the stock, the run and the stock count.
    void ReSetCards(qint16 backNum);
    // The clock stops, Take Score goes and the round-end caption shows `bonusTitle`.
    void endRoundInPlay(const QString &bonusTitle);
    void addScore(qint32 points);
    void setClock(int seconds);
    void SpotTag();
    void SpotOpen(int spot);
    void MoveCard();
    void ScoreRun();

    TableState m_state;
    std::array<Spot, Tableau::SpotCount> m_spots{};
    Shuffle m_deck;
    // A round is in play from its deal until its round end begins; only then may a
    // cleared tableau start one.
    bool m_roundInPlay = false;

    qint16 m_shownBack = 0;
    int m_cardsShown = Tableau::StockSize;
    qint32 m_scoreShown = 0;
    std::array<bool, 2> m_peakMarkerShown{};
    QString m_bonusTitle;
    bool m_bonusTitleShown = false;
    qint32 m_bonusFigure = 0;
    bool m_bonusFigureShown = false;
    bool m_takeShown = false;
    bool m_idleButtonsShown = true;
    bool m_clockRunning = false;
    int m_clockShown = 0;
};
