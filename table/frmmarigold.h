#pragma once

#include "cardpicture.h"
#include "tablestate.h"

#include <QWidget>

#include <array>

class CardImage;
class Forms;
class QLabel;
class QProgressBar;
class QPushButton;
class Ticker;

// The table: 28 card spots, the buttons, the score and record labels and the clock.
// A spot's state lives in its image: the tag holds its card number (the waste's holds
// the rank of its card), hidden means taken, clickable means face up and uncovered.
class frmMarigold : public QWidget
{
    Q_OBJECT

public:
    explicit frmMarigold(Forms &forms);
    ~frmMarigold() override;

    qint16 highRun() const { return m_state.HighRun; }
    void setHighRun(qint16 highRun) { m_state.HighRun = highRun; }
    qint32 highScore() const { return m_state.HighScore; }
    void setHighScore(qint32 highScore) { m_state.HighScore = highScore; }
    qint16 teamPicClosed() const { return m_state.TeamPicClosed; }
    void setTeamPicClosed(qint16 closed) { m_state.TeamPicClosed = closed; }

    // The record captions, which the high-score window rewrites.
    void showHighScore(qint32 highScore);
    void showHighRun(qint16 highRun);

    CardImage *imgSpot(int index) const { return m_imgSpot.at(index); }

    void cmdDeal_Click();
    void cmdTake_Click();
    void cmdExit_Click();
    void cmdMenu_Click();
    void cmdScores_Click();
    void imgSpot_Click(int Index);
    void Timer1_Timer();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    QLabel *addLabel(const char *name, QRect geometry, const QString &caption, QColor colour,
                     qreal pointSize, Qt::Alignment alignment);
    QPushButton *addButton(const char *name, QRect geometry, const QString &caption);

    void Form_Load();
    void ReSetCards();
    // A spot's tag read as a whole number: a card number, or the waste card's rank.
    qint16 tagNumber(int spot) const;
    void GetGameVal();
    void SpotTag();
    void SpotOpen(int spot);
    void EnableOpenCards();
    void MoveCard();
    void FlipCard();
    void ScoreRun();
    void ClearBonus();
    void GameOver();
    // The two pauses of the animations; false once the table is closing and the
    // handler that paused should stop.
    bool Pause1();
    bool Pause2();

    // Pictures come from the picture-holding windows, never straight from the painter.
    CardPicture facePicture(int cardNumber) const;
    CardPicture backPicture() const;
    void setStockCount(int count);

    Forms &m_forms;
    TableState m_state;
    // A round is in play from its deal until its round end begins; only then may a
    // cleared tableau start one.
    bool m_roundInPlay = false;
    bool m_closing = false;

    std::array<CardImage *, Tableau::SpotCount> m_imgSpot{};
    QLabel *lblHighRunlbl;
    QLabel *lblHighRun;
    QLabel *lblSpot0;
    QLabel *lblSpot1;
    QLabel *lblHighScorelbl;
    QLabel *lblHighScore;
    QLabel *lblBonuslbl;
    QLabel *lblBonus;
    QLabel *lblCardslbl;
    QLabel *lblCards;
    QLabel *lblRunlbl;
    QLabel *lblRun;
    QLabel *lblScorelbl;
    QLabel *lblScore;
    QLabel *lblTime;
    QPushButton *cmdMenu;
    QPushButton *cmdScores;
    QPushButton *cmdDeal;
    QPushButton *cmdExit;
    QPushButton *cmdTake;
    QProgressBar *ProgressBar1;
    Ticker *Timer1;
};
