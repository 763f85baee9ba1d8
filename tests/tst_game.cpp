// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/gamefixture.h"
#include "support/userinput.h"

#include "game/tableau.h"
#include "windows/frmhiscores.h"
#include "table/frmmarigold.h"
#include "windows/frmteampic.h"

#include <QAccessible>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace std::chrono_literals;

class tst_Game : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundsRunOutOnTheClockAndTheOldTableDealsNothing()
    {
        Game game;
        // Both rounds end on a time bonus of 0: it is said once, the second time too,
        // though its words are the same; the clock warns at 30 and 10 seconds.
        const QStringList roundEnd = {"30 seconds left.", "10 seconds left.", "Time bonus 0."};
        game.announcer.take();
        game.clock.advance(60s);
        QVERIFY(game.prompts.messages.isEmpty());
        game.clock.advance(1s);
        QCOMPARE(game.prompts.messages, QStringList{QStringLiteral("time is up!!!")});
        // The round ends into the second one, whose clock runs from a full bar.
        game.clock.advance(1s);
        QCOMPARE(game.announcer.take().mid(0, 3), roundEnd);
        auto *bar = game.table()->findChild<QProgressBar *>("ProgressBar1");
        QCOMPARE(bar->value(), 59);
        // A screen reader reads the bar as the time left, and finds no value in it to speak as
        // a percentage.
        QAccessibleInterface *clock = QAccessible::queryAccessibleInterface(bar);
        QCOMPARE(clock->text(QAccessible::Name), QStringLiteral("Time left: 59 seconds"));
        QVERIFY(!clock->valueInterface());
        game.clock.advance(60s);
        QCOMPARE(game.announcer.take().mid(0, 3), roundEnd);
        // The second round runs out too and the game is over. The old table still plays, on the
        // next game's score, but clearing it ends no round.
        game.leaveOnePlayable();
        QVERIFY(game.click(19));
        QVERIFY(game.click("cmdDeal"));
        QCOMPARE(game.text("lblScore"), QStringLiteral("100"));
    }
    void clearingTheTableSaysEachStepOfTheRoundEndOnce()
    {
        Game game;
        game.leaveOnePlayable();
        game.clock.advance(20s);
        game.announcer.take();
        game.click(19);
        // The move, then the round end in the order it is shown, each bonus once with its
        // total however many steps it counts up in.
        const QStringList said = game.announcer.take();
        QCOMPARE(said.mid(1, 4), (QStringList{"YOU DID IT!!", "Card bonus 2,500.", "Time bonus 2,000.",
                                              "Score 4,600. Round: 2."}));
        QVERIFY2(said.value(0).contains("Run 1. Score 100.") && said.value(5).startsWith("New deal."),
                 qPrintable(said.join('|')));
    }
    void secondRoundEndsInBonusRoundPictureOrGameOver_data()
    {
        QTest::addColumn<int>("secondsTaken");
        QTest::addColumn<QString>("underPicture"); // what the player does while it is up; none shows when empty
        QTest::newRow("11050 shows no picture") << 9 << "";
        QTest::newRow("11000 waits for the picture's OK") << 10 << "OK";
        QTest::newRow("11000 and the table closed under the picture: no game end follows") << 10 << "close";
        QTest::newRow("10950 shows no picture") << 11 << "";
    }
    void secondRoundEndsInBonusRoundPictureOrGameOver()
    {
        QFETCH(int, secondsTaken);
        QFETCH(QString, underPicture);
        Game game;
        // Round 1 taken at once (3000), a run of 10 in round 2 (5500), each second taken 50 less.
        QVERIFY(game.click("cmdTake"));
        for (int card = 0; card < 10; ++card) {
            game.layPlayable();
            QVERIFY(game.click(19));
        }
        game.clock.advance(std::chrono::seconds(secondsTaken));
        bool heldUp = false; // the picture over a disabled table, and no game end yet
        QWindow *shownAbove = nullptr;
        QObject::connect(game.table(), &frmMarigold::teamPictureRequested, game.table(), [&] {
            // The game waits for the picture in an event loop that goes on handling events,
            // so the player acts on it from there, as one who sees it does.
            QTimer::singleShot(0, game.table(), [&] {
                frmTeamPic *picture = game.forms->teamPic();
                heldUp = picture->isVisible() && !game.table()->isEnabled()
                    && game.text("lblBonuslbl") != QLatin1String("GAME OVER");
                shownAbove = picture->windowHandle()->transientParent();
                if (underPicture == QLatin1String("OK"))
                    QVERIFY(UserInput::click(picture->findChild<QPushButton *>("cmdOK")));
                else
                    QVERIFY(UserInput::closeWindow(game.table())); // as through the frame's close box
            });
        });
        QVERIFY(game.click("cmdTake"));
        QCOMPARE(game.text("lblScore").toInt(), 11500 - 50 * secondsTaken);
        QCOMPARE(heldUp, !underPicture.isEmpty());
        if (!underPicture.isEmpty()) // it stays above the table it disables
            QCOMPARE(shownAbove, game.forms->marigold()->windowHandle());
        const bool gameEnds = underPicture != QLatin1String("close");
        QCOMPARE(game.text("lblBonuslbl") == QLatin1String("GAME OVER"), gameEnds);
        QCOMPARE(game.prompts.inputPrompts.size(), gameEnds ? 1 : 0); // the first high score's name
        QVERIFY(game.forms->teamPic()->isHidden());
    }
    void actingDuringACountUpChangesOnlyWhatItShould_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("score");
        // A count-up pays the steps counted at its start, and none after a close: the score shows it.
        QTest::newRow("stock click in the card bonus") << "CARD BONUS:" << Tableau::StockSpot << "5600";
        QTest::newRow("clearing the table in the time bonus") << "TIME BONUS:" << 19 << "3100";
        QTest::newRow("closing the table in the time bonus") << "TIME BONUS:" << CloseTheTable << "150";
    }
    void actingDuringACountUpChangesOnlyWhatItShould()
    {
        QFETCH(QString, title);
        QFETCH(int, action);
        QFETCH(QString, score);
        Game game;
        game.leaveOnePlayable();
        int stepsSeen = 0;
        game.clock.onPause = [&](std::chrono::milliseconds length) {
            if (length != 150ms || game.text("lblBonuslbl") != title || ++stepsSeen != 3)
                return;
            if (action == CloseTheTable)
                QVERIFY(UserInput::closeWindow(game.table())); // as through the frame's close box
            else
                QVERIFY(game.click(action));
        };
        // The card bonus follows clearing the table; the time bonus, Take Score.
        if (title == QLatin1String("CARD BONUS:"))
            QVERIFY(game.click(19));
        else
            QVERIFY(game.click("cmdTake"));
        QCOMPARE(game.text("lblScore"), score);
    }

private:
    static constexpr int CloseTheTable = -1;
    // A dealt game on the fake clock.
    struct Game : GameFixture
    {
        Game() { QVERIFY(click("cmdDeal")); }
        // Lays on spot 19 a spade one rank above the waste, so it plays.
        void layPlayable() { putCard(19, table()->model().wasteRank() % 13 + 1); }
        void leaveOnePlayable()
        {
            for (int index = 0; index < Tableau::TableauSize; ++index)
                take(index);
            layPlayable();
        }
    };
};

QTEST_MAIN(tst_Game)
#include "tst_game.moc"
