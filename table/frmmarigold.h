// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/tablemodel.h"
#include "platform/services.h"

#include <QWidget>

#include <array>
#include <chrono>

class CardImage;
class QLabel;
class QProgressBar;
class QPushButton;
class Ticker;

// The table: 28 card spots, the buttons, the score and record labels and the clock.
// Every handler asks the TableModel what happens and then shows it with showTable();
// the spots' tags, pictures and visibility are written from the model, never read back.
// Other windows are reached through the signals below.
class frmMarigold : public QWidget
{
    Q_OBJECT

public:
    // Says the whole table: waste card, score, run, time left, round and stock.
    static constexpr int StateKey = Qt::Key_S;

    explicit frmMarigold(const Services &services);
    ~frmMarigold() override;

    qint16 highRun() const { return m_model.state().HighRun; }
    void setHighRun(qint16 highRun);
    qint32 highScore() const { return m_model.state().HighScore; }
    void setHighScore(qint32 highScore);

    // The card-back chooser's OK: every spot shows the chosen back at once.
    void putBackOnEverySpot(qint16 back);

    TableModel &model() { return m_model; }
    // Writes the model onto the controls: pictures, tags, visibility, clickability,
    // captions and the clock's running state.
    void showTable();
    CardImage *imgSpot(int index) const { return m_imgSpot.at(index); }

    void cmdDeal_Click();
    void cmdTake_Click();
    void cmdExit_Click();
    void cmdMenu_Click();
    void cmdScores_Click();
    void imgSpot_Click(int Index);
    void Timer1_Timer();

Q_SIGNALS:
    void menuRequested();
    void highScoresRequested();
    // The game has ended on the team's score: its end waits, the table disabled, until
    // teamPictureClosed comes.
    void teamPictureRequested();
    void teamPictureClosed();
    // The game is over: the high-score table takes the score and may raise HighScore.
    void gameEnded(qint32 &Score, qint32 &HighScore);
    // Exit: every window goes.
    void leaving();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    QLabel *addLabel(const char *name, QRect geometry, const QString &caption, QColor colour,
                     qreal pointSize, Qt::Alignment alignment);
    QPushButton *addButton(const char *name, QRect geometry, const QString &caption);

    void Form_Load();
    void ClearBonus();
    void GameOver();
    // Counts a bonus up one step per Pause1; false once the table is closing.
    bool countUp(TableModel::Bonus bonus, int steps);
    // The two pauses of the animations; each first shows the table as it stands, and
    // returns false once the table is closing and the handler that paused should stop.
    bool Pause1();
    bool Pause2();
    bool pauseShowingTable(std::chrono::milliseconds length);
    // Waits, handling events, for the team picture to close; false, like a pause, when
    // the table closes first.
    bool waitForTeamPicture();
    void say(const QString &sentence);
    // Shows the record failures not yet told. Never while a round's clock runs: those
    // wait for the round's end, so no box of ours costs the player time.
    void tellRecordFailures();
    Services m_services;
    TableModel m_model;
    bool m_closing = false;
    bool m_tellingFailures = false;

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
