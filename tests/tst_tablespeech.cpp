// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/card.h"
#include "game/highscoretable.h"
#include "game/randomgenerator.h"
#include "game/tablemodel.h"
#include "game/tablespeech.h"

#include <QTest>

#include <functional>

namespace {

constexpr int Stock = Tableau::StockSpot, Waste = Tableau::WasteSpot;
const QString Dealt = "New deal. Waste card Jack of Diamonds. Open cards: Queen of Hearts, Queen of Spades, "
                      "Ace of Diamonds, Ten of Hearts, Nine of Clubs, King of Clubs. 25 in the stock.";

// A dealt table laid by hand; peak 0 is open, its covers gone, so taking 24 opens nothing. A refused card, a
// stock turn and the table in play are heard word for word by the real screen reader test.
struct Table
{
    Table()
    {
        model.load(0, 0, 0);
        model.deal(random, 0);
        lay(Waste, "Jack of Diamonds", false);
        for (auto [at, card] : {std::pair{19, "Queen of Spades"}, {20, "Ace of Diamonds"}, {23, "Ten of Hearts"},
                                {24, "Nine of Clubs"}, {25, "King of Clubs"}, {0, "Queen of Hearts"}})
            lay(at, card);
        model.arrange(12, {28, false, true, false}); // the Two of Clubs, face down under 19 alone
        for (int taken : {2, 3, 11, 17, 18})
            model.arrange(taken, {0, false, false, false});
    }
    void lay(int at, const QString &name, bool clickable = true)
    {
        for (qint16 card = 1; card <= Card::Count; ++card)
            if (Card::name(card) == name)
                model.arrange(at, {card, true, true, clickable});
    }
    // Presses spots as the table window does; what the table says after the last.
    QString press(const QList<int> &spots)
    {
        QString said;
        for (int spot : spots) {
            const QList<int> openBefore = TableSpeech::openSpots(model);
            if (spot == Stock)
                said = (model.FlipCard(), TableSpeech::turned(model));
            else
                said = (model.playSpot(spot), TableSpeech::played(model, spot, openBefore));
        }
        return said;
    }
    RandomGenerator random;
    TableModel model;
};

using Speech = std::function<QString(Table &)>;

} // namespace

Q_DECLARE_METATYPE(Speech)

class tst_TableSpeech : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void saysWhatThePlayerCannotSee_data()
    {
        QTest::addColumn<Speech>("speech");
        QTest::addColumn<QString>("said"); // {waste} is the waste card then
        const auto row = [](const char *name, Speech say, const QString &said) { QTest::newRow(name) << say << said; };
        row("the next card of the run scores more", [](Table &t) { return t.press({23, 24}); },
            "Nine of Clubs. Run 2. Score 300.");
        row("a peak card says its bonus", [](Table &t) { return t.press({0}); },
            "Queen of Hearts. Peak bonus 1,000. Run 1. Score 1,100.");
        row("a card that uncovers another names it", [](Table &t) { return t.press({19}); },
            "Queen of Spades. Run 1. Score 100. Turned up: Two of Clubs.");
        row("a deal says waste card, open cards in reading order, stock and the focused card",
            [](Table &t) { return TableSpeech::dealt(t.model, 20); }, Dealt + " Focus on Ace of Diamonds.");
        row("a deal under a covered card: the focus moves on and is said there",
            [](Table &t) { return TableSpeech::dealt(t.model, 12); }, Dealt);
        row("the whole table before the first deal", [](Table &) { return TableSpeech::state(TableModel()); },
            "No cards dealt yet. Deal starts a game.");
        row("the whole table after the game: the old table still plays", [](Table &t) {
            t.press({23});
            t.model.endGame();
            return TableSpeech::state(t.model);
        }, "Game over. Score 100. Waste card Ten of Hearts. Run 1. 25 in the stock.");
    }
    void saysWhatThePlayerCannotSee()
    {
        QFETCH(Speech, speech);
        QFETCH(QString, said);
        Table table;
        const QString spoken = speech(table);
        QCOMPARE(spoken, said.replace("{waste}", Card::name(table.model.spot(Waste).card)));
    }
    void readsTheHighScoresPlaceByPlace_data()
    {
        QTest::addColumn<QList<qint32>>("scores"); // places 1 to 10; 0 is an empty place
        QTest::addColumn<QString>("said");
        QTest::newRow("a fresh table") << QList<qint32>(10, 0) << "High scores. All 10 places are empty.";
        QTest::newRow("each run of empty places said at once, as a damaged file may hold them")
            << QList<qint32>{1900, 0, 800, 0, 0, 500, 0, 0, 0, 0}
            << "High scores. Place 1: Player 1, 1,900. Place 2 is empty. Place 3: Player 3, 800. Places 4 to 5 are "
               "empty. Place 6: Player 6, 500. Places 7 to 10 are empty.";
    }
    void readsTheHighScoresPlaceByPlace()
    {
        QFETCH(QList<qint32>, scores);
        HighScoreTable table;
        for (int place = 1; place <= HighScoreTable::EntryCount; ++place)
            if (const qint32 score = scores.at(place - 1))
                table.setEntry(place, {score, HighScoreTable::fittedName(QStringLiteral("Player %1").arg(place))});
        QTEST(TableSpeech::highScoreList(table), "said");
    }
};

QTEST_GUILESS_MAIN(tst_TableSpeech)
#include "tst_tablespeech.moc"
