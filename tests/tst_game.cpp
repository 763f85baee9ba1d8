#include "support/gamefixture.h"

#include "game/tableau.h"
#include "records/frmhiscores.h"
#include "table/cardimage.h"
#include "table/frmmarigold.h"
#include "windows/frmteampic.h"

#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace std::chrono_literals;

class tst_Game : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundRunsOutOnTheClock()
    {
        Game game;
        game.click("cmdDeal");
        game.clock.advance(60s);
        QVERIFY(game.prompts.messages.isEmpty());
        bool clockRunningDuringMessage = true;
        game.prompts.onMessage = [&](const QString &) {
            clockRunningDuringMessage = game.table()->findChild<Ticker *>("Timer1")->isEnabled();
        };
        game.watchCaptions();
        game.clock.advance(1s);
        QCOMPARE(game.prompts.messages, QStringList{QStringLiteral("time is up!!!")});
        QVERIFY(!clockRunningDuringMessage);
        QCOMPARE(game.captionsAtPauses.last(), QStringLiteral("Round: 2|"));
        // The second round is dealt and its clock runs from a full bar.
        game.clock.advance(1s);
        QCOMPARE(game.bar()->value(), 59);
    }
    void secondRoundEndsInBonusRoundPictureOrGameOver_data()
    {
        QTest::addColumn<int>("secondsTaken"); QTest::addColumn<QString>("finalScore"); QTest::addColumn<bool>("picture");
        QTest::newRow("11050 shows no picture") << 21 << "11050" << false;
        QTest::newRow("11000 waits for the picture") << 22 << "11000" << true;
        QTest::newRow("10950 shows no picture") << 23 << "10950" << false;
    }
    void secondRoundEndsInBonusRoundPictureOrGameOver()
    {
        QFETCH(int, secondsTaken); QFETCH(QString, finalScore); QFETCH(bool, picture);
        Game game;
        game.intoSecondRoundAt9100(secondsTaken);
        int pausesWithPicture = 0;
        game.clock.onPause = [&](std::chrono::milliseconds) {
            frmTeamPic *teamPic = game.forms->teamPic();
            if (!teamPic->isVisible())
                return;
            QVERIFY(!game.table()->isEnabled());
            QVERIFY(game.label("lblBonuslbl")->text() != QStringLiteral("GAME OVER"));
            if (++pausesWithPicture == 5)
                QTest::mouseClick(teamPic->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
        };
        game.click("cmdTake");
        QCOMPARE(game.text("lblScore"), finalScore);
        QCOMPARE(pausesWithPicture, picture ? 5 : 0);
        QCOMPARE(game.table()->teamPicClosed(), qint16(0));
        QCOMPARE(game.text("lblBonuslbl"), QStringLiteral("GAME OVER"));
    }
    void runsScoreAndKeepTheBestRun()
    {
        Game game;
        game.writeFile(QStringLiteral("zelruntot.dat"), QByteArray::fromHex("0500"));
        game.click("cmdDeal");
        game.playRun(7);
        QCOMPARE(game.text("lblHighRun"), QStringLiteral("7"));
        QCOMPARE(game.readFile("zelruntot.dat"), QByteArray::fromHex("0700"));
        // An equal run writes nothing.
        game.click(27);
        QFile::remove(game.path("zelruntot.dat"));
        game.playRun(7);
        QVERIFY(!QFile::exists(game.path("zelruntot.dat")));
    }
    void stockClickDuringCardBonusLeavesTheCountAlone()
    {
        Game game;
        game.click("cmdDeal");
        for (int i = 0; i < 15; ++i)
            game.click(27);
        game.leaveOnePlayable();
        int cardBonusSteps = 0;
        game.clock.onPause = [&](std::chrono::milliseconds length) {
            if (length == 150ms && game.text("lblBonuslbl") == QStringLiteral("CARD BONUS:") && ++cardBonusSteps == 3)
                game.click(27);
        };
        game.clock.advance(60s); // no time bonus
        game.click(19);
        QCOMPARE(cardBonusSteps, 10);
        QCOMPARE(game.text("lblScore").toInt(), 100 + 1000);
    }
    void clearingTheTableDuringTimeBonusStartsNoSecondRoundEnd()
    {
        Game game;
        game.click("cmdDeal");
        game.leaveOnePlayable();
        game.watchCaptions();
        int timeBonusSteps = 0;
        auto watch = game.clock.onPause;
        game.clock.onPause = [&](std::chrono::milliseconds length) {
            watch(length);
            if (length == 150ms && game.text("lblBonuslbl") == QStringLiteral("TIME BONUS:")
                && ++timeBonusSteps == 2)
                game.click(19); // the last tableau card, during the count-up
        };
        game.click("cmdTake");
        QVERIFY(game.spot(19)->isVisible()); // the second round's deal
        QCOMPARE(timeBonusSteps, 60);
        QVERIFY(!game.captionsAtPauses.contains(QStringLiteral("YOU DID IT!!|")));
        QCOMPARE(game.captionsAtPauses.count(QStringLiteral("Round: 2|")), 1);
        QCOMPARE(game.text("lblScore"), QStringLiteral("3100"));
        // Round 2 ends into the decision for round 3, so no round was skipped.
        game.click("cmdTake");
        QCOMPARE(game.text("lblBonuslbl"), QStringLiteral("GAME OVER"));
    }
    void clearingTheTableAfterGameOverDealsNothing()
    {
        Game game;
        game.click("cmdDeal");
        game.click("cmdTake");
        game.click("cmdTake");
        if (game.forms->hiScores()->isVisible())
            game.forms->hiScores()->cmdOkay_Click();
        // The old table still plays, on the next game's score, but clearing it ends no round.
        game.leaveOnePlayable();
        game.click(19);
        QCOMPARE(game.text("lblBonuslbl"), QStringLiteral("GAME OVER"));
        game.click("cmdDeal");
        QCOMPARE(game.text("lblScore"), QStringLiteral("100"));
    }
    void closingTheTableDuringACountUpEndsTheGameThere()
    {
        Game game;
        game.click("cmdDeal");
        game.watchCaptions();
        auto watch = game.clock.onPause;
        game.clock.onPause = [&](std::chrono::milliseconds length) {
            watch(length);
            if (game.captionsAtPauses.size() == 3)
                game.forms->marigold()->close(); // as through the frame's close box
        };
        game.click("cmdTake");
        // The count-up stops at the pause it was in: no more points, no next round.
        QVERIFY(!game.forms->marigold()->isVisible());
        QCOMPARE(game.captionsAtPauses.size(), 3);
        QCOMPARE(game.text("lblScore"), QStringLiteral("150"));
        QVERIFY(game.prompts.inputPrompts.isEmpty());
    }

private:
    struct Game : GameFixture
    {
        QProgressBar *bar() { return table()->findChild<QProgressBar *>("ProgressBar1"); }
        int wasteRank() { return table()->model().wasteRank(); }
        void lay(int index, int rank) { putCard(index, (rank - 1 + 13) % 13 + 1); } // a spade of `rank`
        // Plays `cards` cards in one run from spot 19, each one rank above the waste.
        void playRun(int cards)
        {
            for (int i = 0; i < cards; ++i)
                lay(19, wasteRank() + 1), click(19);
        }
        // Round 1 taken at once (3000), then runs of 10 and 3 cards in round 2 (6100),
        // and `seconds` off its clock: each second taken is 50 less time bonus.
        void intoSecondRoundAt9100(int seconds)
        {
            click("cmdDeal");
            click("cmdTake");
            playRun(10);
            click(27);
            playRun(3);
            clock.advance(std::chrono::seconds(seconds));
        }
        // Takes every tableau card but 19 off the table and lays there one that plays.
        void leaveOnePlayable()
        {
            for (int index = 0; index < Tableau::TableauSize; ++index)
                if (index != 19)
                    take(index);
            lay(19, wasteRank() + 1);
        }
        QStringList captionsAtPauses;
        void watchCaptions()
        {
            clock.onPause = [this](std::chrono::milliseconds) {
                QLabel *title = label("lblBonuslbl"), *figure = label("lblBonus");
                captionsAtPauses.append((title->isVisible() ? title->text() : QString()) + QLatin1Char('|')
                                        + (figure->isVisible() ? figure->text() : QString()));
            };
        }
    };
};

QTEST_MAIN(tst_Game)
#include "tst_game.moc"
