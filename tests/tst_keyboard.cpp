#include "support/gamefixture.h"
#include "game/tablemodel.h"
#include "platform/accessiblenotice.h"
#include "records/frmhiscores.h"
#include "table/cardimage.h"
#include "table/frmmarigold.h"
#include "windows/frmmenu.h"
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {
constexpr int Stock = 27;
QWidget *focused() { return QApplication::focusWidget(); }
void key(Qt::Key pressed) { QTest::keyClick(focused(), pressed); }

// The table on screen and active, with the keyboard in use.
struct KeyboardGame : GameFixture
{
    KeyboardGame() { table()->activateWindow(); QVERIFY(QTest::qWaitForWindowActive(table())); }
    // Tabs round until `target` has the focus; false if it never does.
    bool tabTo(QWidget *target)
    {
        for (int presses = 0; presses < 40 && focused() != target; ++presses)
            QTest::keyClick(focused() ? focused() : table(), Qt::Key_Tab);
        return focused() == target;
    }
    // A face-up tableau card that follows the waste's rank (1 to 13, ace and king adjoin), or -1.
    int playableSpot()
    {
        auto rank = [this](int index) { return (spot(index)->picture().index - 1) % 13 + 1; };
        for (int index : clickableSpots()) {
            const int gap = index < 26 ? qAbs(rank(index) - rank(26)) : 0;
            if (gap == 1 || gap == 12)
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
    void wholeGameByKeysReachesTheNamePrompt()
    {
        KeyboardGame game;
        QSet<QString> announced;
        AccessibleNotice::setListener([&](QAccessible::Event, QObject *o) { announced.insert(o->objectName()); });
        game.prompts.inputAnswers = {QStringLiteral("Keys")};
        QCOMPARE(focused(), game.button("cmdDeal"));
        key(Qt::Key_Space);
        int played = 0; // two rounds and maybe a bonus round: play what the waste allows, else turn
        for (int round = 1; round <= 3 && game.button("cmdTake")->isVisible(); ++round) {
            for (int turns = 0; turns < 60 && game.button("cmdTake")->isVisible(); ++turns) {
                const int spot = game.playableSpot();
                const bool turn = spot < 0;
                if (turn && !(game.spot(Stock)->isClickable() && game.spot(Stock)->isVisible()))
                    break;
                QVERIFY(game.tabTo(game.spot(turn ? Stock : spot)));
                key(turn ? Qt::Key_Space : Qt::Key_Return);
                QVERIFY(turn || game.spot(spot)->isHidden());
                played += turn ? 0 : 1;
            }
            if (game.button("cmdTake")->isVisible()) {
                QVERIFY(game.tabTo(game.button("cmdTake")));
                key(Qt::Key_Space);
            }
        }
        AccessibleNotice::setListener({});
        QVERIFY(played > 0);
        QCOMPARE(game.prompts.inputPrompts.size(), 1);
        QVERIFY(game.forms->hiScores()->isVisible());
        for (const char *caption : {"lblScore", "lblRun", "lblCards", "lblBonuslbl", "lblBonus"})
            QVERIFY2(announced.contains(QLatin1String(caption)), caption);
    }
    void tabRunsThroughButtonsThenReactingSpots()
    {
        KeyboardGame game;
        auto tabs = [](int presses) {
            QList<QWidget *> seen{focused()};
            while (presses--)
                key(Qt::Key_Tab), seen.append(focused());
            return seen;
        };
        QCOMPARE(tabs(3), (QList<QWidget *>{game.button("cmdDeal"), game.button("cmdExit"),
                                            game.button("cmdMenu"), game.button("cmdScores")}));
        QVERIFY(game.tabTo(game.button("cmdDeal")));
        key(Qt::Key_Space);
        QVERIFY(game.tabTo(game.button("cmdTake")));
        QCOMPARE(tabs(7).mid(1), (QList<QWidget *>{game.spot(19), game.spot(20), game.spot(23), game.spot(24),
                                            game.spot(25), game.spot(Stock), game.button("cmdTake")}));
        key(Qt::Key_Backtab);
        QCOMPARE(focused(), game.spot(Stock));
    }
    void arrowsMoveByPlacesOnTheTable_data()
    {
        // Right after a deal the bottom row (19, 20, 23, 24), spot 25 and the stock react.
        QTest::addColumn<int>("from");
        QTest::addColumn<Qt::Key>("arrow");
        QTest::addColumn<int>("to");
        QTest::newRow("right along the bottom row") << 19 << Qt::Key_Right << 20;
        QTest::newRow("right past the covered cards") << 20 << Qt::Key_Right << 23;
        QTest::newRow("left at the row's start stays") << 19 << Qt::Key_Left << 19;
        QTest::newRow("right at the row's end stays") << 24 << Qt::Key_Right << 24;
        QTest::newRow("up from the top reacting row stays") << 19 << Qt::Key_Up << 19;
        QTest::newRow("down to the lone card beneath") << 23 << Qt::Key_Down << 25;
        QTest::newRow("down from the last card to the stock") << 25 << Qt::Key_Down << Stock;
        QTest::newRow("up from the stock to the nearest card") << Stock << Qt::Key_Up << 25;
        QTest::newRow("down from the stock stays") << Stock << Qt::Key_Down << Stock;
    }
    void arrowsMoveByPlacesOnTheTable()
    {
        QFETCH(int, from);
        QFETCH(Qt::Key, arrow);
        QFETCH(int, to);
        KeyboardGame game;
        key(Qt::Key_Space); // Deal
        QVERIFY(game.tabTo(game.spot(from)));
        key(arrow);
        QCOMPARE(focused(), game.spot(to));
    }
    void focusGoesToTheNearestSpotWhenACardLeaves()
    {
        KeyboardGame game;
        key(Qt::Key_Space); // Deal
        // A card that follows the waste on spot 24, the right end of the bottom row. Taking
        // it opens spot 18 above it, nearer than 23 beside it; Tab would go on to 25.
        TableModel &model = game.table()->model();
        model.arrange(24, Spot{qint16(model.wasteRank() % 13 + 1), true, true, true});
        game.table()->showTable();
        QVERIFY(game.tabTo(game.spot(24)));
        key(Qt::Key_Return);
        QTRY_COMPARE(focused(), static_cast<QWidget *>(game.spot(18)));
    }
    void focusedCardShowsARingOnlyForTheKeyboardAndNamesItself()
    {
        KeyboardGame game;
        QAccessible::setActive(true);
        auto focusedName = [] {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(focused());
            return iface && iface->state().focused ? iface->text(QAccessible::Name) : QString();
        };
        key(Qt::Key_Space); // Deal
        CardImage *card = game.spot(19);
        const QImage plain = card->grab().toImage();
        QVERIFY(game.tabTo(card));
        QVERIFY(card->grab().toImage() != plain);
        QCOMPARE(focusedName(), card->spokenName());
        QVERIFY(focusedName().contains(QLatin1String(" of ")));
        QVERIFY(game.tabTo(game.spot(Stock)));
        key(Qt::Key_Space);
        QCOMPARE(focusedName(), QStringLiteral("Stock, 24 cards"));
        // A mouse click elsewhere puts the table back as designed, focus or not.
        QTest::mouseClick(game.label("lblScore"), Qt::LeftButton);
        card->setFocus();
        QCOMPARE(card->grab().toImage(), plain);
    }
    void secondaryWindowsAnswerEnterAndEscape_data()
    {
        QTest::addColumn<QString>("opener"); // on the table, then in the menu
        QTest::addColumn<QString>("window");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("shownAfter");
        const QList<int> escape{Qt::Key_Escape}, enter{Qt::Key_Return};
        QTest::newRow("menu: Escape closes it") << "cmdMenu" << "frmMenu" << escape << "frmMarigold";
        QTest::newRow("menu: Enter presses the focused button") << "cmdMenu" << "frmMenu" << enter << "frmCredits";
        QTest::newRow("credits: Enter is OK") << "cmdMenu cmdCredits" << "frmCredits" << enter << "frmMenu";
        QTest::newRow("instructions: Escape is OK") << "cmdMenu cmdInst" << "frmInstruct" << escape << "frmMenu";
        const QList<int> toBack7{Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Return};
        QTest::newRow("chooser: arrows move the highlight, Enter chooses") << "cmdMenu cmdBacks" << "frmBacks" << toBack7 << "frmMenu";
        QTest::newRow("chooser: Escape cancels")
            << "cmdMenu cmdBacks" << "frmBacks" << QList<int>{Qt::Key_Right, Qt::Key_Escape} << "frmMenu";
        QTest::newRow("about box: Escape is OK") << "cmdMenu cmdAbout" << "frmAbout" << escape << "frmMenu";
        QTest::newRow("high scores: Escape is OK") << "cmdScores" << "frmHiScores" << escape << "frmMarigold";
    }
    void secondaryWindowsAnswerEnterAndEscape()
    {
        QFETCH(QString, opener);
        QFETCH(QString, window);
        QFETCH(QList<int>, keys);
        QFETCH(QString, shownAfter);
        KeyboardGame game;
        const QStringList openers = opener.split(' ');
        QVERIFY(game.tabTo(game.button(qPrintable(openers[0]))));
        key(Qt::Key_Space);
        if (openers.size() > 1)
            game.forms->menu()->findChild<QPushButton *>(openers[1])->click();
        auto shown = [](const QString &name) -> QWidget * {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (top->objectName() == name && top->isVisible())
                    return top;
            return nullptr;
        };
        QWidget *open = shown(window);
        QVERIFY(open);
        open->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(open));
        for (int pressed : keys)
            QTest::keyClick(focused() ? focused() : open, Qt::Key(pressed));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(shown(shownAfter));
        QVERIFY(!shown(window) || window == shownAfter);
        QCOMPARE(game.table()->isEnabled(), shownAfter == "frmMarigold");
        if (shownAfter == "frmMarigold") {
            // The table takes the focus back where the player left it.
            game.table()->activateWindow();
            QTRY_COMPARE(focused(), static_cast<QWidget *>(game.button(qPrintable(openers[0]))));
        }
        if (window == "frmBacks")
            QCOMPARE(game.readFile("zelbacks.dat") == QByteArray::fromHex("0700"), keys.size() == 4);
    }
    void disabledTableKeepsItsLookAndIgnoresInput()
    {
        KeyboardGame game;
        QTest::mouseClick(game.label("lblScore"), Qt::LeftButton); // a mouse player's table
        const QImage enabled = game.table()->grab().toImage();
        game.click("cmdMenu");
        QVERIFY(!game.table()->isEnabled());
        QCOMPARE(game.table()->grab().toImage(), enabled);
        game.click("cmdDeal");
        QTest::keyClick(game.button("cmdDeal"), Qt::Key_Space);
        QVERIFY(!game.button("cmdTake")->isVisible());
    }
};

QTEST_MAIN(tst_Keyboard)
#include "tst_keyboard.moc"
