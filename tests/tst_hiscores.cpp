// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/gamefixture.h"
#include "support/userinput.h"

#include "game/names.h"
#include "table/frmmarigold.h"
#include "windows/frmhiscores.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace std::chrono_literals;

namespace {

// Takes the score in the first round with `points` of time bonus (50 a second) left, or none; the second runs out.
bool playGameScoring(GameFixture &game, int points)
{
    if (!game.click("cmdDeal"))
        return false;
    game.clock.advance(std::chrono::seconds(60 - points / 50) + (points > 0 ? 0s : 1s));
    if (points > 0 && !game.click("cmdTake"))
        return false;
    game.clock.advance(61s);
    return game.text("lblBonuslbl") == QLatin1String("GAME OVER");
}

bool isDefaultName(const QString &name)
{
    return std::find(Names::DefaultNames.cbegin(), Names::DefaultNames.cend(), name) != Names::DefaultNames.cend();
}

} // namespace

class tst_HiScores : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void gameEndFilesTheScore_data()
    {
        // Answers to the name prompt and each asking again (none: a score of 0); filed empty: a default name.
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("shownAgain");
        QTest::addColumn<QString>("filed");
        const auto row = [](const char *name, QStringList answers, QStringList shownAgain,
                            QString filed) { QTest::newRow(name) << answers << shownAgain << filed; };
        row("0 enters nowhere and asks nothing", {}, {}, "");
        row("an empty answer draws a default name", {""}, {}, "");
        row("accents join their letter or are dropped, full-width letters become plain",
            {"Lu\u0308\u0301 Rene\u0301 Ｊｏｙ q\u0301x\u0327"}, {}, "Lü René Joy qx");
        row("only the characters kept count", {"ABCDEFGHIJKLMNO王"}, {}, "ABCDEFGHIJKLMNO");
        row("a syllable of another script is one character, shown as kept",
            {"ABCDEFGHIJKLM\uD55CX", "ABCDEFGHIJKLM?X"}, {"ABCDEFGHIJKLM?X"}, "ABCDEFGHIJKLM?X");
        row("emoji are asked again, and another name may be typed", {"😀 Joy 🎉", "Joy"}, {"? Joy ?"}, "Joy");
        row("a second name that cannot be kept is asked again too", {"שלום", "Ли", "??"}, {"????", "??"}, "??");
        row("cancelling when asked again draws a default name", {"王", ""}, {"?"}, "");
    }
    void gameEndFilesTheScore()
    {
        QFETCH(QStringList, answers);
        QFETCH(QStringList, shownAgain);
        QFETCH(QString, filed);
        const bool entered = !answers.isEmpty();
        GameFixture game;
        game.prompts.inputAnswers = answers;
        QVERIFY(playGameScoring(game, entered ? 800 : 0));
        QStringList prompts{"You Got A High Score!!\rEnter Your Name:\r(10 Characters Max.)"};
        for (const QString &shown : std::as_const(shownAgain))
            prompts << "Some letters of that name cannot be kept in the high scores.\rIt would be kept as: "
                           + shown + "\rPress OK to keep it so, or type another name.";
        QCOMPARE(game.prompts.inputPrompts, entered ? prompts : QStringList());
        QCOMPARE(game.prompts.inputTexts, entered ? QStringList{""} + shownAgain : QStringList());
        frmHiScores *window = game.forms->hiScores(); // a score that enters is shown at once, over the table
        QCOMPARE(std::pair(window->isVisible(), game.table()->isEnabled()), std::pair(entered, !entered));
        const QString name = window->findChild<QLabel *>("lblName[0]")->text().trimmed();
        if (entered && filed.isEmpty())
            QVERIFY2(isDefaultName(name), qPrintable(name));
        else
            QCOMPARE(name, filed);
    }
    void anEmptyNameDrawsADefaultOneBeforeAnyWindowLoads()
    {
        GameFixture game;
        game.book.enter(800, QString());
        QVERIFY(isDefaultName(game.book.table().entry(1).name.trimmed()));
    }
    void theListOpensBlankIsReadWithTheArrowsAndClearsOnlyOnYes()
    {
        GameFixture game;
        game.book.raiseHighRun(4);
        QVERIFY(game.click("cmdScores"));
        QCOMPARE(game.readFile("zelscores.dat"), QByteArray(9 + 4 * 10, '\0'));
        QCOMPARE(game.readFile("names.dat"), QByteArray(9, '\0') + QByteArray(15 * 10, ' '));
        QCOMPARE(game.records->readHighRun(), 4); // the best run is kept
        frmHiScores *window = game.forms->hiScores();
        auto *ok = window->findChild<QPushButton *>("cmdOkay"), *clear = window->findChild<QPushButton *>("cmdClear");
        QVERIFY(UserInput::closeWindow(window) && window->isHidden() && game.table()->isEnabled()); // as OK does
        game.prompts.inputAnswers = {"Ann"};
        QVERIFY(playGameScoring(game, 800));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window) && QApplication::focusWidget() == ok);
        game.announcer.take();
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up, Qt::Key_End})
            QVERIFY(UserInput::press(key));
        QCOMPARE(game.announcer.take(), (QStringList{"Place 1: Ann, 800.", "Place 2 is empty.", "Place 1: Ann, 800.",
                                                     "Place 1: Ann, 800.", "Place 10 is empty."}));
        QCOMPARE(QApplication::focusWidget(), ok); // the arrows read; they do not move the focus
        QVERIFY(UserInput::click(ok) && window->isHidden() && game.table()->isEnabled());
        QVERIFY(game.click("cmdScores") && window->isVisible() && !game.table()->isEnabled());
        game.prompts.questionAnswers = {false, true};
        for (auto [high, run] : {std::pair{"800", "4"}, {"0", "0"}}) { // No changes nothing; Yes empties all
            QVERIFY(UserInput::click(clear));
            QCOMPARE((QStringList{window->findChild<QLabel *>("lblScore[0]")->text(), game.text("lblHighScore"),
                                  game.text("lblHighRun")}), (QStringList{high, high, run}));
        }
        QCOMPARE(game.prompts.questions, QStringList(2, "Are you sure you want clear the highscores"));
        QCOMPARE(game.records->readHighRun(), 0);
    }
};

QTEST_MAIN(tst_HiScores)
#include "tst_hiscores.moc"
