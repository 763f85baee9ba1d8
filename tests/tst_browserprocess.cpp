#include "support/gamefixture.h"

#include "table/frmmarigold.h"
#include "windows/browserprocess.h"
#include "windows/frmmenu.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <csignal>

namespace {

constexpr int StartTimeoutMs = 30000;
const QString HomeTitle = QStringLiteral("Marigold - a patience card game");

bool mapsWebEngine()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        qFatal("cannot read /proc/self/maps");
    return maps.readAll().contains("libQt6WebEngine");
}

// A process and everything it started (the web engine's helpers), as now running.
QList<qint64> processTree(qint64 root)
{
    QMultiMap<qint64, qint64> children;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!entry.toLongLong() || !stat.open(QIODevice::ReadOnly))
            continue;
        // The fields after the command name, which may hold blanks itself.
        const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
        if (fields.size() > 1)
            children.insert(fields.at(1).toLongLong(), entry.toLongLong());
    }
    QList<qint64> tree{root};
    for (qsizetype index = 0; index < tree.size(); ++index)
        tree += children.values(tree.at(index));
    return tree;
}

bool isRunning(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    // A zombie has ended; only its parent's wait is missing.
    return stat.readAll().split(')').last().trimmed().at(0) != 'Z';
}

} // namespace

class tst_BrowserProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void webButtonOpensTheHomePageWithoutTheEngineInTheGame();
    void secondPressOnlyBringsTheOpenWindowIntoView();
    void browserEndingOpensAfreshOnTheNextPress_data();
    void browserEndingOpensAfreshOnTheNextPress();
    void missingBrowserIsReportedAndTheGamePlaysOn();
    void gameEndLeavesNoBrowserBehind_data();
    void gameEndLeavesNoBrowserBehind();
    void browserClosesWhenTheGameIsGone();

private:
    // The menu opened over the table, with the browser program of this build.
    static void openMenu(GameFixture &game)
    {
        game.forms->browser()->setProgram(QStringLiteral(MARIGOLD_BROWSER));
        game.click("cmdMenu");
    }
    static void press(GameFixture &game, const char *button)
    {
        QTest::mouseClick(game.forms->menu()->findChild<QPushButton *>(QLatin1String(button)),
                          Qt::LeftButton);
    }
    static void pressWeb(GameFixture &game) { press(game, "cmdWeb"); }
    // Presses the web button and waits for the home page's title in the caption.
    static void openHomePage(GameFixture &game)
    {
        QSignalSpy captions(game.forms->browser(), &BrowserProcess::captionChanged);
        pressWeb(game);
        QTRY_VERIFY_WITH_TIMEOUT(!captions.isEmpty() && captions.last().first() == HomeTitle,
                                 StartTimeoutMs);
    }
};

void tst_BrowserProcess::webButtonOpensTheHomePageWithoutTheEngineInTheGame()
{
    QVERIFY(!mapsWebEngine());
    GameFixture game;
    openMenu(game);
    openHomePage(game);
    QVERIFY(game.forms->browser()->isOpen());
    QVERIFY(game.forms->menu()->isVisible());
    QVERIFY(!game.table()->isEnabled());
    QVERIFY(game.prompts.messages.isEmpty());
    QVERIFY(!mapsWebEngine());
}

void tst_BrowserProcess::secondPressOnlyBringsTheOpenWindowIntoView()
{
    GameFixture game;
    openMenu(game);
    openHomePage(game);
    BrowserProcess *browser = game.forms->browser();
    const qint64 pid = browser->processId();

    QSignalSpy shown(browser, &BrowserProcess::shown);
    QSignalSpy captions(browser, &BrowserProcess::captionChanged);
    pressWeb(game);
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 1, StartTimeoutMs);
    QCOMPARE(browser->processId(), pid);
    QCOMPARE(captions.size(), 0);
    QVERIFY(game.forms->menu()->isVisible());
}

void tst_BrowserProcess::browserEndingOpensAfreshOnTheNextPress_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("messages");
    // SIGTERM closes the window as its close box does.
    QTest::newRow("closed like its close box") << int(SIGTERM) << 0;
    QTest::newRow("killed") << int(SIGKILL) << 1;
}

void tst_BrowserProcess::browserEndingOpensAfreshOnTheNextPress()
{
    QFETCH(int, signal);
    QFETCH(int, messages);
    GameFixture game;
    openMenu(game);
    openHomePage(game);
    BrowserProcess *browser = game.forms->browser();
    const qint64 first = browser->processId();

    QSignalSpy closed(browser, &BrowserProcess::closed);
    ::kill(pid_t(first), signal);
    QTRY_COMPARE_WITH_TIMEOUT(closed.size(), 1, StartTimeoutMs);
    QVERIFY(!browser->isOpen());
    QCOMPARE(game.prompts.messages.size(), messages);

    // The game plays on, and the next press opens the browser afresh.
    QVERIFY(game.forms->menu()->isVisible());
    openHomePage(game);
    QVERIFY(browser->processId() != first);
    QCOMPARE(game.prompts.messages.size(), messages);
    press(game, "cmdClose");
    game.click("cmdDeal");
    QVERIFY(game.button("cmdTake")->isVisible());
}

void tst_BrowserProcess::missingBrowserIsReportedAndTheGamePlaysOn()
{
    GameFixture game;
    openMenu(game);
    game.forms->browser()->setProgram(QDir(game.dir.path()).filePath(QStringLiteral("no-browser")));
    pressWeb(game);
    QTRY_COMPARE(game.prompts.messages.size(), 1);
    QVERIFY(game.prompts.messages.first().contains(QLatin1String("could not be started")));
    QVERIFY(game.forms->menu()->isVisible());

    pressWeb(game); // the next press tries again
    QTRY_COMPARE(game.prompts.messages.size(), 2);
}

void tst_BrowserProcess::gameEndLeavesNoBrowserBehind_data()
{
    QTest::addColumn<bool>("byExitButton");
    QTest::newRow("Exit") << true;
    QTest::newRow("the game's windows destroyed") << false;
}

void tst_BrowserProcess::gameEndLeavesNoBrowserBehind()
{
    QFETCH(bool, byExitButton);
    GameFixture game;
    openMenu(game);
    openHomePage(game);
    const QList<qint64> browser = processTree(game.forms->browser()->processId());
    QVERIFY2(browser.size() > 1, "the web engine's helper processes were not found");

    if (byExitButton) {
        press(game, "cmdClose");
        game.click("cmdExit");
    } else {
        game.forms.reset();
    }
    for (qint64 pid : browser)
        QTRY_VERIFY2_WITH_TIMEOUT(!isRunning(pid), qPrintable(QString::number(pid)), StartTimeoutMs);
    QVERIFY(game.prompts.messages.isEmpty());
}

void tst_BrowserProcess::browserClosesWhenTheGameIsGone()
{
    // A game killed outright closes nothing itself; its end of the browser's input
    // closes with it, which is all the browser needs to see.
    QProcess browser;
    browser.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    browser.start(QStringLiteral(MARIGOLD_BROWSER), {QStringLiteral("--game-channel")});
    QByteArray reports;
    QTRY_VERIFY_WITH_TIMEOUT((reports += browser.readAll()).contains("ready\n"), StartTimeoutMs);
    browser.closeWriteChannel();
    QVERIFY(browser.waitForFinished(StartTimeoutMs));
    QCOMPARE(browser.exitStatus(), QProcess::NormalExit);
    QCOMPARE(browser.exitCode(), 0);
}

QTEST_MAIN(tst_BrowserProcess)
#include "tst_browserprocess.moc"
