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
QWidget *focused() { return QApplication::focusWidget(); }
bool key(int pressed) { return UserInput::press(Qt::Key(pressed)); }

bool tabTo(const QString &target)
{
    for (int presses = 0; presses < 40 && !(focused() && focused()->objectName() == target); ++presses)
        if (!key(Qt::Key_Tab))
            return false;
    return focused() && focused()->objectName() == target;
}

struct KeyboardGame : GameFixture
{
    KeyboardGame() { table()->activateWindow(); QVERIFY(QTest::qWaitForWindowActive(table())); }
    // The window shown over the table (or the table), the active one, its focus, whether the table takes input.
    QString keyboardAt()
    {
        QStringList at{u"frmMarigold"_qs};
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->isVisible() && top != table())
                at = {top->objectName()};
        const QWidget *active = QApplication::activeWindow();
        return (at << (active ? active->objectName() : u"-"_qs) << (focused() ? focused()->objectName() : u"-"_qs)
                   << (table()->isEnabled() ? u"enabled"_qs : u"disabled"_qs)).join(' ');
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
        for (const char *next : {"cmdExit", "cmdMenu", "cmdScores", "cmdDeal"}) {
            QVERIFY(key(Qt::Key_Tab));
            QCOMPARE(focused(), game.button(next));
        }
        QVERIFY(key(Qt::Key_Space));
        const QImage plain = game.spot(24)->grab().toImage();
        QVERIFY(tabTo("cmdTake"));
        // Arrows move by places, the nearest row first (down from 20 is 25, though the stock lies less far across).
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
        for (int round = 1; round <= 2; ++round) // the second round's end is the game's
            QVERIFY(tabTo("cmdTake") && key(Qt::Key_Space));
        QCOMPARE(game.prompts.inputPrompts.size(), 1);
        // The high scores came up by themselves: Escape leaves the focus on the first button; open cards still react.
        QTRY_VERIFY(QApplication::activeWindow() != game.table());
        QVERIFY(key(Qt::Key_Escape));
        QTRY_COMPARE(game.keyboardAt(), u"frmMarigold frmMarigold cmdDeal enabled"_qs);
        QVERIFY(!game.clickableSpots().isEmpty());
        // Menu pressed by a screen reader with the focus left on a card: after Escape the focus is on Menu.
        QVERIFY(tabTo(game.spot(game.clickableSpots().constFirst())->objectName()));
        QAccessible::queryAccessibleInterface(game.button("cmdMenu"))
            ->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(game.forms->menu()));
        QVERIFY(key(Qt::Key_Escape));
        QTRY_COMPARE(game.keyboardAt(), u"frmMarigold frmMarigold cmdMenu enabled"_qs);
    }
    void aDealThatCoversTheFocusedCardMovesTheFocusOn()
    {
        KeyboardGame game;
        game.click("cmdDeal");
        game.take(19); // 12 lies under 19 alone
        game.putCard(12, 1);
        game.spot(12)->setFocus(Qt::TabFocusReason);
        // The next deal covers 12 again; the time-up box has just taken the activation away.
        game.clock.advance(std::chrono::seconds(62));
        QVERIFY(!game.spot(12)->isClickable());
        QTRY_VERIFY(game.table()->focusWidget() == game.spot(19) || game.table()->focusWidget() == game.spot(20));
    }
    void focusGoesBackToTheControlThatOpenedTheWindow()
    {
        KeyboardGame game;
        // A button reached by Tab and its key, the keys then given, the window and control with the focus after.
        struct Step { const char *button; int press; QList<int> keys; const char *shown, *focus; };
        const QList<Step> steps = {
            {"cmdMenu", Qt::Key_Return, {Qt::Key_Return}, "frmCredits", "Command1"}, // Credits has the focus
            {nullptr, 0, {Qt::Key_Return}, "frmMenu", "cmdCredits"},
            {"cmdBacks", Qt::Key_Return, {Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Return}, "frmMenu", "cmdBacks"},
            {"cmdBacks", Qt::Key_Return, {Qt::Key_Right, Qt::Key_Escape}, "frmMenu", "cmdBacks"}, // a move, then cancelled
            {nullptr, 0, {Qt::Key_Escape}, "frmMarigold", "cmdMenu"},
            {"cmdScores", Qt::Key_Space, {Qt::Key_Return}, "frmMarigold", "cmdScores"},
        };
        for (const Step &step : steps) {
            if (step.button) {
                QWidget *from = QApplication::activeWindow();
                QVERIFY2(tabTo(step.button) && key(step.press), step.button);
                QTRY_VERIFY(QApplication::activeWindow() && QApplication::activeWindow() != from);
            }
            for (int pressed : step.keys)
                QVERIFY(key(pressed));
            const QString shown = QLatin1String(step.shown);
            const QString focus = QLatin1String(step.focus);
            const QString tableTakesInput = shown == "frmMarigold" ? "enabled" : "disabled";
            QTRY_COMPARE(game.keyboardAt(), QStringList({shown, shown, focus, tableTakesInput}).join(' '));
            QCOMPARE(game.readFile("zelbacks.dat") == QByteArray::fromHex("0700"), &step >= &steps[2]);
        }
    }
    void disabledTableKeepsItsLookAndIgnoresInput()
    {
        KeyboardGame game;
        QVERIFY(UserInput::click(game.label("lblScore"))); // a mouse player's table
        QTest::mouseMove(game.table()->windowHandle(), game.button("cmdMenu")->geometry().center());
        const QImage enabled = game.table()->grab().toImage();
        QVERIFY(game.click("cmdMenu"));
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
