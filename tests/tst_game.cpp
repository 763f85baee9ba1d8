// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/gamefixture.h"
#include "support/userinput.h"

#include "game/tableau.h"
#include "table/frmmarigold.h"
#include "windows/frmteampic.h"

#include <QAccessible>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace std::chrono_literals;

namespace {
constexpr int CloseTheTable = -1;

struct Game : GameFixture
{
    Game() { QVERIFY(click("cmdDeal")); }
    void layPlayable() { putCard(19, table()->model().wasteRank() % 13 + 1); } // a spade that follows the waste
    bool playOne() { return layPlayable(), click(19); }
    void leaveOnePlayable()
    {
        for (int index = 0; index < Tableau::TableauSize; ++index)
            take(index);
        layPlayable();
    }
    bool act(int action) { return action == CloseTheTable ? UserInput::closeWindow(table()) : click(action); }
    bool gameOver() { return text("lblBonuslbl") == QLatin1String("GAME OVER"); }
};
} // namespace

class tst_Game : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundsRunOutOnTheClockAndTheOldTableDealsNothing()
    {
        Game game;
        // Both rounds end on a time bonus of 0, said the second time too.
        const QStringList roundEnd = {"30 seconds left.", "10 seconds left.", "Time bonus 0."};
        game.announcer.take();
        game.clock.advance(60s);
        QVERIFY(game.prompts.messages.isEmpty());
        game.clock.advance(1s);
        QCOMPARE(game.prompts.messages, QStringList{QStringLiteral("time is up!!!")});
        game.clock.advance(1s); // the second round's clock runs from a full bar
        QCOMPARE(game.announcer.take().mid(0, 3), roundEnd);
        auto *bar = game.table()->findChild<QProgressBar *>("ProgressBar1");
        QCOMPARE(bar->value(), 59);
        // Read as the time left, with no value to speak as a percentage.
        QAccessibleInterface *clock = QAccessible::queryAccessibleInterface(bar);
        QCOMPARE(clock->text(QAccessible::Name), QStringLiteral("Time left: 59 seconds"));
        QVERIFY(!clock->valueInterface());
        game.clock.advance(60s);
        QCOMPARE(game.announcer.take().mid(0, 3), roundEnd);
        // The old table plays on the next game's score, but clearing it ends no round.
        game.leaveOnePlayable();
        QVERIFY(game.click(19) && game.click("cmdDeal"));
        QCOMPARE(game.text("lblScore"), QStringLiteral("100"));
    }
    void secondRoundEndsInBonusRoundPictureOrGameOver_data()
    {
        QTest::addColumn<int>("secondsTaken");
        QTest::addColumn<int>("underPicture"); // 1: the picture's OK pressed
        QTest::newRow("11050 shows no picture") << 9 << 0;
        QTest::newRow("11000 waits for the picture's OK") << 10 << 1;
        QTest::newRow("11000 and the table closed under the picture: no game end follows") << 10 << CloseTheTable;
        QTest::newRow("10950 shows no picture") << 11 << 0;
    }
    void secondRoundEndsInBonusRoundPictureOrGameOver()
    {
        QFETCH(int, secondsTaken);
        QFETCH(int, underPicture);
        Game game;
        // Round 1 taken at once (3000), a run of 10 in round 2 (5500), each second taken 50 less.
        QVERIFY(game.click("cmdTake"));
        for (int card = 0; card < 10; ++card)
            QVERIFY(game.playOne());
        game.clock.advance(std::chrono::seconds(secondsTaken));
        bool heldUp = false; // the picture above the table it disables, and no game end yet
        QObject::connect(game.table(), &frmMarigold::teamPictureRequested, game.table(), [&] {
            QTimer::singleShot(0, game.table(), [&] { // the player acts from the game's wait for the picture
                frmTeamPic *picture = game.forms->teamPic();
                heldUp = picture->isVisible() && !game.table()->isEnabled() && !game.gameOver()
                    && picture->windowHandle()->transientParent() == game.forms->marigold()->windowHandle();
                QVERIFY(underPicture == CloseTheTable ? game.act(CloseTheTable)
                                                      : UserInput::click(picture->findChild<QPushButton *>("cmdOK")));
            });
        });
        QVERIFY(game.click("cmdTake"));
        QCOMPARE(game.text("lblScore").toInt(), 11500 - 50 * secondsTaken);
        QCOMPARE(heldUp, underPicture != 0);
        QCOMPARE(game.gameOver(), underPicture != CloseTheTable);
        QCOMPARE(game.prompts.inputPrompts.size(), underPicture != CloseTheTable ? 1 : 0); // the high score's name
        QVERIFY(game.forms->teamPic()->isHidden());
    }
    void actingDuringACountUpChangesOnlyWhatItShould_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("score");
        // A count-up pays the steps counted at its start, and none after a close.
        QTest::newRow("stock click in the card bonus") << "CARD BONUS:" << Tableau::StockSpot << "4600";
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
        const bool clearing = title == QLatin1String("CARD BONUS:");
        game.clock.advance(clearing ? 20s : 0s);
        game.announcer.take();
        int stepsSeen = 0;
        game.clock.onPause = [&](std::chrono::milliseconds length) {
            if (length == 150ms && game.text("lblBonuslbl") == title && ++stepsSeen == 3)
                QVERIFY(game.act(action));
        };
        QVERIFY(clearing ? game.click(19) : game.click("cmdTake"));
        QCOMPARE(game.text("lblScore"), score);
        if (!clearing)
            return;
        // The move, then the round end as it shows, each bonus once; the stock turn amid it; then the deal.
        QStringList said = game.announcer.take();
        QVERIFY2(said.size() == 7 && said.takeAt(3).endsWith(". 24 in the stock."), qPrintable(said.join('|')));
        QCOMPARE(said.mid(1, 4), (QStringList{"YOU DID IT!!", "Card bonus 2,500.", "Time bonus 2,000.",
                                              "Score 4,600. Round: 2."}));
    }
};

QTEST_MAIN(tst_Game)
#include "tst_game.moc"
