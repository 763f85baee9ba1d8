#include "game/card.h"
#include "game/highscoretable.h"
#include "game/randomgenerator.h"
#include "game/tablemodel.h"

#include <QSignalSpy>
#include <QTest>

#include <set>

namespace {

constexpr int Waste = Tableau::WasteSpot;
const QList<int> DealtClickable = {19, 20, 23, 24, 25, 27};
const QList<int> DealtFaceUp = {19, 20, 23, 24, 25, 26};

// A table dealt from a seeded generator, with helpers that set up a position.
struct Table
{
    Table() { random.seed(11); model.load(0, 0, 0); model.deal(random, 0); }
    // A face-up, clickable card of `rank`; `suit` 0 to 3 picks its block of thirteen.
    void lay(int index, int rank, int suit = 0) { model.arrange(index, Spot{qint16(suit * 13 + rank), true, true, true}); }
    void take(int index) { Spot spot = model.spot(index); spot.onTable = false; model.arrange(index, spot); }
    int above(int rank) const { return rank % 13 + 1; }
    // Plays a card one rank above the waste from `index`; a same-rank card beeps.
    bool play(int index = 19, bool legal = true)
    {
        lay(index, legal ? above(model.wasteRank()) : model.wasteRank(), 1);
        const bool moved = model.playSpot(index);
        model.EnableOpenCards();
        return moved;
    }
    RandomGenerator random;
    TableModel model;
};

QList<int> spotsWhere(const TableModel &model, bool Spot::*flag)
{
    QList<int> spots;
    for (int index = 0; index < Tableau::SpotCount; ++index)
        if (model.spot(index).*flag)
            spots.append(index);
    return spots;
}

QList<int> ints(const QSignalSpy &spy)
{
    QList<int> values;
    for (const QList<QVariant> &call : spy)
        values.append(call.first().toInt());
    return values;
}

} // namespace

class tst_Rules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rankFollowsTheSuitBlocks_data()
    {
        QTest::addColumn<int>("card"); QTest::addColumn<int>("rank"); QTest::addColumn<QString>("name");
        QTest::newRow("ace of spades") << 1 << 1 << "Ace of Spades";
        QTest::newRow("king of hearts") << 26 << 13 << "King of Hearts";
        QTest::newRow("queen of clubs") << 38 << 12 << "Queen of Clubs";
        QTest::newRow("ace of diamonds") << 40 << 1 << "Ace of Diamonds";
        QTest::newRow("zero passes through") << 0 << 0 << "";
    }
    void rankFollowsTheSuitBlocks()
    {
        QFETCH(int, card); QFETCH(int, rank); QFETCH(QString, name);
        QVERIFY(Card::rank(card) == rank && Card::name(card) == name);
    }
    void everyShuffleIsAUniformPermutation()
    {
        // Chi-square of the cards in each slot over 5200 shuffles: 51 degrees of freedom,
        // and 100 lies beyond the 0.9999 quantile, so only a biased shuffle fails.
        constexpr int Shuffles = 5200;
        RandomGenerator random;
        random.seed(20261206);
        Shuffle deck;
        std::vector<std::array<int, Card::Count>> counts(Card::Count + 1);
        for (int i = 0; i < Shuffles; ++i) {
            deck.ShuffleDeck(random);
            std::set<int> seen;
            for (int slot = 1; slot <= Card::Count; ++slot)
                seen.insert(deck.Deck(slot)), ++counts[slot][deck.Deck(slot) - 1];
            QVERIFY(int(seen.size()) == Card::Count && *seen.begin() == 1 && *seen.rbegin() == Card::Count);
            QCOMPARE(deck.DeckTotal(), Shuffle::FullTotal);
        }
        const double expected = double(Shuffles) / Card::Count;
        for (int slot = 1; slot <= Card::Count; ++slot) {
            double chiSquare = 0;
            for (int count : counts[slot])
                chiSquare += (count - expected) * (count - expected) / expected;
            QVERIFY2(chiSquare < 100.0, qPrintable(QStringLiteral("slot %1: %2").arg(slot).arg(chiSquare)));
        }
    }
    void cardOpensWhenItsLastCoverIsGone_data()
    {
        QTest::addColumn<int>("spot"); QTest::addColumn<QList<int>>("covers");
        const QList<QList<int>> coveredBy = {
            {2, 3},   {4, 5},                                                // row 0
            {6, 7},   {7, 8},   {9, 10},  {10, 11},                          // row 1
            {12, 13}, {13, 14}, {14, 15}, {15, 16}, {16, 17}, {17, 18},      // row 2
            {19},     {19, 20}, {20, 21}, {21, 22}, {22, 23}, {23, 24}, {24}, // row 3
            {},       {},       {25},     {25},     {},       {},            // row 4
            {},                                                              // row 5
        };
        for (int spot = 0; spot < Tableau::TableauSize; ++spot)
            QTest::addRow("spot %d", spot) << spot << coveredBy[spot];
    }
    void cardOpensWhenItsLastCoverIsGone()
    {
        QFETCH(int, spot); QFETCH(QList<int>, covers);
        Table table;
        const bool dealtUp = covers.isEmpty();
        QVERIFY(table.model.spot(spot).clickable == dealtUp && table.model.spot(spot).faceUp == dealtUp);
        if (dealtUp)
            return;
        // Every cover but one gone: still shut.
        for (int kept : covers) {
            Table partly;
            for (int cover : covers)
                if (cover != kept)
                    partly.take(cover);
            partly.model.EnableOpenCards();
            QVERIFY2(!partly.model.spot(spot).clickable && !partly.model.spot(spot).faceUp, qPrintable(QString::number(kept)));
        }
        for (int cover : covers)
            table.take(cover);
        QVERIFY(!table.model.EnableOpenCards());
        QVERIFY(table.model.spot(spot).clickable && table.model.spot(spot).faceUp);
    }
    void takingTheLastTableauCardClearsTheRound()
    {
        Table table;
        for (int spot = 1; spot < Tableau::TableauSize; ++spot)
            table.take(spot);
        QVERIFY(!table.model.EnableOpenCards());
        table.lay(0, table.above(table.model.wasteRank()));
        QVERIFY(table.model.playSpot(0));
        QVERIFY(table.model.EnableOpenCards());
        // Once the round end has begun, a clear table starts nothing more.
        table.model.startTimeBonus();
        QVERIFY(!table.model.EnableOpenCards());
    }
    void dealResetsTheTable_data()
    {
        QTest::addColumn<bool>("newGame");
        QTest::newRow("the next round carries the score") << false;
        QTest::newRow("a new game starts from 0") << true;
    }
    void dealResetsTheTable()
    {
        QFETCH(bool, newGame);
        Table table;
        TableModel &model = table.model;
        // Leave every trace of play: both peaks taken, a run, an empty stock, a round end.
        table.play(0);
        table.play(1);
        for (int i = 0; i < Tableau::StockSize; ++i)
            model.FlipCard();
        table.play();
        table.play();
        model.arrange(5, Spot{5, true, true, true});
        const int seconds = model.startTimeBonus();
        model.bonusStep(TableModel::Bonus::Time, 1, seconds);
        model.showNextRound();
        if (newGame)
            model.showGameOver(), model.endGame();
        const qint32 carried = model.state().Score;
        QCOMPARE(carried, newGame ? 0 : 2000 + 100 + 200 + 100 + 200 + 50);
        QSignalSpy scores(&model, &TableModel::scoreChanged);
        model.deal(table.random, 4);
        QCOMPARE(ints(scores), QList<int>{carried});
        QCOMPARE(model.state().RoundNum, qint16(newGame ? 1 : 2));
        QCOMPARE(model.state().NextStock, qint16(0));
        QCOMPARE(model.cardsShown(), 25);
        QVERIFY(model.state().CurRun == 0 && model.runShown() == 0);
        QCOMPARE(model.state().TimeLeft, qint16(60));
        QVERIFY(model.clockRunning() && model.takeShown() && !model.idleButtonsShown());
        QVERIFY(!model.peakMarkerShown(0) && !model.peakMarkerShown(1));
        QVERIFY(!model.bonusTitleShown() && !model.bonusFigureShown());
        QCOMPARE(model.shownBack(), qint16(4));
        QCOMPARE(spotsWhere(model, &Spot::onTable).size(), Tableau::SpotCount);
        QCOMPARE(spotsWhere(model, &Spot::clickable), DealtClickable);
        QCOMPARE(spotsWhere(model, &Spot::faceUp), DealtFaceUp);
        for (int spot = 0; spot <= Waste; ++spot)
            QCOMPARE(model.spot(spot).card, qint16(model.deck().Deck(spot + 1)));
        QCOMPARE(model.wasteRank(), Card::rank(model.deck().Deck(27)));
        // The next card played is the first of a new run.
        table.play();
        QCOMPARE(model.state().Score, carried + 100);
    }
    void moveRuleOverEveryRankPair_data()
    {
        QTest::addColumn<int>("waste"); QTest::addColumn<int>("clicked"); QTest::addColumn<bool>("legal");
        // The thirteen ranks stand in a circle: a card moves onto either neighbour.
        for (int waste = 1; waste <= 13; ++waste) {
            for (int clicked = 1; clicked <= 13; ++clicked) {
                const int distance = (clicked - waste + 13) % 13;
                QTest::addRow("%d on %d", clicked, waste) << waste << clicked << (distance == 1 || distance == 12);
            }
        }
    }
    void moveRuleOverEveryRankPair()
    {
        QFETCH(int, waste); QFETCH(int, clicked); QFETCH(bool, legal);
        Table table;
        table.model.arrange(Waste, Spot{qint16(waste), true, true, false});
        table.lay(23, clicked, 2); // a club on a spade: suits never matter
        QCOMPARE(table.model.playSpot(23), legal);
        QCOMPARE(table.model.spot(Waste).card, qint16(legal ? 26 + clicked : waste));
        QCOMPARE(table.model.state().Score, legal ? 100 : 0);
    }
    void runsAndPeaksScore_data()
    {
        QTest::addColumn<QString>("plays"); // t: a table card, s: a stock turn, b: a beep, 0/1: a peak
        QTest::addColumn<QList<int>>("scores"); QTest::addColumn<int>("run");
        QTest::newRow("first card of a run") << "t" << QList<int>{100} << 1;
        QTest::newRow("second card scores 200") << "tt" << QList<int>{100, 300} << 2;
        QTest::newRow("a stock turn ends the run") << "tst" << QList<int>{100, 200} << 1;
        QTest::newRow("a beep leaves the run alone") << "tbt" << QList<int>{100, 300} << 2;
        QTest::newRow("peak 0 adds 1000 before its run points") << "t0" << QList<int>{100, 1100, 1300} << 2;
        QTest::newRow("peak 1 adds 1000 too") << "1" << QList<int>{1000, 1100} << 1;
        QList<int> longest;
        for (int n = 1, total = 0; n <= 26; ++n)
            longest.append(total += 100 * n);
        QTest::newRow("the longest run scores 35100") << QString(26, QLatin1Char('t')) << longest << 26;
    }
    void runsAndPeaksScore()
    {
        QFETCH(QString, plays); QFETCH(QList<int>, scores); QFETCH(int, run);
        Table table;
        QSignalSpy spy(&table.model, &TableModel::scoreChanged);
        for (QChar play : plays) {
            if (play == QLatin1Char('s'))
                table.model.FlipCard();
            else if (play == QLatin1Char('b'))
                QVERIFY(!table.play(19, false));
            else
                QVERIFY(table.play(play == QLatin1Char('t') ? 19 : play.digitValue()));
        }
        QCOMPARE(ints(spy), scores);
        QCOMPARE(table.model.runShown(), run);
        QCOMPARE(table.model.peakMarkerShown(0), plays.contains(QLatin1Char('0')));
        QCOMPARE(table.model.peakMarkerShown(1), plays.contains(QLatin1Char('1')));
    }
    void bestRunRisesCardByCard_data()
    {
        QTest::addColumn<int>("best"); QTest::addColumn<int>("cards"); QTest::addColumn<QList<int>>("raised");
        QTest::newRow("two beyond the record raise it twice") << 5 << 7 << QList<int>{6, 7};
        QTest::newRow("an equal run raises nothing") << 5 << 5 << QList<int>{};
    }
    void bestRunRisesCardByCard()
    {
        QFETCH(int, best); QFETCH(int, cards); QFETCH(QList<int>, raised);
        Table table;
        table.model.load(0, 0, qint16(best));
        table.model.deal(table.random, 0);
        QSignalSpy spy(&table.model, &TableModel::highRunRaised);
        for (int i = 0; i < cards; ++i)
            table.play();
        QCOMPARE(ints(spy), raised);
        QCOMPARE(table.model.state().HighRun, qint16(std::max(best, cards)));
    }
    void stockTurnsInDeckOrderUntilEmpty()
    {
        Table table;
        for (int turn = 0; turn < Tableau::StockSize; ++turn) {
            QVERIFY(table.model.spot(Tableau::StockSpot).onTable);
            table.model.FlipCard();
            QCOMPARE(table.model.spot(Waste).card, qint16(table.model.deck().Deck(28 + turn)));
            QCOMPARE(table.model.cardsShown(), 24 - turn);
        }
        QVERIFY(!table.model.spot(Tableau::StockSpot).onTable);
        const Spot waste = table.model.spot(Waste);
        table.model.FlipCard();
        QCOMPARE(table.model.spot(Waste), waste);
    }
    void cardBonusPaysForTheStockLeft_data()
    {
        QTest::addColumn<int>("turned"); QTest::addColumn<QList<int>>("figures");
        QTest::addColumn<QList<int>>("stockCounts");
        QTest::newRow("ten cards left")
            << 15 << QList<int>{100, 200, 300, 400, 500, 600, 700, 800, 900, 1000}
            << QList<int>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
        QTest::newRow("an empty stock") << 25 << QList<int>{} << QList<int>{};
    }
    void cardBonusPaysForTheStockLeft()
    {
        QFETCH(int, turned); QFETCH(QList<int>, figures); QFETCH(QList<int>, stockCounts);
        Table table;
        TableModel &model = table.model;
        for (int i = 0; i < turned; ++i)
            model.FlipCard();
        const qint32 before = model.state().Score;
        model.startClearBonus();
        QVERIFY(!model.clockRunning() && !model.takeShown());
        const int steps = model.startCardBonus();
        QList<int> shownFigures;
        QList<int> shownCounts;
        for (int step = 1; step <= steps; ++step) {
            model.bonusStep(TableModel::Bonus::Card, step, steps);
            shownFigures.append(model.bonusFigure());
            shownCounts.append(model.cardsShown());
        }
        QCOMPARE(shownFigures, figures);
        QCOMPARE(shownCounts, stockCounts);
        QCOMPARE(model.state().Score - before, 100 * figures.size());
        QCOMPARE(model.state().NextStock, qint16(turned)); // only the label counts down
    }
    void clockAndTimeBonus_data()
    {
        QTest::addColumn<int>("ticks"); QTest::addColumn<int>("bar"); QTest::addColumn<int>("bonus");
        QTest::newRow("37 seconds left") << 23 << 37 << 1850;
        QTest::newRow("the last second gone") << 60 << 0 << 0;
        QTest::newRow("the next tick finds the time up") << 61 << 0 << 0;
    }
    void clockAndTimeBonus()
    {
        QFETCH(int, ticks); QFETCH(int, bar); QFETCH(int, bonus);
        Table table;
        TableModel &model = table.model;
        for (int tick = 1; tick <= ticks; ++tick) {
            const bool timeUp = model.tick();
            QCOMPARE(timeUp, tick == 61);
            if (timeUp)
                model.timeUp();
            model.showClock();
        }
        QCOMPARE(model.clockShown(), bar);
        QCOMPARE(model.clockRunning(), ticks <= 60);

        const qint32 before = model.state().Score;
        const int steps = model.startTimeBonus();
        QCOMPARE(model.state().RoundNum, qint16(2));
        for (int step = 1; step <= steps; ++step) {
            model.bonusStep(TableModel::Bonus::Time, step, steps);
            QCOMPARE(model.bonusFigure(), 50 * step);
            QCOMPARE(model.clockShown(), steps - step); // the bar drains as the seconds are paid
        }
        QCOMPARE(model.state().Score - before, bonus);
        QCOMPARE(model.state().TimeLeft, qint16(bar)); // the count-up leaves the time alone
    }
    void roundDecision_data()
    {
        QTest::addColumn<int>("nextRound"); QTest::addColumn<int>("score"); QTest::addColumn<bool>("anotherRound");
        QTest::newRow("round two follows round one whatever the score") << 2 << 0 << true;
        QTest::newRow("11999 after two rounds ends the game") << 3 << 11999 << false;
        QTest::newRow("12000 after two rounds deals the bonus round") << 3 << 12000 << true;
        QTest::newRow("the bonus round always ends the game") << 4 << 90000 << false;
    }
    void roundDecision()
    {
        QFETCH(int, nextRound); QFETCH(int, score); QFETCH(bool, anotherRound);
        QCOMPARE(Rules::afterRound(nextRound, score) == Rules::RoundEnd::NextRound, anotherRound);
    }
    void gameOverKeepsTheLastScoreOnView()
    {
        Table table;
        table.play();
        table.model.startTimeBonus();
        table.model.showNextRound();
        QCOMPARE(table.model.bonusTitle(), QStringLiteral("Round: 2"));
        QSignalSpy scores(&table.model, &TableModel::scoreChanged);
        table.model.showGameOver();
        table.model.endGame();
        QCOMPARE(table.model.bonusTitle(), QStringLiteral("GAME OVER"));
        QVERIFY(table.model.idleButtonsShown() && !table.model.takeShown());
        QVERIFY(table.model.state().Score == 0 && table.model.state().RoundNum == 1);
        QVERIFY(scores.isEmpty());
    }
    void highScoreInsertion_data()
    {
        QTest::addColumn<int>("score"); QTest::addColumn<int>("place"); QTest::addColumn<QList<int>>("after");
        QTest::newRow("800 goes below the 800 already there")
            << 800 << 3 << QList<int>{900, 800, 800, 700, 600, 500, 400, 300, 200, 100};
        QTest::newRow("51 beats only the last entry")
            << 51 << 10 << QList<int>{900, 800, 700, 600, 500, 400, 300, 200, 100, 51};
        QTest::newRow("equal to the last enters nowhere") << 50 << 0 << QList<int>{};
        QTest::newRow("lower than the last enters nowhere") << 49 << 0 << QList<int>{};
    }
    void highScoreInsertion()
    {
        QFETCH(int, score); QFETCH(int, place); QFETCH(QList<int>, after);
        HighScoreTable table;
        const QList<int> before = {900, 800, 700, 600, 500, 400, 300, 200, 100, 50};
        for (int k = 1; k <= HighScoreTable::EntryCount; ++k)
            table.setEntry(k, {before[k - 1], QString::number(k)});
        QCOMPARE(table.placeFor(score), place);
        if (place == 0)
            return;
        table.insert(place, score, QStringLiteral("New"));
        for (int k = 1; k <= HighScoreTable::EntryCount; ++k) {
            QCOMPARE(table.entry(k).score, after[k - 1]);
            QCOMPARE(table.entry(k).name.trimmed(),
                     k == place ? QStringLiteral("New") : QString::number(k < place ? k : k - 1));
        }
    }
    void namesAreStoredFifteenWide_data()
    {
        QTest::addColumn<QString>("typed"); QTest::addColumn<QString>("stored");
        QTest::newRow("twenty characters are cut to fifteen") << "Bartholomew Quinn!!!" << "Bartholomew Qui";
        QTest::newRow("two letters are padded with spaces") << "AB" << "AB             ";
        QTest::newRow("tab, newline and escape become spaces") << "Ann\tLee\nX\x1b" << "Ann Lee X      ";
        QTest::newRow("U+0001, DEL and C1 controls become spaces, before the cut")
            << QString::fromUtf16(u"\u0001B\u007fC\u0085\u009fDEFGHIJKLMNOP") << " B C  DEFGHIJKL";
    }
    void namesAreStoredFifteenWide()
    {
        QFETCH(QString, typed); QFETCH(QString, stored);
        QCOMPARE(HighScoreTable::fittedName(typed), stored);
    }
};

QTEST_GUILESS_MAIN(tst_Rules)
#include "tst_rules.moc"
