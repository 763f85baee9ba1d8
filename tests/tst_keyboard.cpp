#include "support/gamefixture.h"
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
// In the back chooser: from back 0 to back 7, which Enter chooses.
const QList<int> ToBack7 = {Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Return};
QWidget *focused() { return QApplication::focusWidget(); }
void key(Qt::Key pressed) { QTest::keyClick(focused(), pressed); }

// The shown window other than `table`, if any.
QWidget *otherShownWindow(QWidget *table)
{
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->isVisible() && top != table)
            return top;
    return nullptr;
}

// The table on screen and active, with the keyboard in use.
struct KeyboardGame : GameFixture
{
    KeyboardGame()
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
            key(Qt::Key_Tab);
            QCOMPARE(focused(), game.button(next));
        }
        key(Qt::Key_Space);
        const QImage plain = game.spot(24)->grab().toImage();
        QVERIFY(game.tabTo(game.button("cmdTake")));
        // After the deal the bottom row (19, 20, 23, 24), spot 25 and the stock react: Tab runs
        // through them after the buttons; arrows move by places, the nearest row first
        // (down from 20 is 25, though the stock lies less far across).
        const QList<std::pair<Qt::Key, int>> steps = {
            {Qt::Key_Tab, 19}, {Qt::Key_Tab, 20}, {Qt::Key_Tab, 23}, {Qt::Key_Tab, 24}, {Qt::Key_Tab, 25},
            {Qt::Key_Tab, Stock}, {Qt::Key_Space, Stock}, {Qt::Key_Up, 25}, {Qt::Key_Down, Stock},
            {Qt::Key_Down, Stock}, {Qt::Key_Up, 25}, {Qt::Key_Backtab, 24}, {Qt::Key_Left, 23},
            {Qt::Key_Left, 20}, {Qt::Key_Left, 19}, {Qt::Key_Left, 19}, {Qt::Key_Up, 19}, {Qt::Key_Right, 20},
            {Qt::Key_Down, 25}, {Qt::Key_Backtab, 24}, {Qt::Key_Right, 24}};
        for (const auto &[pressed, index] : steps) {
            key(pressed);
            QCOMPARE(focused(), static_cast<QWidget *>(game.spot(index)));
        }
        QAccessibleInterface *stock = QAccessible::queryAccessibleInterface(game.spot(Stock));
        QCOMPARE(stock->text(QAccessible::Name), QStringLiteral("Stock, 24 cards"));
        // A ring for the keyboard's focus, none for focus given by the mouse or by code.
        QVERIFY(game.spot(24)->grab().toImage() != plain);
        QTest::mouseClick(game.label("lblScore"), Qt::LeftButton);
        game.spot(24)->setFocus();
        QCOMPARE(game.spot(24)->grab().toImage(), plain);
        // A card taken from 24 opens 18 above it, nearer than 23 beside it; Tab would go on to 25.
        game.putCard(24, game.table()->model().wasteRank() % 13 + 1);
        key(Qt::Key_Return);
        QTRY_COMPARE(focused(), static_cast<QWidget *>(game.spot(18)));
        // S says the table wherever the focus is; what each key press changed was said too.
        key(Qt::Key_S);
        const QStringList said = game.announcer.take();
        QVERIFY2(said.size() == 4 && said[0].startsWith("New deal.") && said[1].endsWith(". 24 in the stock.")
                     && said[2].contains(". Run 1. Score 100.") && said[3].startsWith("Waste card "),
                 qPrintable(said.join('|')));
        // Take Score twice: the second round's end is the game's.
        for (int round = 1; round <= 2; ++round) {
            QVERIFY(game.tabTo(game.button("cmdTake")));
            key(Qt::Key_Space);
        }
        QCOMPARE(game.prompts.inputPrompts.size(), 1);
        const QString roundEnds = game.announcer.take().join('|');
        QVERIFY2(roundEnds.contains("Round: 2.") && roundEnds.contains("GAME OVER. Final score"),
                 qPrintable(roundEnds));
    }
    void aDealThatCoversTheFocusedCardMovesTheFocusOn()
    {
        KeyboardGame game;
        game.click("cmdDeal");
        // Spot 12 lies under 19 alone: open it and put the focus on it.
        game.take(19);
        game.putCard(12, 1);
        game.spot(12)->setFocus(Qt::TabFocusReason);
        // The round runs out and the next deal covers spot 12 again. The table's own focus
        // is what counts: the time-up box has just taken the activation away.
        game.clock.advance(std::chrono::seconds(62));
        QVERIFY(!game.spot(12)->isClickable());
        QTRY_VERIFY(game.table()->focusWidget() == game.spot(19) || game.table()->focusWidget() == game.spot(20));
    }
    void secondaryWindowsAnswerEnterAndEscape_data()
    {
        QTest::addColumn<QString>("opener"); // on the table, then in the menu
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("shownAfter");
        QTest::newRow("menu: Escape closes") << "cmdMenu" << QList<int>{Qt::Key_Escape} << "frmMarigold";
        QTest::newRow("menu: Enter presses") << "cmdMenu" << QList<int>{Qt::Key_Return} << "frmCredits";
        QTest::newRow("credits: Enter") << "cmdMenu cmdCredits" << QList<int>{Qt::Key_Return} << "frmMenu";
        QTest::newRow("instructions: Escape") << "cmdMenu cmdInst" << QList<int>{Qt::Key_Escape} << "frmMenu";
        QTest::newRow("chooser: arrows, Enter chooses") << "cmdMenu cmdBacks" << ToBack7 << "frmMenu";
        QTest::newRow("chooser: arrows, Escape cancels")
            << "cmdMenu cmdBacks" << QList<int>{Qt::Key_Right, Qt::Key_Escape} << "frmMenu";
        QTest::newRow("about box: Escape") << "cmdMenu cmdAbout" << QList<int>{Qt::Key_Escape} << "frmMenu";
        QTest::newRow("high scores: Escape") << "cmdScores" << QList<int>{Qt::Key_Escape} << "frmMarigold";
    }
    void secondaryWindowsAnswerEnterAndEscape()
    {
        QFETCH(QString, opener);
        QFETCH(QList<int>, keys);
        QFETCH(QString, shownAfter);
        KeyboardGame game;
        QPushButton *onTable = game.button(qPrintable(opener.section(' ', 0, 0)));
        QVERIFY(game.tabTo(onTable));
        key(Qt::Key_Space);
        if (opener.contains(' '))
            game.forms->menu()->findChild<QPushButton *>(opener.section(' ', 1))->click();
        QWidget *open = otherShownWindow(game.table());
        QVERIFY(open);
        open->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(open));
        for (int pressed : keys)
            QTest::keyClick(focused() ? focused() : open, Qt::Key(pressed));
        QWidget *after = otherShownWindow(game.table());
        QCOMPARE(after ? after->objectName() : QStringLiteral("frmMarigold"), shownAfter);
        QCOMPARE(game.table()->isEnabled(), !after);
        if (!after) { // back on the table, where the keys left it
            game.table()->activateWindow();
            QTRY_COMPARE(focused(), static_cast<QWidget *>(onTable));
        }
        // Only the chooser, by Enter, saves a back.
        QCOMPARE(game.readFile("zelbacks.dat") == QByteArray::fromHex("0700"), keys == ToBack7);
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
