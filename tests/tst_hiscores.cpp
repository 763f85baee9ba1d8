#include "support/gamefixture.h"

#include "records/frmhiscores.h"
#include "table/frmmarigold.h"
#include "game/names.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

QByteArray scoresFile(const QList<qint32> &scores)
{
    QByteArray bytes(9, '\0');
    for (qint32 score : scores) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.append(char((score >> shift) & 0xff));
    }
    return bytes;
}

QByteArray namesFile(const QStringList &names)
{
    QByteArray bytes(9, '\0');
    for (const QString &name : names)
        bytes.append(name.toLatin1().leftJustified(15, ' ', true));
    return bytes;
}

const QList<qint32> FullTable = {900, 800, 700, 600, 500, 400, 300, 200, 100, 50};
const QStringList FullNames = {"Ann", "Ben", "Cat", "Dan", "Eve", "Fay", "Gus", "Hal", "Ivy", "Jo"};

} // namespace

class tst_HiScores : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scoreOfZeroOnAnEmptyTableAsksNothing();
    void firstScoreOnAnEmptyTableTakesTheTop();
    void scoreEnteringAFullTable_data();
    void scoreEnteringAFullTable();
    void scoreThatEntersNowhereChangesNothing_data();
    void scoreThatEntersNowhereChangesNothing();
    void typedNamesAreStoredAsShown_data();
    void typedNamesAreStoredAsShown();
    void clearEmptiesTheTableAndTheBestRun();
    void clearAnsweredNoChangesNothing();
    void firstOpeningWithNoFilesWritesABlankTable();
    void highScoresButtonShowsTheTableUntilOk();
    void windowLayout();

private:
    // A full table with a best run of 9, shown through the High Scores button.
    static void openFullTable(GameFixture &game)
    {
        game.writeFile("zelscores.dat", scoresFile(FullTable));
        game.writeFile("names.dat", namesFile(FullNames));
        game.writeFile("zelruntot.dat", QByteArray::fromHex("0900"));
        game.click("cmdScores");
    }
    static QStringList shownNames(frmHiScores *window);
    static QStringList shownScores(frmHiScores *window);
};

QStringList tst_HiScores::shownNames(frmHiScores *window)
{
    QStringList names;
    for (int i = 0; i < 10; ++i)
        names.append(window->findChild<QLabel *>(QStringLiteral("lblName[%1]").arg(i))->text());
    return names;
}

QStringList tst_HiScores::shownScores(frmHiScores *window)
{
    QStringList scores;
    for (int i = 0; i < 10; ++i)
        scores.append(window->findChild<QLabel *>(QStringLiteral("lblScore[%1]").arg(i))->text());
    return scores;
}

void tst_HiScores::scoreOfZeroOnAnEmptyTableAsksNothing()
{
    GameFixture game;
    game.table();
    qint32 score = 0;
    qint32 high = 0;
    game.forms->hiScores()->HighScores(score, high);
    QVERIFY(game.prompts.inputPrompts.isEmpty());
    QVERIFY(!game.forms->hiScores()->isVisible());
    QCOMPARE(game.readFile("zelscores.dat"), scoresFile(QList<qint32>(10, 0)));
    QCOMPARE(game.readFile("names.dat"), namesFile(QStringList(10, QString())));
    QCOMPARE(high, 0);
    QVERIFY(game.table()->isEnabled());
}

void tst_HiScores::firstScoreOnAnEmptyTableTakesTheTop()
{
    GameFixture game;
    game.table();
    game.prompts.inputAnswers = {QStringLiteral("AB")};
    qint32 score = 1;
    qint32 high = 0;
    frmHiScores *window = game.forms->hiScores();
    window->HighScores(score, high);
    QCOMPARE(game.prompts.inputTitles, QStringList{QStringLiteral("High Score!!")});
    QCOMPARE(game.prompts.inputPrompts.first(),
             QStringLiteral("You Got A High Score!!\rEnter Your Name:\r(10 Characters Max.)"));
    QCOMPARE(high, 1);
    QCOMPARE(game.text("lblHighScore"), QStringLiteral("1"));
    QVERIFY(window->isVisible());
    QVERIFY(!game.table()->isEnabled());
    // The window's first load found entry 1 filled in and cleared nothing.
    QCOMPARE(shownScores(window), QStringList({"1", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
    QCOMPARE(shownNames(window).first(), QStringLiteral("AB             "));
    QCOMPARE(shownNames(window).last(), QString(15, QLatin1Char(' ')));
    QCOMPARE(game.readFile("names.dat").mid(9, 15), QByteArray("AB") + QByteArray(13, ' '));
}

void tst_HiScores::scoreEnteringAFullTable_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<QList<qint32>>("after");
    QTest::addColumn<int>("place");
    QTest::newRow("800 goes below the 800 already there, and 50 drops out")
        << 800 << QList<qint32>{900, 800, 800, 700, 600, 500, 400, 300, 200, 100} << 3;
    QTest::newRow("51 beats only the last entry")
        << 51 << QList<qint32>{900, 800, 700, 600, 500, 400, 300, 200, 100, 51} << 10;
    QTest::newRow("a new best goes first")
        << 1000 << QList<qint32>{1000, 900, 800, 700, 600, 500, 400, 300, 200, 100} << 1;
}

void tst_HiScores::scoreEnteringAFullTable()
{
    QFETCH(int, score);
    QFETCH(QList<qint32>, after);
    QFETCH(int, place);
    GameFixture game;
    game.writeFile("zelscores.dat", scoresFile(FullTable));
    game.writeFile("names.dat", namesFile(FullNames));
    game.table();
    game.prompts.inputAnswers = {QStringLiteral("New")};
    qint32 final = score;
    qint32 high = 900;
    game.forms->hiScores()->HighScores(final, high);
    QCOMPARE(game.readFile("zelscores.dat"), scoresFile(after));
    QStringList names = FullNames;
    names.insert(place - 1, QStringLiteral("New"));
    names.removeLast();
    QCOMPARE(game.readFile("names.dat"), namesFile(names));
    QCOMPARE(high, std::max(900, score));
    QCOMPARE(game.text("lblHighScore"), QString::number(std::max(900, score)));
}

void tst_HiScores::scoreThatEntersNowhereChangesNothing_data()
{
    QTest::addColumn<int>("score");
    QTest::newRow("equal to the last entry") << 50;
    QTest::newRow("lower than the last entry") << 10;
}

void tst_HiScores::scoreThatEntersNowhereChangesNothing()
{
    QFETCH(int, score);
    GameFixture game;
    game.writeFile("zelscores.dat", scoresFile(FullTable));
    game.writeFile("names.dat", namesFile(FullNames));
    game.table();
    qint32 final = score;
    qint32 high = 900;
    game.forms->hiScores()->HighScores(final, high);
    QVERIFY(game.prompts.inputPrompts.isEmpty());
    QVERIFY(!game.forms->hiScores()->isVisible());
    QCOMPARE(game.readFile("zelscores.dat"), scoresFile(FullTable));
    QCOMPARE(game.readFile("names.dat"), namesFile(FullNames));
    QCOMPARE(high, 900);
}

void tst_HiScores::typedNamesAreStoredAsShown_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("twenty characters are cut to fifteen")
        << "Bartholomew Quinn!!!" << "Bartholomew Qui";
    QTest::newRow("two letters are padded with spaces") << "AB" << "AB             ";
    QTest::newRow("spaces alone are a name") << "  " << "               ";
    QTest::newRow("an empty answer draws a default name") << "" << QString();
}

void tst_HiScores::typedNamesAreStoredAsShown()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    GameFixture game;
    game.table();
    game.prompts.inputAnswers = {typed};
    qint32 score = 700;
    qint32 high = 0;
    game.forms->hiScores()->HighScores(score, high);
    const QString shown = shownNames(game.forms->hiScores()).first();
    if (stored.isNull()) {
        QStringList defaults;
        for (const QString &name : Names::DefaultNames)
            defaults.append(HighScoreTable::fittedName(name));
        QCOMPARE(Names::DefaultNames.size(), size_t(6));
        QVERIFY2(defaults.contains(shown), qPrintable(shown));
    } else {
        QCOMPARE(shown, stored);
    }
}

void tst_HiScores::clearEmptiesTheTableAndTheBestRun()
{
    GameFixture game;
    openFullTable(game);
    frmHiScores *window = game.forms->hiScores();
    QCOMPARE(shownScores(window).first(), QStringLiteral("900"));
    QCOMPARE(shownNames(window).at(1), QStringLiteral("Ben            "));

    game.prompts.questionAnswers = {true};
    QTest::mouseClick(window->findChild<QPushButton *>("cmdClear"), Qt::LeftButton);
    QCOMPARE(game.prompts.questions,
             QStringList{QStringLiteral("Are you sure you want clear the highscores")});
    QCOMPARE(shownScores(window), QStringList(10, QStringLiteral("0")));
    QCOMPARE(shownNames(window), QStringList(10, QString(15, QLatin1Char(' '))));
    QCOMPARE(game.text("lblHighScore"), QStringLiteral("0"));
    QCOMPARE(game.text("lblHighRun"), QStringLiteral("0"));
    QCOMPARE(game.table()->highRun(), qint16(0));
    QCOMPARE(game.table()->highScore(), 0);
    QCOMPARE(game.readFile("zelruntot.dat"), QByteArray(4, '\0'));
    QCOMPARE(game.readFile("zelscores.dat"), scoresFile(QList<qint32>(10, 0)));
}

void tst_HiScores::clearAnsweredNoChangesNothing()
{
    GameFixture game;
    openFullTable(game);
    game.prompts.questionAnswers = {false};
    QTest::mouseClick(game.forms->hiScores()->findChild<QPushButton *>("cmdClear"), Qt::LeftButton);
    QCOMPARE(game.prompts.questions.size(), 1);
    QCOMPARE(shownScores(game.forms->hiScores()).first(), QStringLiteral("900"));
    QCOMPARE(game.text("lblHighScore"), QStringLiteral("900"));
    QCOMPARE(game.readFile("zelruntot.dat"), QByteArray::fromHex("0900"));
    QCOMPARE(game.readFile("zelscores.dat"), scoresFile(FullTable));
}

void tst_HiScores::firstOpeningWithNoFilesWritesABlankTable()
{
    GameFixture game;
    game.writeFile("zelruntot.dat", QByteArray::fromHex("0400"));
    game.click("cmdScores");
    QCOMPARE(game.readFile("zelscores.dat"), scoresFile(QList<qint32>(10, 0)));
    QCOMPARE(game.readFile("names.dat"), namesFile(QStringList(10, QString())));
    QCOMPARE(game.readFile("zelruntot.dat"), QByteArray::fromHex("0400"));
    QCOMPARE(game.text("lblHighRun"), QStringLiteral("4"));
    QCOMPARE(shownScores(game.forms->hiScores()), QStringList(10, QStringLiteral("0")));
}

void tst_HiScores::highScoresButtonShowsTheTableUntilOk()
{
    GameFixture game;
    game.click("cmdScores");
    frmHiScores *window = game.forms->hiScores();
    QVERIFY(window->isVisible());
    QVERIFY(!game.table()->isEnabled());
    game.click("cmdDeal"); // the disabled table ignores it
    QVERIFY(game.button("cmdDeal")->isVisible());
    QTest::mouseClick(window->findChild<QPushButton *>("cmdOkay"), Qt::LeftButton);
    QVERIFY(window->isHidden());
    QVERIFY(game.table()->isEnabled());

    // Closing through the frame does what OK does.
    game.click("cmdScores");
    QVERIFY(!window->close());
    QVERIFY(window->isHidden());
    QVERIFY(game.table()->isEnabled());
}

void tst_HiScores::windowLayout()
{
    GameFixture game;
    game.click("cmdScores");
    frmHiScores *window = game.forms->hiScores();
    QCOMPARE(window->windowTitle(), QStringLiteral("High Scores"));
    QCOMPARE(window->size(), QSize(402, 280));
    QCOMPARE(window->palette().color(QPalette::Window), QColor(Qt::black));
    auto label = [window](const char *name) { return window->findChild<QLabel *>(name); };
    QCOMPARE(label("lblOne")->text(), QStringLiteral("#1"));
    QCOMPARE(label("LblTen")->text(), QStringLiteral("#10"));
    QCOMPARE(label("lblOne")->geometry(), QRect(16, 24, 33, 33));
    QCOMPARE(label("lblName[0]")->geometry(), QRect(56, 24, 201, 33));
    QCOMPARE(label("lblScore[4]")->geometry(), QRect(256, 128, 97, 17));
    QCOMPARE(label("lblScore[0]")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(label("lblName[0]")->font().pointSizeF(), 20.25);
    QVERIFY(label("lblName[9]")->font().bold());
    QCOMPARE(label("lblName[1]")->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    QCOMPARE(label("lblScore[7]")->palette().color(QPalette::WindowText), QColor(255, 0, 255));
    QCOMPARE(window->findChild<QPushButton *>("cmdOkay")->geometry(), QRect(120, 240, 49, 33));
    QCOMPARE(window->findChild<QPushButton *>("cmdClear")->geometry(), QRect(216, 240, 49, 33));
    QCOMPARE(window->findChild<QPushButton *>("cmdOkay")->nextInFocusChain(),
             window->findChild<QPushButton *>("cmdClear"));
}

QTEST_MAIN(tst_HiScores)
#include "tst_hiscores.moc"
