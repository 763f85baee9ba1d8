// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/card.h"
#include "game/highscoretable.h"
#include "game/randomgenerator.h"
#include "game/tablemodel.h"
#include "game/tablespeech.h"

#include <QTest>

namespace {

constexpr int Stock = Tableau::StockSpot;

// Card numbers: spades 1 to 13, hearts 14 to 26, clubs 27 to 39, diamonds 40 to 52.
constexpr int QueenOfSpades = 12, NineOfHearts = 22, TenOfHearts = 23, QueenOfHearts = 25, TwoOfClubs = 28,
              NineOfClubs = 35, KingOfClubs = 39, AceOfDiamonds = 40, JackOfDiamonds = 50;

// A dealt table laid out by hand: Jack of Diamonds on the waste; open Queen of Spades (19,
// alone over Two of Clubs on 12), Ace of Diamonds (20), Ten of Hearts (23), Nine of Clubs
// (24) and King of Clubs (25); and the Queen of Hearts open on peak 0, whose covers are gone.
struct Table
{
    Table()
    {
        model.load(0, 0, 0);
        model.deal(random, 0);
        lay(Tableau::WasteSpot, JackOfDiamonds, false);
        lay(19, QueenOfSpades);
        lay(20, AceOfDiamonds);
        lay(23, TenOfHearts);
        lay(24, NineOfClubs);
        lay(25, KingOfClubs);
        model.arrange(12, {TwoOfClubs, false, true, false});
        // Gone, so that taking 24 opens nothing and peak 0 is open.
        for (int taken : {2, 3, 11, 17, 18})
            model.arrange(taken, {0, false, false, false});
        lay(0, QueenOfHearts);
    }
    void lay(int at, int card, bool clickable = true) { model.arrange(at, {qint16(card), true, true, clickable}); }
    // Presses a spot as the table window does and returns what the table then says.
    QString press(int spot)
    {
        if (spot == Stock) {
            model.FlipCard();
            return TableSpeech::turned(model);
        }
        const QList<int> openBefore = TableSpeech::openSpots(model);
        return model.playSpot(spot) == TableModel::Play::Illegal ? TableSpeech::refused(model, spot)
                                                                 : TableSpeech::played(model, spot, openBefore);
    }
    RandomGenerator random;
    TableModel model;
};

} // namespace

class tst_TableSpeech : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void saysWhatAKeyPressChanged_data()
    {
        QTest::addColumn<QList<int>>("presses");
        QTest::addColumn<QString>("said"); // after the last press; {waste} is the waste card
        QTest::newRow("a card that follows says itself, the run and the score")
            << QList<int>{23} << "Ten of Hearts. Run 1. Score 100.";
        QTest::newRow("the next card of the run scores more")
            << QList<int>{23, 24} << "Nine of Clubs. Run 2. Score 300.";
        QTest::newRow("a peak card says its bonus") << QList<int>{0}
            << "Queen of Hearts. Peak bonus 1,000. Run 1. Score 1,100.";
        QTest::newRow("a card that uncovers another names it") << QList<int>{19}
            << "Queen of Spades. Run 1. Score 100. Turned up: Two of Clubs.";
        QTest::newRow("a card that does not follow says so, and what it would follow")
            << QList<int>{20} << "Ace of Diamonds does not follow Jack of Diamonds.";
        QTest::newRow("a stock turn says the new waste card and the cards left")
            << QList<int>{Stock} << "{waste}. 24 in the stock.";
        QTest::newRow("the last stock turn says the stock is empty")
            << QList<int>(Tableau::StockSize, Stock) << "{waste}. The stock is empty.";
    }
    void saysWhatAKeyPressChanged()
    {
        QFETCH(QList<int>, presses);
        QFETCH(QString, said);
        Table table;
        QString last;
        for (int spot : presses)
            last = table.press(spot);
        QCOMPARE(last, QString(said).replace(QLatin1String("{waste}"),
                                             Card::name(table.model.spot(Tableau::WasteSpot).card)));
    }
    void saysTheWholeTableOnRequest_data()
    {
        QTest::addColumn<QString>("when");
        QTest::addColumn<QString>("said");
        QTest::newRow("before the first deal") << "not dealt" << "No cards dealt yet. Deal starts a game.";
        QTest::newRow("in play: waste card, score, run, time, round, stock") << "in play"
            << "Waste card Ten of Hearts. Score 100. Run 1. 58 seconds left. Round 1. 24 in the stock.";
        QTest::newRow("after the game: the old table still plays") << "game over"
            << "Game over. Score 100. Waste card Ten of Hearts. Run 1. 24 in the stock.";
        QTest::newRow("a deal: waste card, open cards in reading order, stock and the focused card")
            << "dealt"
            << "New deal. Waste card Jack of Diamonds. Open cards: Queen of Hearts, Queen of Spades, "
               "Ace of Diamonds, Ten of Hearts, Nine of Clubs, King of Clubs. 25 in the stock. "
               "Focus on Ace of Diamonds.";
        QTest::newRow("a deal under a covered card: the focus moves on and is said there")
            << "dealt under 12"
            << "New deal. Waste card Jack of Diamonds. Open cards: Queen of Hearts, Queen of Spades, "
               "Ace of Diamonds, Ten of Hearts, Nine of Clubs, King of Clubs. 25 in the stock.";
    }
    void saysTheWholeTableOnRequest()
    {
        QFETCH(QString, when);
        QFETCH(QString, said);
        Table table;
        if (when == QLatin1String("not dealt")) {
            TableModel fresh;
            fresh.load(0, 0, 0);
            QCOMPARE(TableSpeech::state(fresh), said);
            return;
        }
        if (when.startsWith(QLatin1String("dealt"))) {
            QCOMPARE(TableSpeech::dealt(table.model, when.endsWith(QLatin1String("12")) ? 12 : 20), said);
            return;
        }
        // A stock turn, then a card played on a waste laid by hand.
        table.press(Stock);
        table.lay(Tableau::WasteSpot, NineOfHearts, false);
        table.press(23);
        table.model.tick();
        table.model.tick();
        table.model.showClock();
        if (when == QLatin1String("game over"))
            table.model.endGame();
        QCOMPARE(TableSpeech::state(table.model), said);
    }
    void readsTheHighScoresPlaceByPlace_data()
    {
        QTest::addColumn<QList<qint32>>("scores"); // places 1 to 10; 0 with no name is empty
        QTest::addColumn<QString>("said");
        QTest::newRow("a fresh table") << QList<qint32>(10, 0) << "High scores. All 10 places are empty.";
        QTest::newRow("the empty places after the last score at once")
            << QList<qint32>{6450, 1200, 0, 0, 0, 0, 0, 0, 0, 0}
            << "High scores. Place 1: Player 1, 6,450. Place 2: Player 2, 1,200. Places 3 to 10 are empty.";
        QTest::newRow("empty places between scores, as a damaged file may hold")
            << QList<qint32>{900, 0, 0, 600, 0, 0, 0, 0, 0, 0}
            << "High scores. Place 1: Player 1, 900. Places 2 to 3 are empty. Place 4: Player 4, 600. "
               "Places 5 to 10 are empty.";
        QTest::newRow("a full table, and one empty place alone")
            << QList<qint32>{900, 800, 700, 600, 500, 400, 300, 200, 100, 0}
            << "High scores. Place 1: Player 1, 900. Place 2: Player 2, 800. Place 3: Player 3, 700. "
               "Place 4: Player 4, 600. Place 5: Player 5, 500. Place 6: Player 6, 400. "
               "Place 7: Player 7, 300. Place 8: Player 8, 200. Place 9: Player 9, 100. Place 10 is empty.";
    }
    void readsTheHighScoresPlaceByPlace()
    {
        QFETCH(QList<qint32>, scores);
        QFETCH(QString, said);
        HighScoreTable table;
        for (int place = 1; place <= HighScoreTable::EntryCount; ++place) {
            const qint32 score = scores.at(place - 1);
            if (score)
                table.setEntry(place, {score, HighScoreTable::fittedName(QStringLiteral("Player %1").arg(place))});
        }
        QCOMPARE(TableSpeech::highScoreList(table), said);
    }
};

QTEST_GUILESS_MAIN(tst_TableSpeech)
#include "tst_tablespeech.moc"
