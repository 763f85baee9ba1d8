#include "support/gamefixture.h"

#include "game/card.h"
#include "game/tableau.h"
#include "table/cardimage.h"
#include "table/frmmarigold.h"

#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

const QList<int> DealtClickable = {19, 20, 23, 24, 25, 27};

QString spokenName(QWidget *widget)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(QAccessible::Name) : QString();
}

bool namesACard(const QString &name)
{
    for (int card = 1; card <= Card::Count; ++card) {
        if (name == Card::name(card))
            return true;
    }
    return false;
}

} // namespace

class tst_Table : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstStartWithNoRecordFiles();
    void recordsShowAtStart();
    void dealLaysOutDeckOnTheSpots();
    void everyDealCoversWhatTheLastRoundOpened();
    void spokenNamesNeverRevealFaceDownCards();
    void chosenBackIsReadAtEveryDeal();
    void backOutsideTheTenFallsBackToTheFirst();
    void windowIsFixedAtItsDesignSize();
    void lowerRowsAndLabelsAreDrawnOverUpperRows();
    void peakMarkersLieInsideTheirCards();
    void buttonsTabInDesignOrder();
    void unsavableRecordsAreToldOnce();
};

void tst_Table::firstStartWithNoRecordFiles()
{
    GameFixture game;
    game.table();
    for (const QString &name : {QStringLiteral("zelscores.dat"), QStringLiteral("zelbacks.dat"),
                                QStringLiteral("zelruntot.dat")}) {
        QVERIFY2(QFile::exists(game.path(name)), qPrintable(name));
        QCOMPARE(QFileInfo(game.path(name)).size(), 0);
    }
    QCOMPARE(game.text("lblHighScore"), QStringLiteral("0"));
    QCOMPARE(game.text("lblHighRun"), QStringLiteral("0"));
    for (int index = 0; index < Tableau::SpotCount; ++index) {
        QCOMPARE(game.spot(index)->picture(), CardPicture::back(0));
        QVERIFY(!game.spot(index)->isHidden());
    }
    QVERIFY(game.clickableSpots().isEmpty());
    for (const char *hidden : {"lblSpot0", "lblSpot1", "lblBonuslbl", "lblBonus"})
        QVERIFY2(game.label(hidden)->isHidden(), hidden);
    QVERIFY(game.button("cmdTake")->isHidden());
    for (const char *shown : {"cmdDeal", "cmdExit", "cmdMenu", "cmdScores"})
        QVERIFY2(game.button(shown)->isVisible(), shown);

    // A click on a spot before the first deal does nothing at all.
    game.click(27);
    game.click(19);
    QCOMPARE(game.text("lblCards"), QStringLiteral("25"));
    QCOMPARE(game.prompts.beeps, 0);
}

void tst_Table::recordsShowAtStart()
{
    GameFixture game;
    game.writeFile(QStringLiteral("zelscores.dat"), QByteArray(9, '\0') + QByteArray::fromHex("f4010000"));
    game.writeFile(QStringLiteral("zelruntot.dat"), QByteArray::fromHex("0c00"));
    game.writeFile(QStringLiteral("zelbacks.dat"), QByteArray::fromHex("0300"));
    game.table();
    QCOMPARE(game.text("lblHighScore"), QStringLiteral("500"));
    QCOMPARE(game.text("lblHighRun"), QStringLiteral("12"));
    QCOMPARE(game.table()->highScore(), 500);
    QCOMPARE(game.table()->highRun(), qint16(12));
    QCOMPARE(game.spot(5)->picture(), CardPicture::back(3));
}

void tst_Table::dealLaysOutDeckOnTheSpots()
{
    GameFixture game;
    game.click("cmdDeal");

    QCOMPARE(game.clickableSpots(), DealtClickable);
    for (int index = 0; index <= Tableau::WasteSpot; ++index) {
        if (index < Tableau::WasteSpot)
            QCOMPARE(game.spot(index)->tag(), QString::number(game.table()->model().deck().Deck(index + 1)));
        const bool faceUp = index == Tableau::WasteSpot || DealtClickable.contains(index);
        QCOMPARE(game.spot(index)->picture(),
                 faceUp ? CardPicture::face(game.table()->model().deck().Deck(index + 1)) : CardPicture::back(0));
    }
    // The waste's tag holds the rank of its card, not the card.
    QCOMPARE(game.spot(Tableau::WasteSpot)->tag(), QString::number(Card::rank(game.table()->model().deck().Deck(27))));
    QCOMPARE(game.spot(Tableau::StockSpot)->picture(), CardPicture::back(0));
    QCOMPARE(game.text("lblCards"), QStringLiteral("25"));
    QCOMPARE(game.text("lblRun"), QStringLiteral("0"));
    QCOMPARE(game.text("lblScore"), QStringLiteral("0"));
    QVERIFY(game.button("cmdTake")->isVisible());
    for (const char *hidden : {"cmdDeal", "cmdExit", "cmdMenu", "cmdScores"})
        QVERIFY2(game.button(hidden)->isHidden(), hidden);

    // The stock turns its cards in the deck's order, Deck(28) first.
    game.click(27);
    QCOMPARE(game.spot(Tableau::WasteSpot)->picture(), CardPicture::face(game.table()->model().deck().Deck(28)));
    QCOMPARE(game.text("lblCards"), QStringLiteral("24"));
}

void tst_Table::everyDealCoversWhatTheLastRoundOpened()
{
    GameFixture game;
    game.click("cmdDeal");
    // Leave the table in a state no deal may keep: cards taken, turned up, clickable.
    TableModel &model = game.table()->model();
    for (int index : {0, 7, 12, 26})
        model.arrange(index, Spot{model.spot(index).card, false, false, false});
    for (int index : {3, 8, 21})
        model.arrange(index, Spot{model.spot(index).card, false, true, true});
    game.table()->showTable();
    for (int i = 0; i < 25; ++i)
        game.click(27);
    QVERIFY(game.spot(Tableau::StockSpot)->isHidden());

    game.table()->cmdDeal_Click();
    QCOMPARE(game.clickableSpots(), DealtClickable);
    for (int index = 0; index < Tableau::SpotCount; ++index)
        QVERIFY2(!game.spot(index)->isHidden(), qPrintable(QString::number(index)));
    QCOMPARE(game.text("lblCards"), QStringLiteral("25"));
    QCOMPARE(game.text("lblRun"), QStringLiteral("0"));
}

void tst_Table::spokenNamesNeverRevealFaceDownCards()
{
    QAccessible::setActive(true);
    GameFixture game;
    game.table();
    for (int index = 0; index < Tableau::SpotCount; ++index)
        QVERIFY(!namesACard(spokenName(game.spot(index))));

    game.click("cmdDeal");
    const QList<int> faceUp = {19, 20, 23, 24, 25, 26};
    for (int index = 0; index < Tableau::StockSpot; ++index) {
        const QString name = spokenName(game.spot(index));
        if (faceUp.contains(index))
            QCOMPARE(name, Card::name(game.table()->model().deck().Deck(index + 1)));
        else
            QCOMPARE(name, QStringLiteral("Face-down card"));
    }
    QCOMPARE(spokenName(game.spot(Tableau::StockSpot)), QStringLiteral("Stock, 25 cards"));
    game.click(27);
    QCOMPARE(spokenName(game.spot(Tableau::StockSpot)), QStringLiteral("Stock, 24 cards"));
    QCOMPARE(spokenName(game.spot(Tableau::WasteSpot)), Card::name(game.table()->model().deck().Deck(28)));
    // The labels speak what they show.
    QCOMPARE(spokenName(game.label("lblCards")), QStringLiteral("24"));
}

void tst_Table::chosenBackIsReadAtEveryDeal()
{
    GameFixture game;
    game.writeFile(QStringLiteral("zelbacks.dat"), QByteArray::fromHex("0300"));
    game.click("cmdDeal");
    QCOMPARE(game.spot(0)->picture(), CardPicture::back(3));
    QCOMPARE(game.spot(27)->picture(), CardPicture::back(3));

    game.writeFile(QStringLiteral("zelbacks.dat"), QByteArray::fromHex("0500"));
    game.table()->cmdDeal_Click();
    QCOMPARE(game.spot(0)->picture(), CardPicture::back(5));
    QCOMPARE(game.spot(27)->picture(), CardPicture::back(5));
}

void tst_Table::backOutsideTheTenFallsBackToTheFirst()
{
    GameFixture game;
    game.writeFile(QStringLiteral("zelbacks.dat"), QByteArray::fromHex("0c00"));
    QCOMPARE(game.spot(4)->picture(), CardPicture::back(0));
    game.writeFile(QStringLiteral("zelbacks.dat"), QByteArray::fromHex("ffff"));
    game.click("cmdDeal");
    QCOMPARE(game.spot(4)->picture(), CardPicture::back(0));
}

void tst_Table::windowIsFixedAtItsDesignSize()
{
    GameFixture game;
    frmMarigold *table = game.table();
    QCOMPARE(table->objectName(), QStringLiteral("frmMarigold"));
    QCOMPARE(table->windowTitle(), QStringLiteral("Marigold"));
    QCOMPARE(table->size(), QSize(572, 461));
    QCOMPARE(table->minimumSize(), table->maximumSize());
    QVERIFY(!(table->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(table->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!table->windowIcon().isNull());
    QCOMPARE(table->palette().color(QPalette::Window), QColor(0, 0, 255));
    QCOMPARE(game.spot(25)->geometry(), QRect(248, 216, 75, 100));
    QCOMPARE(game.spot(26)->geometry(), QRect(288, 352, 75, 100));
    QCOMPARE(game.spot(27)->geometry(), QRect(208, 352, 75, 100));
    QCOMPARE(game.label("lblCards")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(game.label("lblScore")->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    QCOMPARE(game.label("lblRun")->palette().color(QPalette::WindowText), QColor(0, 255, 255));
    QCOMPARE(game.label("lblBonus")->font().pointSizeF(), 24.0);
    QVERIFY(game.label("lblBonuslbl")->font().bold());
}

void tst_Table::lowerRowsAndLabelsAreDrawnOverUpperRows()
{
    GameFixture game;
    frmMarigold *table = game.table();
    auto topmostAt = [table](QPoint point) { return table->childAt(point); };
    QCOMPARE(topmostAt({130, 60}), game.spot(2));    // row 1 over the peak
    QCOMPARE(topmostAt({200, 60}), game.spot(3));
    QCOMPARE(topmostAt({130, 50}), game.spot(0));    // the peak's top 40 pixels show
    QCOMPARE(topmostAt({260, 300}), game.spot(25));  // the last row is seen whole
    game.label("lblBonuslbl")->show();
    QCOMPARE(topmostAt({200, 110}), game.label("lblBonuslbl"));
    QCOMPARE(topmostAt({250, 20}), game.button("cmdMenu"));
}

void tst_Table::peakMarkersLieInsideTheirCards()
{
    GameFixture game;
    for (int peak : {0, 1}) {
        const QRect marker = game.label(peak == 0 ? "lblSpot0" : "lblSpot1")->geometry();
        QVERIFY(game.spot(peak)->geometry().contains(marker));
        for (int other = 2; other < Tableau::SpotCount; ++other)
            QVERIFY(!game.spot(other)->geometry().intersects(marker));
    }
}

void tst_Table::buttonsTabInDesignOrder()
{
    GameFixture game;
    game.table();
    QStringList order;
    QWidget *widget = game.button("cmdDeal");
    for (int i = 0; i < 5; ++i) {
        order.append(widget->objectName());
        do {
            widget = widget->nextInFocusChain();
        } while (!qobject_cast<QPushButton *>(widget));
    }
    QCOMPARE(order, QStringList({"cmdDeal", "cmdExit", "cmdMenu", "cmdTake", "cmdScores"}));
}

void tst_Table::unsavableRecordsAreToldOnce()
{
    GameFixture game;
    QVERIFY(QDir(game.dir.path()).mkdir(QStringLiteral("zelruntot.dat")));
    QVERIFY(QDir(game.dir.path()).mkdir(QStringLiteral("zelscores.dat")));
    game.table();
    QCOMPARE(game.text("lblHighScore"), QStringLiteral("0"));
    QTRY_COMPARE(game.prompts.messages.size(), 1);
    QVERIFY(game.prompts.messages.first().contains(QStringLiteral("zelscores.dat")));
    game.click("cmdDeal");
    QCOMPARE(game.clickableSpots(), DealtClickable);
    QCoreApplication::processEvents();
    QCOMPARE(game.prompts.messages.size(), 1);
}

QTEST_MAIN(tst_Table)
#include "tst_table.moc"
