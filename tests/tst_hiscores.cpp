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
#include <QWindow>

using namespace std::chrono_literals;

namespace {

// Plays a game to its end as a player does: Take Score in the first round with `points`
// of time bonus (50 a second) still on the clock, or none to let it run out, and the
// second round left to run out.
bool playGameScoring(GameFixture &game, int points)
{
    if (!game.click("cmdDeal"))
        return false;
    game.clock.advance(std::chrono::seconds(60 - points / 50));
    if (points > 0 && !game.click("cmdTake"))
        return false;
    if (points == 0)
        game.clock.advance(1s);
    game.clock.advance(61s);
    return game.text("lblBonuslbl") == QLatin1String("GAME OVER");
}

const QString Title = QStringLiteral("High Score!!");

} // namespace

class tst_HiScores : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void gameEndFilesTheScore_data()
    {
        // Every game ends on an empty table.
        QTest::addColumn<qint32>("score");
        QTest::addColumn<QStringList>("answers"); // to the name prompt, then to each asking again
        QTest::addColumn<QStringList>("shownAgain"); // the name as it would be kept, each time asked again
        QTest::addColumn<QStringList>("names"); // it may be filed under; none when it enters nowhere
        QStringList defaults;
        for (QStringView name : Names::DefaultNames)
            defaults.append(name.toString());
        QTest::newRow("0 enters nowhere and asks nothing") << 0 << QStringList() << QStringList() << QStringList();
        QTest::newRow("the typed name is filed") << 800 << QStringList{"New"} << QStringList() << QStringList{"New"};
        QTest::newRow("an empty answer draws a default name") << 800 << QStringList{""} << QStringList()
                                                              << defaults;
        QTest::newRow("letters of the code page are kept") << 800 << QStringList{"Zoë Œuvre €5"} << QStringList()
                                                           << QStringList{"Zoë Œuvre €5"};
        QTest::newRow("an accent the code page has joins its letter")
            << 800 << QStringList{"Rene\u0301"} << QStringList() << QStringList{"René"};
        QTest::newRow("accents it lacks are dropped") << 800 << QStringList{"q\u0301x\u0327"} << QStringList()
                                                      << QStringList{"qx"};
        QTest::newRow("of two accents the one that fits is kept") << 800 << QStringList{"Lu\u0308\u0301"}
                                                                  << QStringList() << QStringList{"Lü"};
        QTest::newRow("full-width letters become plain ones") << 800 << QStringList{"Ｊｏｙ"} << QStringList()
                                                              << QStringList{"Joy"};
        QTest::newRow("only the characters kept count") << 800 << QStringList{"ABCDEFGHIJKLMNO王"}
                                                        << QStringList() << QStringList{"ABCDEFGHIJKLMNO"};
        QTest::newRow("a syllable of another script is one character, shown as kept")
            << 800 << QStringList{"ABCDEFGHIJKLM\uD55CX", "ABCDEFGHIJKLM?X"} << QStringList{"ABCDEFGHIJKLM?X"}
            << QStringList{"ABCDEFGHIJKLM?X"};
        QTest::newRow("another script is asked again, and what is shown may be taken")
            << 800 << QStringList{"王小明", "???"} << QStringList{"???"} << QStringList{"???"};
        QTest::newRow("emoji are asked again, and another name may be typed")
            << 800 << QStringList{"😀 Joy 🎉", "Joy"} << QStringList{"? Joy ?"} << QStringList{"Joy"};
        QTest::newRow("a second name that cannot be kept is asked again too")
            << 800 << QStringList{"שלום", "Ли", "??"} << QStringList{"????", "??"} << QStringList{"??"};
        QTest::newRow("cancelling when asked again draws a default name") << 800 << QStringList{"王", ""}
                                                                          << QStringList{"?"} << defaults;
    }
    void gameEndFilesTheScore()
    {
        QFETCH(qint32, score);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, shownAgain);
        QFETCH(QStringList, names);
        GameFixture game;
        game.prompts.inputAnswers = answers;
        QVERIFY(playGameScoring(game, score));
        frmHiScores *window = game.forms->hiScores();
        const bool entered = !names.isEmpty();
        QCOMPARE(game.prompts.inputTitles, QStringList(answers.size(), Title));
        QStringList prompts{"You Got A High Score!!\rEnter Your Name:\r(10 Characters Max.)"};
        for (const QString &shown : std::as_const(shownAgain))
            prompts << "Some letters of that name cannot be kept in the high scores.\rIt would be kept as: "
                           + shown + "\rPress OK to keep it so, or type another name.";
        QCOMPARE(game.prompts.inputPrompts, entered ? prompts : QStringList());
        QCOMPARE(game.prompts.inputTexts, entered ? QStringList{""} + shownAgain : QStringList());
        QCOMPARE(game.text("lblHighScore"), QString::number(score));
        // A score that enters is shown at once, over a disabled table.
        QCOMPARE(window->isVisible(), entered);
        if (entered) // it stays above the table it disables
            QCOMPARE(window->windowHandle()->transientParent(), game.table()->windowHandle());
        QCOMPARE(game.table()->isEnabled(), !entered);
        QCOMPARE(window->findChild<QLabel *>("lblScore[0]")->text(), entered ? "800" : "");
        const QString name = window->findChild<QLabel *>("lblName[0]")->text().trimmed();
        QVERIFY2(names.contains(name) == entered, qPrintable(name));
    }
    void anEmptyNameDrawsADefaultOneBeforeAnyWindowLoads()
    {
        GameFixture game; // no window is ever made
        game.book.enter(800, QString());
        const QString name = game.book.table().entry(1).name.trimmed();
        QVERIFY2(std::find(Names::DefaultNames.cbegin(), Names::DefaultNames.cend(), name)
                     != Names::DefaultNames.cend(),
                 qPrintable(name));
    }
    void theListIsReadWithOkAndPlaceByPlaceWithTheArrows()
    {
        GameFixture game;
        game.prompts.inputAnswers = {"Ann"};
        qint32 score = 800, highScore = 0;
        frmHiScores *window = game.forms->hiScores();
        window->HighScores(score, highScore);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        auto *ok = window->findChild<QPushButton *>("cmdOkay");
        QCOMPARE(QApplication::focusWidget(), ok);
        QVERIFY(ok->accessibleDescription().startsWith("High scores. Place 1: Ann, 800. Places 2 to 10 are empty."));
        game.announcer.take();
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up, Qt::Key_End})
            QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(game.announcer.take(), (QStringList{"Place 1: Ann, 800.", "Place 2 is empty.", "Place 1: Ann, 800.",
                                                     "Place 1: Ann, 800.", "Place 10 is empty."}));
        QCOMPARE(QApplication::focusWidget(), ok); // the arrows read; they do not move the focus
    }
    void firstOpeningWritesABlankTableAndClearEmptiesItOnlyOnYes()
    {
        GameFixture game;
        game.book.raiseHighRun(4);
        QVERIFY(game.click("cmdScores"));
        QCOMPARE(game.readFile("zelscores.dat"), QByteArray(9 + 4 * 10, '\0'));
        QCOMPARE(game.readFile("names.dat"), QByteArray(9, '\0') + QByteArray(15 * 10, ' '));
        QCOMPARE(game.text("lblHighRun"), "4"); // the best run is kept
        QCOMPARE(game.records->readHighRun(), 4);
        frmHiScores *window = game.forms->hiScores();
        auto label = [window](const char *name) { return window->findChild<QLabel *>(name); };
        QVERIFY(window->isVisible() && !game.table()->isEnabled());
        QVERIFY(UserInput::closeWindow(window)); // the frame gives the table back, as OK does
        QVERIFY(window->isHidden() && game.table()->isEnabled());
        QVERIFY(playGameScoring(game, 800));
        QVERIFY(UserInput::click(window->findChild<QPushButton *>("cmdOkay")));
        QVERIFY(window->isHidden() && game.table()->isEnabled());
        QVERIFY(game.click("cmdScores"));
        game.prompts.questionAnswers = {false, true};
        for (auto [high, run] : {std::pair{"800", "4"}, {"0", "0"}}) { // No changes nothing; Yes empties all
            QVERIFY(UserInput::click(window->findChild<QPushButton *>("cmdClear")));
            QCOMPARE(label("lblScore[0]")->text(), high);
            QCOMPARE(game.text("lblHighScore"), high);
            QCOMPARE(game.text("lblHighRun"), run);
        }
        QCOMPARE(game.prompts.questions, QStringList(2, "Are you sure you want clear the highscores"));
        QCOMPARE(game.records->readHighRun(), 0);
        // Laid out as the window was drawn: sizes, places, fonts and colours.
        QCOMPARE(window->windowTitle(), QStringLiteral("High Scores"));
        QCOMPARE(window->size(), QSize(402, 280));
        QVERIFY(window->windowFlags().testFlags(Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint));
        QVERIFY(!(window->windowFlags() & (Qt::FramelessWindowHint | Qt::WindowMinMaxButtonsHint)));
        QCOMPARE(window->palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(label("LblTen")->text(), QStringLiteral("#10"));
        QCOMPARE(label("lblName[0]")->geometry(), QRect(56, 24, 201, 33));
        QCOMPARE(label("lblName[0]")->font().pointSizeF(), 20.25);
        QCOMPARE(label("lblScore[4]")->geometry(), QRect(256, 128, 97, 17));
        QCOMPARE(label("lblScore[0]")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        QCOMPARE(label("lblName[1]")->palette().color(QPalette::WindowText), QColor(255, 255, 0));
        QCOMPARE(label("lblScore[7]")->palette().color(QPalette::WindowText), QColor(255, 0, 255));
        QCOMPARE(window->findChild<QPushButton *>("cmdOkay")->geometry(), QRect(120, 240, 49, 33));
        QCOMPARE(window->findChild<QPushButton *>("cmdClear")->geometry(), QRect(216, 240, 49, 33));
    }
};

QTEST_MAIN(tst_HiScores)
#include "tst_hiscores.moc"
