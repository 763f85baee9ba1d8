#include "support/gamefixture.h"

#include "game/names.h"
#include "records/frmhiscores.h"
#include "table/frmmarigold.h"

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
const QList<qint32> EmptyTable(10, 0);
const QStringList FullNames = {"Ann", "Ben", "Cat", "Dan", "Eve", "Fay", "Gus", "Hal", "Ivy", "Jo"};

QStringList shown(QWidget *window, const char *array)
{
    QStringList texts;
    for (int i = 0; i < 10; ++i)
        texts.append(window->findChild<QLabel *>(QStringLiteral("%1[%2]").arg(array).arg(i))->text());
    return texts;
}

} // namespace

class tst_HiScores : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gameEndFilesTheScore_data()
    {
        QTest::addColumn<QList<qint32>>("before"); QTest::addColumn<qint32>("score");
        QTest::addColumn<QString>("answer"); QTest::addColumn<QList<qint32>>("after");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("0 on an empty table asks nothing")
            << EmptyTable << 0 << "" << EmptyTable << QStringList(10, QString());
        QTest::newRow("800 goes below the 800 there, and 50 drops out") << FullTable << 800 << "New"
            << QList<qint32>{900, 800, 800, 700, 600, 500, 400, 300, 200, 100}
            << QStringList{"Ann", "Ben", "New", "Cat", "Dan", "Eve", "Fay", "Gus", "Hal", "Ivy"};
    }
    void gameEndFilesTheScore()
    {
        QFETCH(QList<qint32>, before); QFETCH(qint32, score); QFETCH(QString, answer); QFETCH(QList<qint32>, after);
        QFETCH(QStringList, names);
        GameFixture game;
        game.writeFile("zelscores.dat", scoresFile(before));
        game.writeFile("names.dat", namesFile(before == FullTable ? FullNames : QStringList(10, QString())));
        game.prompts.inputAnswers = {answer};
        const qint32 high = before.first();
        qint32 final = score;
        qint32 highScore = high;
        frmHiScores *window = game.forms->hiScores();
        window->HighScores(final, highScore);
        const bool entered = after != before;
        QCOMPARE(game.prompts.inputTitles, entered ? QStringList{"High Score!!"} : QStringList());
        if (entered) {
            QCOMPARE(game.prompts.inputPrompts.first(),
                     QStringLiteral("You Got A High Score!!\rEnter Your Name:\r(10 Characters Max.)"));
        }
        QCOMPARE(game.readFile("zelscores.dat"), scoresFile(after));
        QCOMPARE(game.readFile("names.dat"), namesFile(names));
        QCOMPARE(highScore, std::max(high, score));
        QCOMPARE(game.text("lblHighScore"), QString::number(std::max(high, score)));
        // A score that enters shows the table over a disabled game window.
        QCOMPARE(window->isVisible(), entered);
        QCOMPARE(game.table()->isEnabled(), !entered);
        if (entered) {
            QCOMPARE(shown(window, "lblScore").first(), QString::number(after.first()));
            QCOMPARE(shown(window, "lblName").first(), names.first().leftJustified(15));
        }
    }
    void emptyAnswerDrawsADefaultName()
    {
        GameFixture game;
        game.table();
        qint32 score = 700;
        qint32 high = 0;
        game.forms->hiScores()->HighScores(score, high);
        const QString name = shown(game.forms->hiScores(), "lblName").first();
        QCOMPARE(Names::DefaultNames.size(), size_t(6));
        QVERIFY2(std::count_if(Names::DefaultNames.begin(), Names::DefaultNames.end(),
                               [&](const QString &d) { return d.leftJustified(15) == name; }) == 1,
                 qPrintable(name));
    }
    void clearEmptiesTheTableOnlyOnYes_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes clears scores and the best run") << true;
        QTest::newRow("No changes nothing") << false;
    }
    void clearEmptiesTheTableOnlyOnYes()
    {
        QFETCH(bool, yes);
        GameFixture game;
        game.writeFile("zelscores.dat", scoresFile(FullTable));
        game.writeFile("names.dat", namesFile(FullNames));
        game.writeFile("zelruntot.dat", QByteArray::fromHex("0900"));
        game.click("cmdScores");
        frmHiScores *window = game.forms->hiScores();
        QCOMPARE(shown(window, "lblName").at(1), QStringLiteral("Ben            "));
        game.prompts.questionAnswers = {yes};
        QTest::mouseClick(window->findChild<QPushButton *>("cmdClear"), Qt::LeftButton);
        QCOMPARE(game.prompts.questions, QStringList{"Are you sure you want clear the highscores"});
        QCOMPARE(shown(window, "lblScore").first(), yes ? "0" : "900");
        QCOMPARE(shown(window, "lblScore").last(), yes ? "0" : "50");
        QCOMPARE(game.text("lblHighScore"), yes ? "0" : "900");
        QCOMPARE(game.text("lblHighRun"), yes ? "0" : "9");
        QCOMPARE(game.table()->highRun(), qint16(yes ? 0 : 9));
        QCOMPARE(game.readFile("zelruntot.dat"), yes ? QByteArray(4, '\0') : QByteArray::fromHex("0900"));
        QCOMPARE(game.readFile("names.dat"), namesFile(yes ? QStringList(10, QString()) : FullNames));
    }
    void firstOpeningWithNoFilesWritesABlankTable()
    {
        GameFixture game;
        game.writeFile("zelruntot.dat", QByteArray::fromHex("0400"));
        game.click("cmdScores");
        QCOMPARE(game.readFile("zelscores.dat"), scoresFile(EmptyTable));
        QCOMPARE(game.readFile("names.dat"), namesFile(QStringList(10, QString())));
        QCOMPARE(game.readFile("zelruntot.dat"), QByteArray::fromHex("0400"));
        QCOMPARE(game.text("lblHighRun"), QStringLiteral("4"));
        QCOMPARE(shown(game.forms->hiScores(), "lblScore"), QStringList(10, QStringLiteral("0")));
    }
    void okOrTheFrameGivesTheTableBack()
    {
        GameFixture game;
        game.click("cmdScores");
        frmHiScores *window = game.forms->hiScores();
        QVERIFY(window->isVisible());
        QVERIFY(!game.table()->isEnabled());
        QTest::mouseClick(window->findChild<QPushButton *>("cmdOkay"), Qt::LeftButton);
        QVERIFY(window->isHidden() && game.table()->isEnabled());
        game.click("cmdScores");
        QVERIFY(!window->close());
        QVERIFY(window->isHidden() && game.table()->isEnabled());
    }
    void windowLayout()
    {
        GameFixture game;
        game.click("cmdScores");
        frmHiScores *window = game.forms->hiScores();
        QCOMPARE(window->windowTitle(), QStringLiteral("High Scores"));
        QCOMPARE(window->size(), QSize(402, 280));
        QCOMPARE(window->palette().color(QPalette::Window), QColor(Qt::black));
        auto label = [window](const char *name) { return window->findChild<QLabel *>(name); };
        QCOMPARE(label("LblTen")->text(), QStringLiteral("#10"));
        QCOMPARE(label("lblName[0]")->geometry(), QRect(56, 24, 201, 33));
        QCOMPARE(label("lblScore[4]")->geometry(), QRect(256, 128, 97, 17));
        QCOMPARE(label("lblScore[0]")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        QCOMPARE(label("lblName[0]")->font().pointSizeF(), 20.25);
        QCOMPARE(label("lblName[1]")->palette().color(QPalette::WindowText), QColor(255, 255, 0));
        QCOMPARE(label("lblScore[7]")->palette().color(QPalette::WindowText), QColor(255, 0, 255));
        QCOMPARE(window->findChild<QPushButton *>("cmdOkay")->geometry(), QRect(120, 240, 49, 33));
        QCOMPARE(window->findChild<QPushButton *>("cmdClear")->geometry(), QRect(216, 240, 49, 33));
    }
};

QTEST_MAIN(tst_HiScores)
#include "tst_hiscores.moc"
