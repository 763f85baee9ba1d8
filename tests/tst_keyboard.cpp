// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/gamefixture.h"
#include "support/userinput.h"
#include "table/cardimage.h"
#include "table/frmmarigold.h"
#include "windows/frmmenu.h"
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {
constexpr int Stock = 27;
constexpr int ScreenReaderPress = 0;
// In the back chooser: from back 0 to back 7, which Enter chooses.
const QList<int> ToBack7 = {Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Return};
QWidget *focused() { return QApplication::focusWidget(); }
bool key(int pressed) { return UserInput::press(Qt::Key(pressed)); }

// The shown window other than `table`, if any.
QWidget *otherShownWindow(QWidget *table)
{
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->isVisible() && top != table)
            return top;
    return nullptr;
}

// Tabs round the window with the focus until the control named `target` has it.
bool tabTo(const QString &target)
{
    for (int presses = 0; presses < 40 && !(focused() && focused()->objectName() == target); ++presses)
        if (!key(Qt::Key_Tab))
            return false;
    return focused() && focused()->objectName() == target;
}

// The table on screen and active, with the keyboard in use.
struct KeyboardGame : GameFixture
{
    KeyboardGame()
    {
        table()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(table()));
    }
    // A window the game opened has taken the keyboard, as a new window does.
    bool otherWindowActive() { return otherShownWindow(table()) && otherShownWindow(table())->isActiveWindow(); }
};
} // namespace

class tst_Keyboard : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void wholeGameByKeysReachesTheNamePrompt()
    {
        KeyboardGame game;
        for (const char *next : {"cmdExit", "cmdMenu", "cmdScores", "cmdDeal"}) {
            QVERIFY(key(Qt::Key_Tab));
            QCOMPARE(focused(), game.button(next));
        }
        QVERIFY(key(Qt::Key_Space));
        const QImage plain = game.spot(24)->grab().toImage();
        QVERIFY(tabTo("cmdTake"));
        // After the buttons Tab runs through the spots that react; arrows move by places, the nearest
        // row first (down from 20 is 25, though the stock lies less far across).
        const QList<std::pair<Qt::Key, int>> steps = {
            {Qt::Key_Tab, 19}, {Qt::Key_Tab, 20}, {Qt::Key_Tab, 23}, {Qt::Key_Tab, 24}, {Qt::Key_Tab, 25},
            {Qt::Key_Tab, Stock}, {Qt::Key_Space, Stock}, {Qt::Key_Up, 25}, {Qt::Key_Down, Stock},
            {Qt::Key_Down, Stock}, {Qt::Key_Up, 25}, {Qt::Key_Backtab, 24}, {Qt::Key_Left, 23},
            {Qt::Key_Left, 20}, {Qt::Key_Left, 19}, {Qt::Key_Left, 19}, {Qt::Key_Up, 19}, {Qt::Key_Right, 20},
            {Qt::Key_Down, 25}, {Qt::Key_Backtab, 24}, {Qt::Key_Right, 24}};
        for (const auto &[pressed, index] : steps) {
            QVERIFY(key(pressed));
            QCOMPARE(focused(), static_cast<QWidget *>(game.spot(index)));
        }
        QAccessibleInterface *stock = QAccessible::queryAccessibleInterface(game.spot(Stock));
        QCOMPARE(stock->text(QAccessible::Name), QStringLiteral("Stock, 24 cards"));
        // A ring for the keyboard's focus, none for focus given by the mouse or by code.
        QVERIFY(game.spot(24)->grab().toImage() != plain);
        QVERIFY(UserInput::click(game.label("lblScore")));
        game.spot(24)->setFocus();
        QCOMPARE(game.spot(24)->grab().toImage(), plain);
        // A card taken from 24 opens 18 above it, nearer than 23 beside it; Tab would go on to 25.
        game.putCard(24, game.table()->model().wasteRank() % 13 + 1);
        QVERIFY(key(Qt::Key_Return));
        QTRY_COMPARE(focused(), static_cast<QWidget *>(game.spot(18)));
        // S says the table wherever the focus is; what each key press changed was said too.
        key(Qt::Key_S);
        const QStringList said = game.announcer.take();
        QVERIFY2(said.size() == 4 && said[0].startsWith("New deal.") && said[1].endsWith(". 24 in the stock.")
                     && said[2].contains(". Run 1. Score 100.") && said[3].startsWith("Waste card "),
                 qPrintable(said.join('|')));
        for (int round = 1; round <= 2; ++round) { // Take Score twice: the second round's end is the game's
            QVERIFY(tabTo("cmdTake"));
            QVERIFY(key(Qt::Key_Space));
        }
        QCOMPARE(game.prompts.inputPrompts.size(), 1);
        const QString roundEnds = game.announcer.take().join('|');
        QVERIFY2(roundEnds.contains("Round: 2.") && roundEnds.contains("GAME OVER. Final score"), qPrintable(roundEnds));
    }
    void aDealThatCoversTheFocusedCardMovesTheFocusOn()
    {
        KeyboardGame game;
        game.click("cmdDeal");
        // Spot 12 lies under 19 alone: open it and put the focus on it.
        game.take(19);
        game.putCard(12, 1);
        game.spot(12)->setFocus(Qt::TabFocusReason);
        // The next deal covers 12 again; the time-up box has just taken the activation away.
        game.clock.advance(std::chrono::seconds(62));
        QVERIFY(!game.spot(12)->isClickable());
        QTRY_VERIFY(game.table()->focusWidget() == game.spot(19) || game.table()->focusWidget() == game.spot(20));
    }
    void focusGoesBackToTheControlThatOpenedTheWindow_data()
    {
        QTest::addColumn<QStringList>("path"); // buttons pressed from the table on, each reached by Tab
        QTest::addColumn<int>("pressWith");
        QTest::addColumn<bool>("afterAGame");
        QTest::addColumn<QList<int>>("keys"); // in the window opened last
        QTest::addColumn<QString>("shownAfter");
        QTest::addColumn<QString>("focusAfter");
        const QStringList menu{"cmdMenu"};
        const QList<int> escape{Qt::Key_Escape}, ret{Qt::Key_Return};
        auto row = [](const char *name, const QStringList &path, int pressWith, bool afterAGame,
                      const QList<int> &keys, const char *shownAfter, const char *focusAfter) {
            QTest::newRow(name) << path << pressWith << afterAGame << keys << QString(shownAfter) << QString(focusAfter);
        };
        row("menu: Escape, back on the table's Menu", menu, Qt::Key_Return, false, escape, "frmMarigold", "cmdMenu");
        row("after a game, menu: Escape, back on Menu and not on a card", menu, Qt::Key_Space, true, escape,
            "frmMarigold", "cmdMenu");
        row("after a game, menu pressed by a screen reader on a card: Escape, back on Menu", menu,
            ScreenReaderPress, true, escape, "frmMarigold", "cmdMenu");
        row("menu: Return on Close, back on Menu", menu, Qt::Key_Return, false, QList<int>(5, Qt::Key_Tab) + ret,
            "frmMarigold", "cmdMenu");
        row("menu: Return presses the focused Credits", menu, Qt::Key_Return, false, ret, "frmCredits", "Command1");
        row("credits: Return on OK, back on Credits", menu + QStringList{"cmdCredits"}, Qt::Key_Return, false, ret,
            "frmMenu", "cmdCredits");
        row("instructions: Escape, back on Instructions", menu + QStringList{"cmdInst"}, Qt::Key_Space, false,
            escape, "frmMenu", "cmdInst");
        row("chooser: arrows, Return chooses, back on Change Cardbacks", menu + QStringList{"cmdBacks"},
            Qt::Key_Return, false, ToBack7, "frmMenu", "cmdBacks");
        row("chooser: arrows, Escape cancels", menu + QStringList{"cmdBacks"}, Qt::Key_Return, false,
            {Qt::Key_Right, Qt::Key_Escape}, "frmMenu", "cmdBacks");
        row("about box: Escape, back on About", menu + QStringList{"cmdAbout"}, Qt::Key_Return, false, escape,
            "frmMenu", "cmdAbout");
        row("high scores: Escape, back on High Scores", {"cmdScores"}, Qt::Key_Return, false, escape,
            "frmMarigold", "cmdScores");
        row("high scores: Return on OK, back on High Scores", {"cmdScores"}, Qt::Key_Space, false, ret,
            "frmMarigold", "cmdScores");
    }
    void focusGoesBackToTheControlThatOpenedTheWindow()
    {
        QFETCH(QStringList, path);
        QFETCH(int, pressWith);
        QFETCH(bool, afterAGame);
        QFETCH(QList<int>, keys);
        QFETCH(QString, shownAfter);
        QFETCH(QString, focusAfter);
        KeyboardGame game;
        if (afterAGame) {
            // Deal, Take Score twice, and Escape from the high scores the game ends in.
            for (const char *button : {"cmdDeal", "cmdTake", "cmdTake"})
                QVERIFY(tabTo(button) && key(Qt::Key_Space));
            QTRY_VERIFY(game.otherWindowActive());
            QVERIFY(key(Qt::Key_Escape));
            // The game opened the window by itself: the first button has the focus; open cards still react.
            QTRY_VERIFY(game.table()->isActiveWindow());
            QTRY_COMPARE(focused(), game.button("cmdDeal"));
            QVERIFY(!game.clickableSpots().isEmpty());
        }
        for (const QString &button : path) {
            if (pressWith == ScreenReaderPress) {
                // The focus stays where it is, on a card, as the reader presses the button.
                QVERIFY(tabTo(game.spot(game.clickableSpots().constFirst())->objectName()));
                auto *pressed = focused()->window()->findChild<QPushButton *>(button);
                QAccessible::queryAccessibleInterface(pressed)->actionInterface()->doAction(
                    QAccessibleActionInterface::pressAction());
            } else {
                QVERIFY2(tabTo(button) && key(pressWith), qPrintable(button));
            }
            QTRY_VERIFY(game.otherWindowActive());
        }
        for (int pressed : keys)
            QVERIFY(key(pressed));
        QWidget *after = otherShownWindow(game.table());
        QCOMPARE(after ? after->objectName() : QStringLiteral("frmMarigold"), shownAfter);
        QCOMPARE(game.table()->isEnabled(), !after);
        // The window it went back to is active, with the focus where it was.
        QTRY_VERIFY(focused() && focused()->window()->isActiveWindow());
        QTRY_COMPARE(focused()->objectName(), focusAfter);
        QCOMPARE(focused()->window()->objectName(), shownAfter);
        // Only the chooser, by Enter, saves a back.
        QCOMPARE(game.readFile("zelbacks.dat") == QByteArray::fromHex("0700"), keys == ToBack7);
    }
    void disabledTableKeepsItsLookAndIgnoresInput()
    {
        KeyboardGame game;
        QVERIFY(UserInput::click(game.label("lblScore"))); // a mouse player's table
        // The pointer rests on Menu, where it clicks, in both pictures.
        QTest::mouseMove(game.table()->windowHandle(), game.button("cmdMenu")->geometry().center());
        const QImage enabled = game.table()->grab().toImage();
        QVERIFY(game.click("cmdMenu"));
        QVERIFY(!game.table()->isEnabled());
        QCOMPARE(game.table()->grab().toImage(), enabled);
        QVERIFY(game.click("cmdDeal"));
        // Made active, as by Alt+Tab, the table takes no keys and hands the keyboard to the menu over it.
        game.table()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(game.table()));
        QVERIFY(key(Qt::Key_Space));
        QVERIFY(!game.button("cmdTake")->isVisible());
        QTRY_VERIFY(game.forms->menu()->isActiveWindow());
    }
};

QTEST_MAIN(tst_Keyboard)
#include "tst_keyboard.moc"
