#include "support/gamefixture.h"

#include "records/frmhiscores.h"
#include "game/card.h"
#include "game/tableau.h"
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
    void roundRunsOutOnTheClock();
    void takeScoreCountsUpTheSecondsLeft();
    void secondRoundDecidesOnTheBonusRound_data();
    void secondRoundDecidesOnTheBonusRound();
    void bonusRoundAlwaysEndsTheGame();
    void teamPictureWaitsOnlyAtExactly11000_data();
    void teamPictureWaitsOnlyAtExactly11000();
    void moveRuleOnTheTable_data();
    void moveRuleOnTheTable();
    void peakCardsAddTheirBonusAndMarker();
    void takenCardsOpenTheCardsBeneath();
    void pressActionPlaysLikeAClick();
    void runsScoreAndKeepTheBestRun();
    void stockRunsOutAfter25Turns();
    void cardBonusPaysForCardsLeftInTheStock_data();
    void cardBonusPaysForCardsLeftInTheStock();
    void stockClickDuringCardBonusLeavesTheCountAlone();
    void clearingTheTableDuringTimeBonusStartsNoSecondRoundEnd();
    void clearingTheTableAfterGameOverDealsNothing();
    void wholeGameOnTheClockEntersTheHighScores();
    void closingTheTableDuringACountUpEndsTheGameThere();

private:
    struct Game : GameFixture
    {
        QProgressBar *bar() { return table()->findChild<QProgressBar *>("ProgressBar1"); }
        int wasteRank() { return table()->model().wasteRank(); }
        void put(int index, int card, bool faceUp, bool onTable, bool clickable)
        {
            table()->model().arrange(index, Spot{qint16(card), faceUp, onTable, clickable});
            table()->showTable();
        }
        void take(int index)
        {
            Spot s = table()->model().spot(index);
            s.onTable = false;
            put(index, s.card, s.faceUp, false, s.clickable);
        }
        // Puts a face-up, clickable card of `rank` on `index`, as a deal or an open test would.
        void lay(int index, int rank)
        {
            put(index, spadeOf(rank), true, true, true);
        }
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

void tst_Game::roundRunsOutOnTheClock()
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

void tst_Game::takeScoreCountsUpTheSecondsLeft()
{
    Game game;
    game.click("cmdDeal");
    game.clock.advance(40s);
    QList<int> barDuringCountUp;
    game.clock.onPause = [&](std::chrono::milliseconds length) {
        if (length == 150ms)
            barDuringCountUp.append(game.bar()->value());
    };
    game.click("cmdTake");
    QCOMPARE(barDuringCountUp.size(), 20);
    QCOMPARE(barDuringCountUp.first(), 19);
    QCOMPARE(barDuringCountUp.last(), 0);
    QCOMPARE(game.text("lblScore"), QStringLiteral("1000"));
    // Round 2 is dealt with the score carried.
    QVERIFY(game.button("cmdTake")->isVisible());
    QCOMPARE(game.clickableSpots(), QList<int>({19, 20, 23, 24, 25, 27}));
}

void tst_Game::secondRoundDecidesOnTheBonusRound_data()
{
    QTest::addColumn<int>("secondsTaken");
    QTest::addColumn<QString>("finalScore");
    QTest::addColumn<bool>("bonusRound");
    QTest::newRow("12000 deals the bonus round") << 2 << "12000" << true;
    QTest::newRow("11950 ends the game") << 3 << "11950" << false;
}

void tst_Game::secondRoundDecidesOnTheBonusRound()
{
    QFETCH(int, secondsTaken);
    QFETCH(QString, finalScore);
    QFETCH(bool, bonusRound);
    Game game;
    game.intoSecondRoundAt9100(secondsTaken);
    game.watchCaptions();
    game.click("cmdTake");
    if (bonusRound) {
        QCOMPARE(game.captionsAtPauses.last(), QStringLiteral("Round: 3|"));
        QCOMPARE(game.text("lblScore"), finalScore);
        QVERIFY(game.button("cmdTake")->isVisible());
    } else {
        QCOMPARE(game.text("lblBonuslbl"), QStringLiteral("GAME OVER"));
        QCOMPARE(game.text("lblScore"), finalScore);
        QVERIFY(game.button("cmdDeal")->isVisible());
        QVERIFY(game.button("cmdTake")->isHidden());
    }
}

void tst_Game::bonusRoundAlwaysEndsTheGame()
{
    Game game;
    game.click("cmdDeal");
    game.click("cmdTake");
    game.playRun(12); // 7800, with 3000 and 3000 more: into the bonus round
    game.click("cmdTake");
    QVERIFY(game.button("cmdTake")->isVisible());
    game.playRun(20);
    game.click("cmdTake");
    QCOMPARE(game.text("lblBonuslbl"), QStringLiteral("GAME OVER"));
    QVERIFY(game.button("cmdDeal")->isVisible());
}

void tst_Game::teamPictureWaitsOnlyAtExactly11000_data()
{
    QTest::addColumn<int>("secondsTaken");
    QTest::addColumn<bool>("picture");
    QTest::newRow("10950 shows no picture") << 23 << false;
    QTest::newRow("11000 waits for the picture") << 22 << true;
    QTest::newRow("11050 shows no picture") << 21 << false;
}

void tst_Game::teamPictureWaitsOnlyAtExactly11000()
{
    QFETCH(int, secondsTaken);
    QFETCH(bool, picture);
    Game game;
    game.intoSecondRoundAt9100(secondsTaken);

    int pausesWithPicture = 0;
    bool tableDisabledDuringWait = false;
    game.clock.onPause = [&](std::chrono::milliseconds) {
        frmTeamPic *teamPic = game.forms->teamPic();
        if (!teamPic->isVisible())
            return;
        tableDisabledDuringWait = !game.table()->isEnabled();
        QVERIFY(game.label("lblBonuslbl")->text() != QStringLiteral("GAME OVER"));
        if (++pausesWithPicture == 5)
            QTest::mouseClick(teamPic->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
    };
    game.click("cmdTake");
    QCOMPARE(pausesWithPicture > 0, picture);
    if (picture) {
        QCOMPARE(pausesWithPicture, 5);
        QVERIFY(tableDisabledDuringWait);
        QCOMPARE(game.table()->teamPicClosed(), qint16(0));
    }
    QCOMPARE(game.text("lblBonuslbl"), QStringLiteral("GAME OVER"));
    QVERIFY(game.table()->isEnabled() || game.forms->hiScores()->isVisible());
}

void tst_Game::moveRuleOnTheTable_data()
{
    QTest::addColumn<int>("waste");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<bool>("moves");
    QTest::newRow("ace on a king") << 13 << 1 << true;
    QTest::newRow("king on an ace") << 1 << 13 << true;
    QTest::newRow("two on an ace") << 1 << 2 << true;
    QTest::newRow("ace on a queen beeps") << 12 << 1 << false;
    QTest::newRow("seven on a seven beeps") << 7 << 7 << false;
}

void tst_Game::moveRuleOnTheTable()
{
    QFETCH(int, waste);
    QFETCH(int, clicked);
    QFETCH(bool, moves);
    Game game;
    game.click("cmdDeal");
    game.put(Tableau::WasteSpot, spadeOf(waste), true, true, false);
    game.lay(23, clicked);
    // A seven of hearts on a seven of spades: the suit never matters.
    if (waste == clicked)
        game.put(23, clicked + 13, true, true, true);
    const QString scoreBefore = game.text("lblScore");
    game.click(23);
    QCOMPARE(game.spot(23)->isHidden(), moves);
    QCOMPARE(game.prompts.beeps, moves ? 0 : 1);
    if (moves) {
        QCOMPARE(game.wasteRank(), clicked);
        QCOMPARE(game.spot(Tableau::WasteSpot)->picture(), CardPicture::face(spadeOf(clicked)));
        QCOMPARE(game.text("lblScore"), QStringLiteral("100"));
    } else {
        QCOMPARE(game.wasteRank(), waste);
        QCOMPARE(game.text("lblScore"), scoreBefore);
        QCOMPARE(game.text("lblRun"), QStringLiteral("0"));
    }
}

void tst_Game::peakCardsAddTheirBonusAndMarker()
{
    Game game;
    game.click("cmdDeal");
    game.lay(0, game.wasteRank() + 1);
    game.click(0);
    QCOMPARE(game.text("lblScore"), QStringLiteral("1100"));
    QVERIFY(game.label("lblSpot0")->isVisible());
    QVERIFY(game.label("lblSpot1")->isHidden());
    game.lay(1, game.wasteRank() + 1);
    game.click(1);
    QCOMPARE(game.text("lblScore"), QStringLiteral("2300")); // 1000 + 200 for the run's second card
    QVERIFY(game.label("lblSpot1")->isVisible());
    game.lay(7, game.wasteRank() + 1);
    game.click(7);
    QCOMPARE(game.text("lblScore"), QStringLiteral("2600"));
}

void tst_Game::takenCardsOpenTheCardsBeneath()
{
    Game game;
    game.click("cmdDeal");
    game.lay(25, game.wasteRank() + 1);
    game.click(25);
    QCOMPARE(game.clickableSpots(), QList<int>({19, 20, 21, 22, 23, 24, 27}));
    QCOMPARE(game.spot(21)->picture(), CardPicture::face(game.spot(21)->tag().toInt()));

    game.lay(19, game.wasteRank() + 1);
    game.click(19);
    QVERIFY(game.spot(12)->isClickable());
    QVERIFY(!game.spot(13)->isClickable());
    QCOMPARE(game.spot(13)->picture().isFace(), false);

    // A beep still runs the open tests, and changes nothing.
    game.put(Tableau::WasteSpot, 7, true, true, false);
    game.lay(20, 7);
    const QList<int> before = game.clickableSpots();
    game.click(20);
    QCOMPARE(game.clickableSpots(), before);
    QCOMPARE(game.prompts.beeps, 1);

    // The peaks open only when both cards over them are gone.
    game.take(2);
    game.lay(24, 8);
    game.click(24);
    QVERIFY(!game.spot(0)->isClickable());
    game.take(3);
    game.lay(24, 9);
    game.click(24);
    QVERIFY(game.spot(0)->isClickable());
    QCOMPARE(game.spot(0)->picture(), CardPicture::face(game.spot(0)->tag().toInt()));
}

void tst_Game::pressActionPlaysLikeAClick()
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

    game.table()->setEnabled(false);
    press(game.spot(27));
    QCOMPARE(game.text("lblCards"), QStringLiteral("24"));
}

void tst_Game::runsScoreAndKeepTheBestRun()
{
    Game game;
    game.writeFile(QStringLiteral("zelruntot.dat"), QByteArray::fromHex("0500"));
    game.click("cmdDeal");
    game.playRun(5);
    QCOMPARE(game.text("lblScore"), QStringLiteral("1500"));
    QCOMPARE(game.text("lblRun"), QStringLiteral("5"));
    QCOMPARE(game.readFile("zelruntot.dat"), QByteArray::fromHex("0500"));

    QFile::remove(game.path("zelruntot.dat"));
    game.playRun(1);
    QCOMPARE(game.text("lblHighRun"), QStringLiteral("6"));
    QCOMPARE(game.readFile("zelruntot.dat"), QByteArray::fromHex("0600"));
    QFile::remove(game.path("zelruntot.dat"));
    game.playRun(1);
    QCOMPARE(game.readFile("zelruntot.dat"), QByteArray::fromHex("0700"));

    // A stock turn ends the run: the next card scores 100 again; an equal run writes nothing.
    game.click(27);
    QCOMPARE(game.text("lblRun"), QStringLiteral("0"));
    QFile::remove(game.path("zelruntot.dat"));
    const int before = game.text("lblScore").toInt();
    game.playRun(7);
    QCOMPARE(game.text("lblScore").toInt() - before, 2800);
    QVERIFY(!QFile::exists(game.path("zelruntot.dat")));
    QCOMPARE(game.text("lblHighRun"), QStringLiteral("7"));
}

void tst_Game::stockRunsOutAfter25Turns()
{
    Game game;
    game.click("cmdDeal");
    for (int i = 0; i < 25; ++i)
        game.click(27);
    QCOMPARE(game.text("lblCards"), QStringLiteral("0"));
    QVERIFY(game.spot(27)->isHidden());
    const CardPicture waste = game.spot(Tableau::WasteSpot)->picture();
    game.table()->imgSpot_Click(Tableau::StockSpot); // a click where the stock was
    QCOMPARE(game.spot(Tableau::WasteSpot)->picture(), waste);
    QCOMPARE(game.prompts.beeps, 0);
}

void tst_Game::cardBonusPaysForCardsLeftInTheStock_data()
{
    QTest::addColumn<int>("turned");
    QTest::addColumn<QStringList>("bonusSteps");
    QTest::addColumn<int>("bonus");
    QTest::newRow("ten cards left") << 15
                                    << QStringList{"100", "200", "300", "400", "500", "600",
                                                   "700", "800", "900", "1000"}
                                    << 1000;
    QTest::newRow("an empty stock") << 25 << QStringList() << 0;
}

void tst_Game::cardBonusPaysForCardsLeftInTheStock()
{
    QFETCH(int, turned);
    QFETCH(QStringList, bonusSteps);
    QFETCH(int, bonus);
    Game game;
    game.click("cmdDeal");
    for (int i = 0; i < turned; ++i)
        game.click(27);
    game.clearAllBut(19);
    game.lay(19, game.wasteRank() + 1);
    QStringList steps;
    QStringList stockCounts;
    QStringList titles;
    game.clock.onPause = [&](std::chrono::milliseconds length) {
        titles.append(game.text("lblBonuslbl") + QLatin1Char('|')
                      + (game.label("lblBonus")->isVisible() ? game.text("lblBonus") : QString()));
        if (length == 150ms && game.text("lblBonuslbl") == QStringLiteral("CARD BONUS:")) {
            steps.append(game.text("lblBonus"));
            stockCounts.append(game.text("lblCards"));
        }
    };
    game.clock.advance(20s); // 40 seconds left for the time bonus
    game.click(19);
    QCOMPARE(titles.first(), QStringLiteral("YOU DID IT!!|"));
    QCOMPARE(titles.at(1), QStringLiteral("CARD BONUS:|") + (bonusSteps.isEmpty() ? "0" : "100"));
    QCOMPARE(steps, bonusSteps);
    if (bonus > 0)
        QCOMPARE(stockCounts, QStringList({"9", "8", "7", "6", "5", "4", "3", "2", "1", "0"}));
    QVERIFY(titles.contains(QStringLiteral("TIME BONUS:|2000")));
    // 100 for the card, the card bonus, 50 for each of the 40 seconds left.
    QCOMPARE(game.text("lblScore").toInt(), 100 + bonus + 2000);
    QVERIFY(game.button("cmdTake")->isVisible()); // round 2 is dealt
}

void tst_Game::stockClickDuringCardBonusLeavesTheCountAlone()
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

void tst_Game::clearingTheTableDuringTimeBonusStartsNoSecondRoundEnd()
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

void tst_Game::clearingTheTableAfterGameOverDealsNothing()
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

void tst_Game::wholeGameOnTheClockEntersTheHighScores()
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
    frmHiScores *scores = game.forms->hiScores();
    QVERIFY(scores->isVisible());
    QVERIFY(!game.table()->isEnabled());
    QCOMPARE(scores->findChild<QLabel *>("lblName[0]")->text(), QStringLiteral("Tess           "));
    QCOMPARE(scores->findChild<QLabel *>("lblScore[0]")->text(), QStringLiteral("6000"));
    QCOMPARE(scores->findChild<QLabel *>("lblScore[1]")->text(), QStringLiteral("0"));
    // Closing the window through its frame is as good as OK.
    QVERIFY(!scores->close());
    QVERIFY(game.table()->isEnabled());
    QVERIFY(scores->isHidden());
}

void tst_Game::closingTheTableDuringACountUpEndsTheGameThere()
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

QTEST_MAIN(tst_Game)
#include "tst_game.moc"
