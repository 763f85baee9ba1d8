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

bool mapsWebEngine()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return !maps.open(QIODevice::ReadOnly) || maps.readAll().contains("libQt6WebEngine");
}

// A process's state and parent, the fields after its command name (which may hold blanks).
QList<QByteArray> stat(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    return file.open(QIODevice::ReadOnly) ? file.readAll().split(')').last().trimmed().split(' ')
                                          : QList<QByteArray>();
}

// A process and everything it started (the web engine's helpers), as now running.
QList<qint64> processTree(qint64 root)
{
    QList<qint64> tree{root};
    const QStringList all = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (qsizetype index = 0; index < tree.size(); ++index)
        for (const QString &entry : all)
            if (entry.toLongLong() && stat(entry.toLongLong()).value(1).toLongLong() == tree.at(index))
                tree << entry.toLongLong();
    return tree;
}

bool isRunning(qint64 pid) // a zombie has ended; only its parent's wait is missing
{
    const QList<QByteArray> fields = stat(pid);
    return !fields.isEmpty() && fields.first() != "Z";
}

void press(GameFixture &game, const char *button)
{
    QTest::mouseClick(game.forms->menu()->findChild<QPushButton *>(button), Qt::LeftButton);
}

// Opens the menu over the table, with the browser program of this build, once.
void openHomePage(GameFixture &game)
{
    if (!game.forms->menu()->isVisible()) {
        game.forms->browser()->setProgram(QStringLiteral(MARIGOLD_BROWSER));
        game.click("cmdMenu");
    }
    QSignalSpy captions(game.forms->browser(), &BrowserProcess::captionChanged);
    press(game, "cmdWeb");
    QTRY_VERIFY_WITH_TIMEOUT(!captions.isEmpty()
                                 && captions.last().first() == "Marigold - a patience card game",
                             StartTimeoutMs);
}

} // namespace

class tst_BrowserProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void webButtonOpensTheHomePageOnceWithoutTheEngineInTheGame();
    void browserEndingOpensAfreshAndGameEndLeavesNoneBehind_data();
    void browserEndingOpensAfreshAndGameEndLeavesNoneBehind();
    void missingBrowserIsReportedAndTheGamePlaysOn();
    void browserClosesWhenTheGameIsGone();
};

void tst_BrowserProcess::webButtonOpensTheHomePageOnceWithoutTheEngineInTheGame()
{
    QVERIFY(!mapsWebEngine());
    GameFixture game;
    openHomePage(game);
    BrowserProcess *browser = game.forms->browser();
    QVERIFY(game.forms->menu()->isVisible());
    QVERIFY(game.prompts.messages.isEmpty());
    // A second press only brings the open window into view: no new process, no new page.
    const qint64 pid = browser->processId();
    QSignalSpy shown(browser, &BrowserProcess::shown);
    QSignalSpy captions(browser, &BrowserProcess::captionChanged);
    press(game, "cmdWeb");
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 1, StartTimeoutMs);
    QCOMPARE(browser->processId(), pid);
    QCOMPARE(captions.size(), 0);
    QVERIFY(!mapsWebEngine());
}

void tst_BrowserProcess::browserEndingOpensAfreshAndGameEndLeavesNoneBehind_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("messages");
    // SIGTERM closes the window as its close box does.
    QTest::newRow("closed like its close box; the game ends by Exit") << int(SIGTERM) << 0;
    QTest::newRow("killed; the game's windows are destroyed") << int(SIGKILL) << 1;
}

void tst_BrowserProcess::browserEndingOpensAfreshAndGameEndLeavesNoneBehind()
{
    QFETCH(int, signal);
    QFETCH(int, messages);
    GameFixture game;
    openHomePage(game);
    BrowserProcess *browser = game.forms->browser();
    const qint64 first = browser->processId();
    QSignalSpy closed(browser, &BrowserProcess::closed);
    ::kill(pid_t(first), signal);
    QTRY_COMPARE_WITH_TIMEOUT(closed.size(), 1, StartTimeoutMs);
    QVERIFY(!browser->isOpen());
    QCOMPARE(game.prompts.messages.size(), messages);
    openHomePage(game); // the next press opens the browser afresh
    QVERIFY(browser->processId() != first);
    QCOMPARE(game.prompts.messages.size(), messages);
    const QList<qint64> tree = processTree(browser->processId());
    QVERIFY2(tree.size() > 1, "the web engine's helper processes were not found");
    press(game, "cmdClose");
    if (signal == SIGKILL) { // the game plays on
        game.click("cmdDeal");
        QVERIFY(game.button("cmdTake")->isVisible());
        game.forms.reset();
    } else {
        game.click("cmdExit");
    }
    for (qint64 pid : tree)
        QTRY_VERIFY2_WITH_TIMEOUT(!isRunning(pid), qPrintable(QString::number(pid)), StartTimeoutMs);
    QCOMPARE(game.prompts.messages.size(), messages);
}

void tst_BrowserProcess::missingBrowserIsReportedAndTheGamePlaysOn()
{
    GameFixture game;
    game.click("cmdMenu");
    game.forms->browser()->setProgram(QDir(game.dir.path()).filePath(QStringLiteral("no-browser")));
    press(game, "cmdWeb");
    QTRY_COMPARE(game.prompts.messages.size(), 1);
    QVERIFY(game.prompts.messages.first().contains(QLatin1String("could not be started")));
    press(game, "cmdWeb"); // the next press tries again
    QTRY_COMPARE(game.prompts.messages.size(), 2);
}

void tst_BrowserProcess::browserClosesWhenTheGameIsGone()
{
    // A game killed outright closes nothing; its end of the browser's input closes with it.
    QProcess browser;
    browser.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    browser.start(QStringLiteral(MARIGOLD_BROWSER), {QStringLiteral("--game-channel")});
    QByteArray reports;
    QTRY_VERIFY_WITH_TIMEOUT((reports += browser.readAll()).contains("ready\n"), StartTimeoutMs);
    browser.closeWriteChannel();
    QVERIFY(browser.waitForFinished(StartTimeoutMs));
    QCOMPARE(browser.exitStatus(), QProcess::NormalExit);
}

QTEST_MAIN(tst_BrowserProcess)
#include "tst_browserprocess.moc"
