// SPDX-License-Identifier: GPL-3.0-or-later
#include "tablemodel.h"

#include "card.h"

#include <algorithm>

int TableModel::wasteRank() const
{
    return Card::rank(spot(Tableau::WasteSpot).card);
}

void TableModel::load(qint32 highScore, qint16 backNum, qint16 highRun)
{
    m_state.TimeLeft = Rules::RoundSeconds;
    m_state.RoundNum = 1;
    m_state.Score = 0;
    m_clockRunning = false;
    m_peakMarkerShown = {false, false};
    m_bonusTitleShown = false;
    m_bonusFigureShown = false;
    m_takeShown = false;
    m_state.HighScore = highScore;
    m_state.BackNum = backNum;
    m_state.HighRun = highRun;
    m_shownBack = backNum;
    for (Spot &spot : m_spots) {
        spot.clickable = false;
        spot.faceUp = false;
    }
}

void TableModel::deal(RandomGenerator &random, qint16 backNum)
{
    m_deck.ShuffleDeck(random);
    ReSetCards(backNum);
    m_state.NextStock = 0;
    m_state.TimeLeft = Rules::RoundSeconds;
    m_clockRunning = true;
    m_roundInPlay = true;
    m_peakMarkerShown = {false, false};
    m_bonusTitleShown = false;
    m_bonusFigureShown = false;
    m_idleButtonsShown = false;
    m_takeShown = true;
}

void TableModel::ReSetCards(qint16 backNum)
{
    m_state.BackNum = backNum;
    m_shownBack = backNum;
    for (int index = 0; index <= Tableau::WasteSpot; ++index)
        m_spots[index] = Spot{qint16(m_deck.Deck(index + 1)), false, true, false};
    for (int index : Tableau::DealtFaceUp)
        m_spots[index] = Spot{m_spots[index].card, true, true, true};
    m_spots[Tableau::WasteSpot].faceUp = true;
    for (int i = 0; i < Tableau::StockSize; ++i)
        m_state.Stock[i] = qint16(m_deck.Deck(i + 28));
    m_spots[Tableau::StockSpot] = Spot{0, false, true, true};
    SpotTag();
    m_state.CurRun = 0;
    m_scoreShown = m_state.Score;
    Q_EMIT scoreChanged(m_state.Score);
    m_cardsShown = Tableau::StockSize;
}

void TableModel::SpotTag()
{
    m_state.CardNum = spot(Tableau::WasteSpot).card;
    m_state.GameVal = qint16(Card::rank(m_state.CardNum));
}

TableModel::Play TableModel::playSpot(int index)
{
    m_state.CardNum = spot(index).card;
    m_state.GameVal = qint16(Card::rank(m_state.CardNum));
    m_state.SpotNum = qint16(index);
    const bool legal = Rules::isLegalMove(m_state.GameVal, wasteRank());
    if (legal)
        MoveCard();
    // A card refused still lies on the tableau, so only a move can clear it.
    const bool cleared = EnableOpenCards();
    return !legal ? Play::Illegal : cleared ? Play::Cleared : Play::Moved;
}

void TableModel::MoveCard()
{
    Spot &taken = m_spots[m_state.SpotNum];
    Spot &waste = m_spots[Tableau::WasteSpot];
    // The waste takes the picture as the spot showed it, face or back.
    waste.faceUp = taken.faceUp;
    waste.card = taken.card;
    taken.onTable = false;
    if (m_state.SpotNum == 0 || m_state.SpotNum == 1) {
        addScore(Rules::PeakBonus);
        m_peakMarkerShown[m_state.SpotNum] = true;
    }
    SpotTag();
    ScoreRun();
}

void TableModel::FlipCard()
{
    // The stock leaves the table after its last card; a press that slips through finds nothing.
    if (m_state.NextStock >= Tableau::StockSize)
        return;
    Spot &waste = m_spots[Tableau::WasteSpot];
    waste.card = m_state.Stock[m_state.NextStock];
    waste.faceUp = true;
    SpotTag();
    m_state.CurRun = 0;
    ++m_state.NextStock;
    m_cardsShown = Tableau::StockSize - m_state.NextStock;
    if (m_state.NextStock == Tableau::StockSize)
        m_spots[Tableau::StockSpot].onTable = false;
}

void TableModel::ScoreRun()
{
    m_state.CurRun += Rules::RunStep;
    addScore(m_state.CurRun);
    const qint16 runCards = m_state.CurRun / Rules::RunStep;
    if (runCards > m_state.HighRun) {
        m_state.HighRun = runCards;
        Q_EMIT highRunRaised(m_state.HighRun);
    }
}

void TableModel::SpotOpen(int index)
{
    const std::span<const int> covers = Tableau::coveredBy(index);
    if (covers.empty())
        return;
    for (int cover : covers) {
        if (spot(cover).onTable)
            return;
    }
    // A taken spot is opened too; it stays off the table, so nobody sees or clicks it.
    m_spots[index].clickable = true;
    m_spots[index].faceUp = true;
}

bool TableModel::EnableOpenCards()
{
    m_state.ClearedCount = 0;
    for (int index = 0; index < Tableau::OpenTestCount; ++index)
        SpotOpen(index);
    for (int index = 0; index < Tableau::OpenTestCount; ++index) {
        if (!spot(index).onTable)
            ++m_state.ClearedCount;
    }
    // Spots 23 to 25 each lie over one of 0 to 22, so 23 taken means a clear tableau.
    return m_state.ClearedCount == Tableau::OpenTestCount && m_roundInPlay;
}

void TableModel::putBackOnEverySpot(qint16 back)
{
    m_shownBack = back;
    for (Spot &spot : m_spots)
        spot.faceUp = false;
}

void TableModel::endRoundInPlay(const QString &bonusTitle)
{
    m_clockRunning = false;
    m_roundInPlay = false;
    m_takeShown = false;
    m_bonusTitle = bonusTitle;
    m_bonusTitleShown = true;
}

void TableModel::startClearBonus()
{
    endRoundInPlay(QStringLiteral("YOU DID IT!!"));
}

int TableModel::startCardBonus()
{
    m_bonusTitle = QStringLiteral("CARD BONUS:");
    m_bonusFigure = 0;
    m_bonusFigureShown = true;
    return Tableau::StockSize - m_state.NextStock;
}

int TableModel::startTimeBonus()
{
    endRoundInPlay(QStringLiteral("TIME BONUS:"));
    m_bonusFigure = 0;
    m_bonusFigureShown = true;
    ++m_state.RoundNum;
    return m_state.TimeLeft;
}

void TableModel::bonusStep(Bonus bonus, int step, int steps)
{
    const qint32 points = bonus == Bonus::Card ? Rules::CardBonus : Rules::TimeBonus;
    m_bonusFigure = step * points;
    addScore(points);
    if (bonus == Bonus::Card)
        m_cardsShown = steps - step;
    else
        setClock(steps - step);
}

Rules::RoundEnd TableModel::roundDecision() const
{
    return Rules::afterRound(m_state.RoundNum, m_state.Score);
}

void TableModel::showNextRound()
{
    m_bonusTitle = QStringLiteral("Round: ") + QString::number(m_state.RoundNum);
    m_bonusTitleShown = true;
    m_bonusFigureShown = false;
}

void TableModel::showGameOver()
{
    m_bonusTitle = QStringLiteral("GAME OVER");
    m_bonusTitleShown = true;
}

void TableModel::endGame()
{
    m_bonusFigureShown = false;
    m_takeShown = false;
    m_idleButtonsShown = true;
    m_state.RoundNum = 1;
    // lblScore keeps the final score on view until the next deal.
    m_state.Score = 0;
}

bool TableModel::tick()
{
    --m_state.TimeLeft;
    if (m_state.TimeLeft != -1)
        return false;
    // Stopped before the time-up message, so no tick can land while it is open.
    m_clockRunning = false;
    return true;
}

void TableModel::timeUp()
{
    m_state.TimeLeft = 0;
}

void TableModel::showClock()
{
    setClock(std::clamp<int>(m_state.TimeLeft, 0, Rules::RoundSeconds));
}

void TableModel::addScore(qint32 points)
{
    m_state.Score += points;
    m_scoreShown = m_state.Score;
    Q_EMIT scoreChanged(m_state.Score);
}

void TableModel::setClock(int seconds)
{
    m_clockShown = seconds;
    Q_EMIT clockChanged(seconds);
}
