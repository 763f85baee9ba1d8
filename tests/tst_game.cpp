#include "support/gamefixture.h"

#include "game/tableau.h"
#include "records/frmhiscores.h"
#include "table/cardimage.h"
#include "table/frmmarigold.h"
#include "windows/frmteampic.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace std::chrono_literals;

namespace {

// The card of the given rank in spades, whose number is its rank.
int spadeOf(int rank)
{
    return (rank - 1 + 13) % 13 + 1;
}

} // namespace

class tst_Game : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundRunsOutOnTheClock()
    {
        Game game;
        game.click("cmdDeal");
        game.clock.advance(1s);
        QCOMPARE(game.bar()->value(), 59);
        game.clock.advance(59s);
        QCOMPARE(game.bar()->value(), 0);
        QVERIFY(game.prompts.messages.isEmpty());

        bool clockRunningDuringMessage = true;
        game.prompts.onMessage = [&](const QString &) {
            clockRunningDuringMessage = game.table()->findChild<Ticker *>("Timer1")->isEnabled();
        };
        game.watchCaptions();
        game.clock.advance(1s);
        QCOMPARE(game.prompts.messages, QStringList{QStringLiteral("time is up!!!")});
        QVERIFY(!clockRunningDuringMessage);
        QCOMPARE(game.captionsAtPauses.first(), QStringLiteral("TIME BONUS:|0"));
        QCOMPARE(game.captionsAtPauses.last(), QStringLiteral("Round: 2|"));
        QCOMPARE(game.text("lblScore"), QStringLiteral("0"));
        // The second round is dealt and its clock runs from a full bar.
        QCOMPARE(game.bar()->value(), 60);
        QVERIFY(game.button("cmdTake")->isVisible());
        QVERIFY(game.label("lblBonuslbl")->isHidden());
        game.clock.advance(1s);
        QCOMPARE(game.bar()->value(), 59);
    }

    void secondRoundEndsInBonusRoundPictureOrGameOver_data()
    {
        QTest::addColumn<int>("secondsTaken");
        QTest::addColumn<QString>("finalScore");
        QTest::addColumn<bool>("bonusRound");
        QTest::addColumn<bool>("picture");
        QTest::newRow("12000 deals the bonus round") << 2 << "12000" << true << false;
        QTest::newRow("11950 ends the game") << 3 << "11950" << false << false;
        QTest::newRow("11050 shows no picture") << 21 << "11050" << false << false;
        QTest::newRow("11000 waits for the picture") << 22 << "11000" << false << true;
        QTest::newRow("10950 shows no picture") << 23 << "10950" << false << false;
    }

    void secondRoundEndsInBonusRoundPictureOrGameOver()
    {
        QFETCH(int, secondsTaken);
        QFETCH(QString, finalScore);
        QFETCH(bool, bonusRound);
        QFETCH(bool, picture);
        Game game;
        game.intoSecondRoundAt9100(secondsTaken);
        game.watchCaptions();
        auto watch = game.clock.onPause;
        int pausesWithPicture = 0;
        game.clock.onPause = [&](std::chrono::milliseconds length) {
            watch(length);
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
        QCOMPARE(game.button("cmdTake")->isVisible(), bonusRound);
        QCOMPARE(game.button("cmdDeal")->isVisible(), !bonusRound);
        if (bonusRound)
            QCOMPARE(game.captionsAtPauses.last(), QStringLiteral("Round: 3|"));
        else
            QCOMPARE(game.text("lblBonuslbl"), QStringLiteral("GAME OVER"));
    }

    void pressActionPlaysLikeAClick()
    {
        QAccessible::setActive(true);
        Game game;
        auto actionsOf = [](QWidget *widget) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
            return iface->actionInterface() ? iface->actionInterface()->actionNames() : QStringList();
        };
        auto press = [](QWidget *widget) {
            QAccessible::queryAccessibleInterface(widget)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
        };
        QVERIFY(actionsOf(game.spot(19)).isEmpty()); // nothing reacts before the deal
        game.click("cmdDeal");
        QCOMPARE(actionsOf(game.spot(19)), QStringList{QAccessibleActionInterface::pressAction()});
        QVERIFY(actionsOf(game.spot(0)).isEmpty());                  // covered
        QVERIFY(actionsOf(game.spot(Tableau::WasteSpot)).isEmpty()); // the waste never reacts

        press(game.spot(27));
        QCOMPARE(game.text("lblCards"), QStringLiteral("24"));
        game.lay(19, game.wasteRank() + 1);
        press(game.spot(19));
        QVERIFY(game.spot(19)->isHidden());
        QCOMPARE(game.text("lblScore"), QStringLiteral("100"));
        QVERIFY(actionsOf(game.spot(19)).isEmpty()); // removed
        game.lay(20, game.wasteRank()); // the same rank only beeps
        press(game.spot(20));
        QCOMPARE(game.prompts.beeps, 1);
        QVERIFY(game.spot(20)->isVisible());

        game.table()->setEnabled(false);
        press(game.spot(27));
        QCOMPARE(game.text("lblCards"), QStringLiteral("24"));
    }

    void runsScoreAndKeepTheBestRun()
    {
        Game game;
        game.writeFile(QStringLiteral("zelruntot.dat"), QByteArray::fromHex("0500"));
        game.click("cmdDeal");
        game.playRun(5);
        QCOMPARE(game.text("lblRun"), QStringLiteral("5"));
        QVERIFY(!game.readFile("zelruntot.dat").startsWith('\x06'));
        game.playRun(2);
        QCOMPARE(game.text("lblScore"), QStringLiteral("2800"));
        QCOMPARE(game.text("lblHighRun"), QStringLiteral("7"));
        QCOMPARE(game.readFile("zelruntot.dat"), QByteArray::fromHex("0700"));
        // An equal run writes nothing.
        game.click(27);
        QFile::remove(game.path("zelruntot.dat"));
        game.playRun(7);
        QVERIFY(!QFile::exists(game.path("zelruntot.dat")));
    }

    void cardBonusCountsUpThenTheTimeBonus()
    {
        Game game;
        game.click("cmdDeal");
        for (int i = 0; i < 15; ++i)
            game.click(27);
        game.clearAllBut(19);
        game.lay(19, game.wasteRank() + 1);
        game.watchCaptions();
        QStringList stockCounts;
        auto watch = game.clock.onPause;
        game.clock.onPause = [&](std::chrono::milliseconds length) {
            watch(length);
            if (game.text("lblBonuslbl") == QStringLiteral("CARD BONUS:") && length == 150ms)
                stockCounts.append(game.text("lblCards"));
        };
        game.clock.advance(20s); // 40 seconds left for the time bonus
        game.click(19);
        const QStringList &captions = game.captionsAtPauses;
        QCOMPARE(captions.first(), QStringLiteral("YOU DID IT!!|"));
        QCOMPARE(captions.mid(1, 11),
                 QStringList({"CARD BONUS:|100", "CARD BONUS:|200", "CARD BONUS:|300", "CARD BONUS:|400",
                              "CARD BONUS:|500", "CARD BONUS:|600", "CARD BONUS:|700", "CARD BONUS:|800",
                              "CARD BONUS:|900", "CARD BONUS:|1000", "CARD BONUS:|1000"}));
        QCOMPARE(stockCounts, QStringList({"9", "8", "7", "6", "5", "4", "3", "2", "1", "0"}));
        QCOMPARE(captions.at(12), QStringLiteral("TIME BONUS:|50"));
        QCOMPARE(captions.at(51), QStringLiteral("TIME BONUS:|2000"));
        QCOMPARE(captions.last(), QStringLiteral("Round: 2|"));
        QCOMPARE(game.text("lblScore").toInt(), 100 + 1000 + 2000);
        QVERIFY(game.button("cmdTake")->isVisible()); // round 2 is dealt
    }

    void stockClickDuringCardBonusLeavesTheCountAlone()
    {
        Game game;
        game.click("cmdDeal");
        for (int i = 0; i < 15; ++i)
            game.click(27);
        game.clearAllBut(19);
        game.lay(19, game.wasteRank() + 1);
        int cardBonusSteps = 0;
        game.clock.onPause = [&](std::chrono::milliseconds length) {
            if (length == 150ms && game.text("lblBonuslbl") == QStringLiteral("CARD BONUS:")) {
                if (++cardBonusSteps == 3)
                    game.click(27);
            }
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
        game.clearAllBut(19);
        game.lay(19, game.wasteRank() + 1);
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
        game.captionsAtPauses.clear();
        game.click("cmdTake");
        QCOMPARE(game.text("lblBonuslbl"), QStringLiteral("GAME OVER"));
    }

    void clearingTheTableAfterGameOverDealsNothing()
    {
        Game game;
        game.click("cmdDeal");
        game.click("cmdTake");
        game.click("cmdTake");
        QCOMPARE(game.text("lblBonuslbl"), QStringLiteral("GAME OVER"));
        if (game.forms->hiScores()->isVisible())
            game.forms->hiScores()->cmdOkay_Click();
        // The old table still plays, on the next game's score, but clearing it ends no round.
        game.clearAllBut(19);
        game.lay(19, game.wasteRank() + 1);
        game.click(19);
        QCOMPARE(game.text("lblScore"), QStringLiteral("100"));
        QCOMPARE(game.text("lblBonuslbl"), QStringLiteral("GAME OVER"));
        QVERIFY(game.button("cmdDeal")->isVisible());
        game.click("cmdDeal");
        QCOMPARE(game.text("lblScore"), QStringLiteral("100"));
    }

    void wholeGameOnTheClockEntersTheHighScores()
    {
        Game game;
        game.prompts.inputAnswers = {QStringLiteral("Tess")};
        game.click("cmdDeal");
        game.clock.advance(61s); // round 1 runs out
        game.clock.advance(61s); // and round 2: the game is over with 0
        QCOMPARE(game.prompts.messages.size(), 2);
        QCOMPARE(game.text("lblBonuslbl"), QStringLiteral("GAME OVER"));
        QVERIFY(game.prompts.inputPrompts.isEmpty()); // 0 enters no table
        QVERIFY(game.table()->isEnabled());

        game.click("cmdDeal");
        game.click("cmdTake");
        game.click("cmdTake");
        QCOMPARE(game.prompts.inputTitles, QStringList{QStringLiteral("High Score!!")});
        QCOMPARE(game.text("lblHighScore"), QStringLiteral("6000"));
        QCOMPARE(game.forms->hiScores()->findChild<QLabel *>("lblName[0]")->text(),
                 QStringLiteral("Tess           "));
        QVERIFY(!game.table()->isEnabled());
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
        void lay(int index, int rank) { putCard(index, spadeOf(rank)); }
        // Plays `cards` cards in one run from spot 19, each one rank above the waste.
        void playRun(int cards)
        {
            for (int i = 0; i < cards; ++i) {
                lay(19, wasteRank() + 1);
                click(19);
            }
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
        // Takes every tableau card but `left` off the table.
        void clearAllBut(int left)
        {
            for (int index = 0; index < Tableau::TableauSize; ++index) {
                if (index != left)
                    take(index);
            }
        }
        QStringList captionsAtPauses;
        void watchCaptions()
        {
            clock.onPause = [this](std::chrono::milliseconds) {
                QLabel *title = label("lblBonuslbl");
                QLabel *figure = label("lblBonus");
                captionsAtPauses.append(
                    (title->isVisible() ? title->text() : QString()) + QLatin1Char('|')
                    + (figure->isVisible() ? figure->text() : QString()));
            };
        }
    };
};

QTEST_MAIN(tst_Game)
#include "tst_game.moc"
