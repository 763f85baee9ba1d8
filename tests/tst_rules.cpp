// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/card.h"
#include "game/highscoretable.h"
#include "game/randomgenerator.h"
#include "game/tablemodel.h"

#include <QTest>

#include <numeric>

namespace {

using Play = TableModel::Play;

// A dealt table that records the scores and best runs it announces.
struct Table
{
    Table()
    {
        model.load(0, 0, 0);
        model.deal(random, 0);
        QObject::connect(&model, &TableModel::scoreChanged, [this](qint32 score) { scores.append(score); });
        QObject::connect(&model, &TableModel::highRunRaised, [this](qint16 run) { highRuns.append(run); });
    }
    void lay(int at, int rank, int suit) { model.arrange(at, {qint16(suit * 13 + rank), true, true, true}); }
    void take(int at) { model.arrange(at, Spot{0, false, false, false}); }
    Play play(int at = 19, bool legal = true)
    {
        lay(at, legal ? model.wasteRank() % 13 + 1 : model.wasteRank(), 1);
        return model.playSpot(at);
    }
    RandomGenerator random;
    TableModel model;
    QList<int> scores, highRuns;
};

} // namespace

class tst_Rules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyShuffleIsAUniformPermutation()
    {
        // 400 of each card expected in each slot: a chi-square of 100 on 51 degrees lies past the 0.9999 quantile.
        Table table;
        std::vector<std::array<int, Card::Count>> counts(Card::Count + 1);
        for (int i = 0; i < 20800; ++i) {
            table.model.deal(table.random, 0);
            quint64 seen = 0;
            for (int slot = 1; slot <= Card::Count; ++slot) {
                seen |= quint64(1) << table.model.deck().Deck(slot);
                ++counts[slot][table.model.deck().Deck(slot) - 1];
            }
            QCOMPARE(seen, (quint64(1) << 53) - 2); // cards 1 to 52, so each once
        }
        for (int slot = 1; slot <= Card::Count; ++slot) {
            const double chiSquare = std::transform_reduce(counts[slot].begin(), counts[slot].end(), 0.0,
                std::plus<>(), [](int count) { return (count - 400.0) * (count - 400.0) / 400.0; });
            QVERIFY2(chiSquare < 100.0, qPrintable(QStringLiteral("slot %1: %2").arg(slot).arg(chiSquare)));
        }
    }
    void cardOpensWhenItsLastCoverIsGone()
    {
        const QList<QList<int>> coveredBy = {
            {2, 3},   {4, 5},                                                // row 0
            {6, 7},   {7, 8},   {9, 10},  {10, 11},                          // row 1
            {12, 13}, {13, 14}, {14, 15}, {15, 16}, {16, 17}, {17, 18},      // row 2
            {19},     {19, 20}, {20, 21}, {21, 22}, {22, 23}, {23, 24}, {24}, // row 3
            {},       {},       {25},     {25},                              // row 4: 19 to 22
        };
        for (int spot = 0; spot < coveredBy.size(); ++spot) {
            for (int kept : coveredBy[spot] + QList<int>{-1}) { // one cover kept, or (-1) none
                Table table;
                for (int cover : coveredBy[spot])
                    if (cover != kept)
                        table.take(cover);
                table.model.EnableOpenCards();
                const Spot &shown = table.model.spot(spot);
                QVERIFY2(shown.faceUp == (kept < 0) && shown.clickable == (kept < 0),
                         qPrintable(QStringLiteral("spot %1, cover %2 kept").arg(spot).arg(kept)));
            }
        }
        // A play runs the open tests too, a refused one as well: 12 lies under 19 alone.
        for (const bool legal : {true, false}) {
            Table table;
            table.take(19);
            QCOMPARE(table.play(legal ? 19 : 20, legal), legal ? Play::Moved : Play::Illegal);
            QVERIFY(table.model.spot(12).faceUp && table.model.spot(12).clickable);
        }
    }
    void cardsNameThemselves()
    {
        const QStringList names = {Card::name(1), Card::name(20), Card::name(36), Card::name(52)};
        QCOMPARE(names, QStringList({"Ace of Spades", "Seven of Hearts", "Ten of Clubs", "King of Diamonds"}));
    }
    void moveRuleOverEveryRankPair()
    {
        for (int waste = 1; waste <= 13; ++waste) {
            for (int clicked = 1; clicked <= 13; ++clicked) {
                // The ranks stand in a circle: a card moves onto either neighbour, whatever the suits.
                const bool legal = std::abs(clicked - waste) == 1 || std::abs(clicked - waste) == 12;
                Table table;
                const qint16 wasteCard = qint16(clicked % 4 * 13 + waste);
                table.model.arrange(Tableau::WasteSpot, Spot{wasteCard, true, true, false});
                table.lay(23, clicked, waste % 4);
                const qint16 card = table.model.spot(23).card;
                const bool moved = table.model.playSpot(23) != Play::Illegal;
                const Spot &top = table.model.spot(Tableau::WasteSpot);
                QVERIFY2(moved == legal && table.model.wasteRank() == (legal ? clicked : waste)
                             && top.card == (legal ? card : wasteCard) && table.model.spot(23).onTable == !legal,
                         qPrintable(QStringLiteral("%1 on %2").arg(clicked).arg(waste)));
            }
        }
    }
    void runsAndPeaksScore_data()
    {
        QTest::addColumn<QString>("plays"); // t: a table card, s: a stock turn, b: a beep, 0/1: a peak
        QTest::addColumn<QList<int>>("scores");
        QTest::addColumn<int>("run");
        QTest::newRow("each card of a run scores 100 more") << "ttt" << QList<int>{100, 300, 600} << 3;
        QTest::newRow("a stock turn ends the run") << "tst" << QList<int>{100, 200} << 1;
        QTest::newRow("a beep leaves the run alone") << "tbt" << QList<int>{100, 300} << 2;
        QTest::newRow("peak 0 adds 1000 before its run points") << "t0" << QList<int>{100, 1100, 1300} << 2;
        QTest::newRow("peak 1 adds 1000 too") << "1" << QList<int>{1000, 1100} << 1;
    }
    void runsAndPeaksScore()
    {
        QFETCH(QString, plays);
        QFETCH(QList<int>, scores);
        QFETCH(int, run);
        Table table;
        // From a best run of 1 the best rises card by card from 2; an equal run raises nothing.
        table.model.setHighRun(1);
        for (QChar play : plays) {
            if (play == u's')
                table.model.FlipCard();
            else
                QCOMPARE(table.play(play.isDigit() ? play.digitValue() : 19, play != u'b') != Play::Illegal, play != u'b');
        }
        QCOMPARE(table.scores, scores);
        QCOMPARE(table.model.runShown(), run);
        QList<int> raised(run - 1);
        std::iota(raised.begin(), raised.end(), 2);
        QCOMPARE(table.highRuns, raised);
        QCOMPARE(std::pair(table.model.peakMarkerShown(0), table.model.peakMarkerShown(1)),
                 std::pair(plays.contains(u'0'), plays.contains(u'1')));
    }
    void roundEndPaysAndTheDealResetsTheTable()
    {
        Table table;
        TableModel &model = table.model;
        // Round 1: 10 cards and 37 seconds left pay 1000 and 1850; the next round keeps the score.
        // Round 2: a turn past the empty stock finds nothing, no second is left; a new game from 0.
        for (const auto &[turned, ticks, bonus] : {std::array{15, 23, 1000 + 1850}, std::array{26, 60, 0}}) {
            const bool newGame = bonus == 0;
            const qint32 before = model.state().Score;
            for (int turn = 1; turn <= turned; ++turn) {
                model.FlipCard();
                const int used = std::min(turn, Tableau::StockSize);
                QVERIFY2(model.spot(Tableau::WasteSpot).card == model.deck().Deck(27 + used)
                             && model.cardsShown() == Tableau::StockSize - used
                             && model.spot(Tableau::StockSpot).onTable == (used < Tableau::StockSize),
                         qPrintable(QString::number(turn)));
            }
            for (int tick = 1; tick <= ticks; ++tick)
                QVERIFY(!model.tick());
            // The round clears with the last tableau card, not before; the two peaks go last.
            for (int spot = 2; spot < Tableau::TableauSize; ++spot)
                table.take(spot);
            QCOMPARE(table.play(1), Play::Moved);
            QCOMPARE(table.play(0), Play::Cleared);
            // Each count-up step pays its points and runs the stock count or the clock bar down.
            for (const TableModel::Bonus kind : {TableModel::Bonus::Card, TableModel::Bonus::Time}) {
                const bool card = kind == TableModel::Bonus::Card;
                const int steps = card ? model.startCardBonus() : model.startTimeBonus();
                for (int step = 1; step <= steps; ++step) {
                    model.bonusStep(kind, step, steps);
                    QCOMPARE(std::pair(model.bonusFigure(), card ? model.cardsShown() : model.clockShown()),
                             std::pair((card ? 100 : 50) * step, steps - step));
                }
            }
            QCOMPARE(model.state().Score, before + 1100 + 1200 + bonus); // the peaks, a run of two
            QCOMPARE(table.play(19), Play::Moved); // once the round has ended the last card clears nothing
            const qint32 kept = model.state().Score;
            table.scores.clear();
            if (newGame) {
                model.showGameOver();
                model.endGame();
                // The last score stays on view until the next deal.
                QVERIFY(table.scores.isEmpty() && model.idleButtonsShown() && !model.takeShown());
            }
            RandomGenerator twin = table.random;
            Shuffle deck;
            deck.ShuffleDeck(twin);
            model.deal(table.random, 4);
            QCOMPARE(table.scores, QList<int>{newGame ? 0 : kept});
            QCOMPARE(model.state().RoundNum, qint16(newGame ? 1 : 2));
            QVERIFY(model.state().NextStock == 0 && model.cardsShown() == 25 && model.state().CurRun == 0
                    && model.state().TimeLeft == 60 && model.clockRunning() && model.takeShown());
            QVERIFY(!model.idleButtonsShown() && !model.peakMarkerShown(0) && !model.peakMarkerShown(1)
                    && !model.bonusTitleShown() && !model.bonusFigureShown() && model.shownBack() == 4);
            for (int index = 0; index < Tableau::SpotCount; ++index) {
                const bool open = QList<int>{19, 20, 23, 24, 25}.contains(index);
                const qint16 card = index == Tableau::StockSpot ? 0 : qint16(deck.Deck(index + 1));
                const Spot dealt{card, open || index == Tableau::WasteSpot, true, open || index == Tableau::StockSpot};
                QVERIFY2(model.spot(index) == dealt, qPrintable(QString::number(index)));
            }
        }
    }
    void roundDecision() // round two whatever the score; the bonus round from 12000, and none after it
    {
        const QList<Rules::RoundEnd> ends = {Rules::afterRound(2, 0), Rules::afterRound(3, 11999),
                                             Rules::afterRound(3, 12000), Rules::afterRound(4, 90000)};
        using enum Rules::RoundEnd;
        QCOMPARE(ends, (QList<Rules::RoundEnd>{NextRound, GameOver, NextRound, GameOver}));
    }
    void highScoreInsertionStoresTheNameFitted_data()
    {
        QTest::addColumn<int>("score");
        QTest::addColumn<int>("place");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("800 goes below the 800 there; a short name is padded") << 800 << 3 << "AB" << "AB             ";
        QTest::newRow("51 beats only the last; a long name is cut") << 51 << 10 << "Bartholomew Quinn" << "Bartholomew Qui";
        QTest::newRow("C0, DEL and C1 controls become spaces, before the cut") << 1000 << 1
            << u"\u0001B\u001f\u007fC\u0085\u009f~\u00a0DEFGHIJ"_qs << " B  C  ~\u00a0DEFGHI";
    }
    void highScoreInsertionStoresTheNameFitted()
    {
        QFETCH(int, score);
        QFETCH(int, place);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        const QList<int> before = {900, 800, 700, 600, 500, 400, 300, 200, 100, 50};
        HighScoreTable table;
        for (int k = 1; k <= HighScoreTable::EntryCount; ++k)
            table.setEntry(k, {before[k - 1], QString::number(k)});
        QCOMPARE(table.placeFor(score), place);
        QCOMPARE(table.placeFor(50), 0); // equal to the last enters nowhere
        table.insert(place, score, typed);
        for (int k = 1; k <= HighScoreTable::EntryCount; ++k) {
            const int was = k < place ? k : k - 1; // where the entry now at k stood
            QCOMPARE(table.entry(k).score, k == place ? score : before[was - 1]);
            QCOMPARE(table.entry(k).name, k == place ? stored : QString::number(was));
        }
    }
};

QTEST_GUILESS_MAIN(tst_Rules)
#include "tst_rules.moc"
