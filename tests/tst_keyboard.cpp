#include "support/gamefixture.h"

#include "game/tablemodel.h"
#include "platform/accessiblenotice.h"
#include "records/frmhiscores.h"
#include "table/cardimage.h"
#include "table/frmmarigold.h"
#include "windows/frmbacks.h"
#include "windows/frmmenu.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

constexpr int Stock = 27;

// What a player reads off a face: 1 (ace) to 13 (king).
int rankOf(const CardImage *spot)
{
    return (spot->picture().index - 1) % 13 + 1;
}

bool follows(int rank, int wasteRank)
{
    const int gap = qAbs(rank - wasteRank);
    return gap == 1 || gap == 12;
}

QWidget *focused()
{
    return QApplication::focusWidget();
}

void key(Qt::Key pressed)
{
    QVERIFY(focused());
    QTest::keyClick(focused(), pressed);
}

struct KeyboardGame : GameFixture
{
    // The table on screen and active, with the keyboard in use.
    void start()
    {
        table()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(table()));
    }

    // Tabs round until `target` has the focus; false if it never does.
    bool tabTo(QWidget *target)
    {
        for (int presses = 0; presses < 40 && focused() != target; ++presses)
            QTest::keyClick(focused() ? focused() : table(), Qt::Key_Tab);
        return focused() == target;
    }

    // A face-up tableau card that may be played now, or -1.
    int playableSpot()
    {
        const int waste = rankOf(spot(26));
        for (int index : clickableSpots()) {
            if (index < 26 && follows(rankOf(spot(index)), waste))
                return index;
        }
        return -1;
    }
};

} // namespace

class tst_Keyboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wholeGameByKeysReachesTheNamePrompt();
    void tabRunsThroughButtonsThenReactingSpots();
    void arrowsMoveByPlacesOnTheTable_data();
    void arrowsMoveByPlacesOnTheTable();
    void focusGoesToTheNearestSpotWhenACardLeaves();
    void focusRingShowsOnlyForTheKeyboard();
    void screenReaderHearsFocusAndScore();
    void secondaryWindowsAnswerEnterAndEscape_data();
    void secondaryWindowsAnswerEnterAndEscape();
    void disabledTableKeepsItsLook();
};

void tst_Keyboard::wholeGameByKeysReachesTheNamePrompt()
{
    KeyboardGame game;
    game.start();
    game.prompts.inputAnswers = {QStringLiteral("Keys")};
    QCOMPARE(focused(), game.button("cmdDeal"));
    key(Qt::Key_Space);

    // Two rounds, and the bonus round if the first two earn it.
    int played = 0;
    for (int round = 1; round <= 3 && game.button("cmdTake")->isVisible(); ++round) {
        // Play every card the waste allows, turning the stock when none does.
        for (int turns = 0; turns < 60; ++turns) {
            const int spot = game.playableSpot();
            if (spot >= 0) {
                QVERIFY(game.tabTo(game.spot(spot)));
                key(Qt::Key_Return);
                QVERIFY(game.spot(spot)->isHidden());
                ++played;
            } else if (game.spot(Stock)->isClickable() && game.spot(Stock)->isVisible()) {
                QVERIFY(game.tabTo(game.spot(Stock)));
                key(Qt::Key_Space);
            } else {
                break;
            }
            if (!game.button("cmdTake")->isVisible())
                break; // the table was cleared and the round ended by itself
        }
        if (game.button("cmdTake")->isVisible()) {
            QVERIFY(game.tabTo(game.button("cmdTake")));
            key(Qt::Key_Space);
        }
    }
    QVERIFY(played > 0);
    QCOMPARE(game.prompts.inputPrompts.size(), 1);
    QVERIFY(game.forms->hiScores()->isVisible());
}

void tst_Keyboard::tabRunsThroughButtonsThenReactingSpots()
{
    KeyboardGame game;
    game.start();
    QList<QWidget *> idle;
    for (int presses = 0; presses < 4; ++presses) {
        idle.append(focused());
        key(Qt::Key_Tab);
    }
    QCOMPARE(idle, (QList<QWidget *>{game.button("cmdDeal"), game.button("cmdExit"),
                                     game.button("cmdMenu"), game.button("cmdScores")}));

    QVERIFY(game.tabTo(game.button("cmdDeal")));
    key(Qt::Key_Space);
    QVERIFY(game.tabTo(game.button("cmdTake")));
    QList<QWidget *> playing;
    for (int presses = 0; presses < 7; ++presses) {
        key(Qt::Key_Tab);
        playing.append(focused());
    }
    QCOMPARE(playing, (QList<QWidget *>{game.spot(19), game.spot(20), game.spot(23),
                                        game.spot(24), game.spot(25), game.spot(Stock),
                                        game.button("cmdTake")}));
    key(Qt::Key_Backtab);
    QCOMPARE(focused(), game.spot(Stock));
}

void tst_Keyboard::arrowsMoveByPlacesOnTheTable_data()
{
    // Right after a deal the bottom row (19, 20, 23, 24), spot 25 and the stock react.
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("arrow");
    QTest::addColumn<int>("to");
    QTest::newRow("right along the bottom row") << 19 << int(Qt::Key_Right) << 20;
    QTest::newRow("right past the covered cards") << 20 << int(Qt::Key_Right) << 23;
    QTest::newRow("left at the row's start stays") << 19 << int(Qt::Key_Left) << 19;
    QTest::newRow("right at the row's end stays") << 24 << int(Qt::Key_Right) << 24;
    QTest::newRow("up from the top reacting row stays") << 19 << int(Qt::Key_Up) << 19;
    QTest::newRow("down to the lone card beneath") << 23 << int(Qt::Key_Down) << 25;
    QTest::newRow("down from the last card to the stock") << 25 << int(Qt::Key_Down) << Stock;
    QTest::newRow("up from the stock to the nearest card") << Stock << int(Qt::Key_Up) << 25;
    QTest::newRow("down from the stock stays") << Stock << int(Qt::Key_Down) << Stock;
}

void tst_Keyboard::arrowsMoveByPlacesOnTheTable()
{
    QFETCH(int, from);
    QFETCH(int, arrow);
    QFETCH(int, to);
    KeyboardGame game;
    game.start();
    key(Qt::Key_Space); // Deal
    QVERIFY(game.tabTo(game.spot(from)));
    key(Qt::Key(arrow));
    QCOMPARE(focused(), game.spot(to));
}

void tst_Keyboard::focusGoesToTheNearestSpotWhenACardLeaves()
{
    KeyboardGame game;
    game.start();
    key(Qt::Key_Space); // Deal
    // A card that follows the waste on spot 24, the right end of the bottom row. Taking
    // it opens spot 18 above it, nearer than 23 beside it; Tab would go on to 25.
    TableModel &model = game.table()->model();
    const qint16 follower = qint16(model.wasteRank() % 13 + 1);
    model.arrange(24, Spot{follower, true, true, true});
    game.table()->showTable();
    QVERIFY(game.tabTo(game.spot(24)));
    key(Qt::Key_Return);
    QVERIFY(game.spot(24)->isHidden());
    QVERIFY(game.spot(18)->isClickable());
    QTRY_COMPARE(focused(), static_cast<QWidget *>(game.spot(18)));
}

void tst_Keyboard::focusRingShowsOnlyForTheKeyboard()
{
    KeyboardGame game;
    game.start();
    key(Qt::Key_Space); // Deal
    CardImage *card = game.spot(19);
    const QImage plain = card->grab().toImage();

    QVERIFY(game.tabTo(card));
    QVERIFY(card->grab().toImage() != plain);

    // A mouse click elsewhere puts the table back as designed, focus or not.
    QTest::mouseClick(game.label("lblScore"), Qt::LeftButton);
    card->setFocus();
    QCOMPARE(card->grab().toImage(), plain);
}

void tst_Keyboard::screenReaderHearsFocusAndScore()
{
    // Qt itself tells a screen reader whenever the focus moves, and only while one
    // listens; what it then reads is the focused control's accessible name and state.
    KeyboardGame game;
    game.start();
    QAccessible::setActive(true);
    auto focusedName = [] {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(focused());
        return iface && iface->state().focused ? iface->text(QAccessible::Name) : QString();
    };
    key(Qt::Key_Space); // Deal
    QVERIFY(game.tabTo(game.spot(Stock)));
    QCOMPARE(focusedName(), QStringLiteral("Stock, 25 cards"));
    key(Qt::Key_Space);
    QCOMPARE(focusedName(), QStringLiteral("Stock, 24 cards"));

    int spot = game.playableSpot();
    for (int turns = 0; spot < 0 && turns < 24; ++turns) {
        key(Qt::Key_Space);
        spot = game.playableSpot();
    }
    if (spot < 0)
        QSKIP("this deal offers no card to play");
    QVERIFY(game.tabTo(game.spot(spot)));
    QCOMPARE(focusedName(), game.spot(spot)->spokenName());
    QVERIFY(focusedName().contains(QLatin1String(" of ")));

}

void tst_Keyboard::secondaryWindowsAnswerEnterAndEscape_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("shownAfter");
    QTest::addColumn<int>("backSaved");
    QTest::newRow("menu: Escape closes it") << "frmMenu" << QList<int>{Qt::Key_Escape}
                                            << "frmMarigold" << -1;
    QTest::newRow("menu: Enter presses the focused button")
        << "frmMenu" << QList<int>{Qt::Key_Return} << "frmCredits" << -1;
    QTest::newRow("credits: Enter is OK") << "frmCredits" << QList<int>{Qt::Key_Return}
                                          << "frmMenu" << -1;
    QTest::newRow("instructions: Escape is OK") << "frmInstruct" << QList<int>{Qt::Key_Escape}
                                                << "frmMenu" << -1;
    QTest::newRow("chooser: arrows move the highlight, Enter chooses")
        << "frmBacks" << QList<int>{Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Return}
        << "frmMenu" << 7;
    QTest::newRow("chooser: Escape cancels")
        << "frmBacks" << QList<int>{Qt::Key_Right, Qt::Key_Escape} << "frmMenu" << -1;
    QTest::newRow("about box: Escape is OK") << "frmAbout" << QList<int>{Qt::Key_Escape}
                                             << "frmMenu" << -1;
    QTest::newRow("high scores: Escape is OK") << "frmHiScores" << QList<int>{Qt::Key_Escape}
                                               << "frmMarigold" << -1;
}

void tst_Keyboard::secondaryWindowsAnswerEnterAndEscape()
{
    QFETCH(QString, window);
    QFETCH(QList<int>, keys);
    QFETCH(QString, shownAfter);
    QFETCH(int, backSaved);
    KeyboardGame game;
    game.start();
    if (window == "frmHiScores") {
        QVERIFY(game.tabTo(game.button("cmdScores")));
    } else {
        QVERIFY(game.tabTo(game.button("cmdMenu")));
    }
    key(Qt::Key_Space);
    frmMenu *menu = game.forms->menu();
    if (window != "frmMenu" && window != "frmHiScores") {
        const char *opener = window == "frmCredits"    ? "cmdCredits"
                             : window == "frmInstruct" ? "cmdInst"
                             : window == "frmBacks"    ? "cmdBacks"
                                                       : "cmdAbout";
        menu->findChild<QPushButton *>(QLatin1String(opener))->click();
    }
    QWidget *open = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->objectName() == window && top->isVisible())
            open = top;
    }
    QVERIFY2(open, qPrintable(window));
    open->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(open));
    for (int pressed : keys)
        QTest::keyClick(focused() ? focused() : open, Qt::Key(pressed));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QStringList shown;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && !top->objectName().isEmpty())
            shown.append(top->objectName());
    }
    QVERIFY2(shown.contains(shownAfter), qPrintable(shown.join(' ')));
    QVERIFY2(!shown.contains(window) || window == shownAfter, qPrintable(shown.join(' ')));
    QCOMPARE(game.table()->isEnabled(), shownAfter == "frmMarigold");
    if (shownAfter == "frmMarigold") {
        // The table takes the focus back where the player left it.
        game.table()->activateWindow();
        QTRY_COMPARE(focused(), static_cast<QWidget *>(game.button(
                                    window == "frmMenu" ? "cmdMenu" : "cmdScores")));
    }
    if (backSaved >= 0)
        QCOMPARE(game.readFile("zelbacks.dat"), QByteArray::fromHex("0700"));
}

void tst_Keyboard::disabledTableKeepsItsLook()
{
    KeyboardGame game;
    game.start();
    QMouseEvent away(QEvent::MouseButtonPress, QPointF(), QPointF(), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(game.label("lblScore"), &away); // a mouse player's table
    const QImage enabled = game.table()->grab().toImage();
    game.click("cmdMenu");
    QVERIFY(!game.table()->isEnabled());
    QCOMPARE(game.table()->grab().toImage(), enabled);

    // And it still ignores every input.
    game.click("cmdDeal");
    QTest::keyClick(game.button("cmdDeal"), Qt::Key_Space);
    QVERIFY(game.button("cmdDeal")->isVisible());
    QVERIFY(!game.button("cmdTake")->isVisible());
}

QTEST_MAIN(tst_Keyboard)
#include "tst_keyboard.moc"
