// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/gamefixture.h"
#include "support/userinput.h"

#include "windows/browserprocess.h"
#include "windows/frmmenu.h"

#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <csignal>

namespace {
constexpr int StartTimeoutMs = 30000;

bool press(GameFixture &game, const char *button)
{
    return UserInput::click(game.forms->menu()->findChild<QPushButton *>(button));
}
} // namespace

class tst_BrowserProcess : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void webButtonOpensTheHomePageOnceAndAfreshOnceEnded()
    {
        GameFixture game;
        BrowserProcess *browser = game.forms->browser();
        browser->setProgram(QStringLiteral(MARIGOLD_BROWSER));
        QSignalSpy captions(browser, &BrowserProcess::captionChanged), shown(browser, &BrowserProcess::shown);
        const auto openHomePage = [&] {
            captions.clear();
            QVERIFY(press(game, "cmdWeb"));
            const QString home = QStringLiteral("Marigold - a patience card game");
            QTRY_VERIFY_WITH_TIMEOUT(!captions.isEmpty() && captions.last().first() == home, StartTimeoutMs);
        };
        QVERIFY(game.click("cmdMenu"));
        openHomePage();
        // A second press only brings the open window into view: no new process, no new page.
        const qint64 first = browser->processId();
        captions.clear();
        QVERIFY(press(game, "cmdWeb"));
        QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 1, StartTimeoutMs);
        QCOMPARE(browser->processId(), first);
        QCOMPARE(captions.size(), 0);
        ::kill(pid_t(first), SIGTERM); // as its close box does
        QTRY_VERIFY_WITH_TIMEOUT(!browser->isOpen(), StartTimeoutMs);
        openHomePage();
        QVERIFY(game.prompts.messages.isEmpty());
        ::kill(pid_t(browser->processId()), SIGKILL); // a crash is told, and the next press starts afresh
        QTRY_VERIFY_WITH_TIMEOUT(game.prompts.messages.size() == 1
                                     && game.prompts.messages.first().contains(QLatin1String("closed unexpectedly")),
                                 StartTimeoutMs);
        openHomePage();
        const qint64 second = browser->processId();
        QVERIFY(press(game, "cmdClose") && game.click("cmdExit"));
        QCOMPARE(::kill(pid_t(second), 0), -1); // gone, and waited for
        QFile maps(QStringLiteral("/proc/self/maps")); // the game itself never loads the web engine
        QVERIFY(maps.open(QIODevice::ReadOnly) && !maps.readAll().contains("libQt6WebEngine"));
    }

    void missingBrowserIsReportedAtEachPressAndTheGamePlaysOn()
    {
        GameFixture game;
        game.forms->browser()->setProgram(QDir(game.dir.path()).filePath(QStringLiteral("no-browser")));
        QVERIFY(game.click("cmdMenu"));
        for (int presses = 1; presses <= 2; ++presses) { // each press tries again
            QVERIFY(press(game, "cmdWeb"));
            QTRY_COMPARE(game.prompts.messages.size(), presses);
        }
        QVERIFY(game.prompts.messages.last().contains(QLatin1String("could not be started")));
        QVERIFY(press(game, "cmdClose") && game.click("cmdDeal") && game.button("cmdTake")->isVisible());
    }

    void browserClosesWhenTheGameIsGone()
    {
        QProcess browser; // a game killed outright closes nothing; the end of the browser's input closes it
        browser.setStandardInputFile(QProcess::nullDevice());
        browser.start(QStringLiteral(MARIGOLD_BROWSER), {QStringLiteral("--game-channel")});
        QVERIFY(browser.waitForFinished(StartTimeoutMs) && browser.exitStatus() == QProcess::NormalExit);
        QVERIFY(browser.readAllStandardOutput().startsWith("ready\n"));
    }
};

QTEST_MAIN(tst_BrowserProcess)
#include "tst_browserprocess.moc"
