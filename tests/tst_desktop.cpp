// SPDX-License-Identifier: GPL-3.0-or-later
// The built programs on a real X server under a real window manager, driven from outside
// by real key presses and clicks, as a player meets them: what stays above what, where
// the keyboard focus goes back to, and the browser's address box.
#include "support/desktopsession.h"

#include <QColor>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>

namespace {

using WindowId = DesktopSession::WindowId;

// Places of controls in their windows' client areas, as the windows lay them out.
const QHash<QString, QRect> Controls = {
    {"table cmdMenu", {248, 16, 73, 33}},      {"table cmdScores", {248, 56, 73, 33}},
    {"table cmdDeal", {128, 288, 73, 33}},     {"table cmdTake", {416, 304, 105, 49}},
    {"table stock", {208, 352, 75, 100}},      {"Menu cmdCredits", {8, 16, 81, 33}},
    {"Menu cmdInst", {105, 16, 81, 33}},       {"Menu cmdAbout", {202, 16, 81, 33}},
    {"Menu cmdBacks", {105, 64, 81, 33}},      {"Menu cmdClose", {202, 64, 81, 33}},
    {"Credits Command1", {112, 224, 81, 33}},  {"Instructions Command1", {8, 168, 81, 33}},
    {"About Marigold cmdOK", {283, 175, 84, 23}},
    {"Change Cardbacks cmdCancel", {56, 128, 81, 33}},
    {"High Scores cmdOkay", {120, 240, 49, 33}}, {"High Scores cmdClear", {216, 240, 49, 33}},
};

// A web server of the test's own: every page is titled after its path, and every path
// asked for is written down.
class PageServer : public QObject
{
public:
    PageServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
        });
    }

    bool listen() { return m_server.listen(QHostAddress::LocalHost); }
    QString address(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }

    QStringList requests;

private:
    // Answers the request line; the headers after it say nothing this server needs.
    void answer(QTcpSocket *socket)
    {
        if (!socket->canReadLine())
            return;
        QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        const QList<QByteArray> request = socket->readLine().split(' ');
        const QByteArray path = request.value(1);
        requests.append(QString::fromLatin1(path));
        if (path.startsWith("/to-")) {
            socket->write("HTTP/1.0 302 Found\r\nLocation: /" + path.mid(4)
                          + "\r\nConnection: close\r\n\r\n");
        } else {
            // The whole page is one link to /marker.
            const QByteArray title = path.mid(1);
            socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n\r\n"
                          "<html><head><title>" + title + "</title></head><body style='margin:0'>"
                          "<a href='/marker' style='display:block;height:2000px'>" + title
                          + "</a></body></html>");
        }
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
};

} // namespace

class tst_Desktop : public QObject
{
    Q_OBJECT
    std::unique_ptr<DesktopSession> m_desktop;
    std::unique_ptr<QTemporaryDir> m_records;
    QProcess *m_game = nullptr;
    WindowId m_table = 0;
    QHash<QString, WindowId> m_windows;

    // A game of its own in a fresh records folder, its table on screen and active.
    bool startGame()
    {
        m_records = std::make_unique<QTemporaryDir>();
        m_game = m_desktop->launch(QStringLiteral(MARIGOLD_PROGRAM), {}, m_records->path());
        m_table = m_desktop->waitForWindow(QStringLiteral("^Marigold$"), m_game->processId());
        m_windows = {{QStringLiteral("table"), m_table}};
        return m_table && DesktopSession::waitUntil([this] { return m_desktop->activeWindow() == m_table; });
    }

    // Clicks the middle of a control, "window control".
    bool click(const QString &control)
    {
        const QString window = control.section(QLatin1Char(' '), 0, -2);
        return m_windows.value(window) && m_desktop->click(m_windows.value(window), Controls.value(control));
    }

    // Waits for the game's window of this title to be on screen; an empty title means
    // its next window titled as the table is (a message box).
    WindowId waitForGameWindow(const QString &title, int timeoutMs = 15000)
    {
        WindowId found = 0;
        DesktopSession::waitUntil([&] {
            const QString pattern = title.isEmpty() ? QStringLiteral("^Marigold$")
                                                    : QLatin1Char('^') + title + QLatin1Char('$');
            for (WindowId window : m_desktop->findWindows(pattern, m_game->processId())) {
                if (window != m_table)
                    found = window;
            }
            return found != 0;
        }, timeoutMs);
        m_windows.insert(title.isEmpty() ? QStringLiteral("box") : title, found);
        return found;
    }

    // The window a way ends in, by the name it was waited for under.
    WindowId windowAtEnd(const QStringList &way) const
    {
        const QString title = way.last().mid(1);
        return m_windows.value(title.isEmpty() ? QStringLiteral("box") : title);
    }

    // Runs a way there: a click ("window control") or a window to wait for ("=title").
    bool follow(const QStringList &steps)
    {
        for (const QString &step : steps) {
            const bool ok = step.startsWith(QLatin1Char('=')) ? waitForGameWindow(step.mid(1)) != 0
                                                               : click(step);
            if (!ok) {
                qWarning("step failed: %s", qPrintable(step));
                return false;
            }
        }
        return true;
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The game's end is seen on the screen's pixels.
        if (QStandardPaths::findExecutable(QStringLiteral("import")).isEmpty()) {
            std::printf("SKIPPED: not installed: import (Debian package imagemagick)\n");
            std::fflush(stdout);
            QSKIP("import is not installed");
        }
        m_desktop = std::make_unique<DesktopSession>();
        DESKTOPSESSION_START_OR_SKIP(*m_desktop, DesktopSession::WindowManager::Openbox);
    }

    void cleanup()
    {
        if (m_game)
            m_desktop->stop(m_game);
        m_game = nullptr;
        m_records.reset();
    }

    void cleanupTestCase() { m_desktop.reset(); }

    void secondaryWindowsStayAboveTheTable_data()
    {
        // The way to the window, ending with the window; the window it belongs to.
        QTest::addColumn<QStringList>("way");
        QTest::addColumn<QString>("owner");
        QTest::newRow("the menu") << QStringList{"table cmdMenu", "=Menu"} << "table";
        for (const auto &[button, title] : {std::pair{"cmdCredits", "Credits"},
                                            {"cmdInst", "Instructions"},
                                            {"cmdAbout", "About Marigold"},
                                            {"cmdBacks", "Change Cardbacks"}}) {
            // The menu steps aside for these, so they stay with the table.
            QTest::addRow("%s, opened from the menu", title)
                << QStringList{"table cmdMenu", "=Menu", QStringLiteral("Menu ") + button,
                               QLatin1Char('=') + QLatin1String(title)}
                << "table";
        }
        QTest::newRow("the high scores") << QStringList{"table cmdScores", "=High Scores"} << "table";
        QTest::newRow("the Clear question over the high scores")
            << QStringList{"table cmdScores", "=High Scores", "High Scores cmdClear", "="}
            << "High Scores";
    }

    // One click on the disabled table must not bury the window that disabled it.
    void secondaryWindowsStayAboveTheTable()
    {
        QFETCH(QStringList, way);
        QFETCH(QString, owner);
        QVERIFY(startGame());
        QVERIFY(follow(way));
        const WindowId window = windowAtEnd(way);
        QCOMPARE(m_desktop->transientFor(window), m_windows.value(owner));
        QVERIFY(click(QStringLiteral("table stock")));
        QVERIFY(m_desktop->settleWindowManager());
        QVERIFY2(m_desktop->isAbove(window, m_table), "the table came up over the window");
        QVERIFY(m_desktop->isViewable(window));
        // The click made the table active; the window takes the keyboard back from it.
        QVERIFY2(DesktopSession::waitUntil([&] { return m_desktop->activeWindow() == window; }),
                 qPrintable(m_desktop->title(m_desktop->activeWindow()) + " is active"));
    }

    void focusGoesBackToTheControlThatOpenedTheWindow_data()
    {
        // The way to the window; how it is left; the window that is active after; the
        // window a Space there opens again, which proves where the focus is.
        QTest::addColumn<QStringList>("way");
        QTest::addColumn<QString>("leave");
        QTest::addColumn<QString>("back");
        QTest::addColumn<QString>("again");
        const QStringList menu{"table cmdMenu", "=Menu"};
        QTest::newRow("Escape in the menu: the table's Menu button")
            << menu << "Escape" << "table" << "Menu";
        QTest::newRow("Close in the menu: the table's Menu button")
            << menu << "Menu cmdClose" << "table" << "Menu";
        QTest::newRow("Escape in credits: the menu's Credits button")
            << menu + QStringList{"Menu cmdCredits", "=Credits"} << "Escape" << "Menu" << "Credits";
        QTest::newRow("OK in the instructions: the menu's Instructions button")
            << menu + QStringList{"Menu cmdInst", "=Instructions"} << "Instructions Command1"
            << "Menu" << "Instructions";
        QTest::newRow("Escape in the about box: the menu's About button")
            << menu + QStringList{"Menu cmdAbout", "=About Marigold"} << "Escape" << "Menu"
            << "About Marigold";
        QTest::newRow("OK in the about box: the menu's About button")
            << menu + QStringList{"Menu cmdAbout", "=About Marigold"} << "About Marigold cmdOK"
            << "Menu" << "About Marigold";
        QTest::newRow("Escape in the card backs: the menu's Change Cardbacks button")
            << menu + QStringList{"Menu cmdBacks", "=Change Cardbacks"} << "Escape" << "Menu"
            << "Change Cardbacks";
        QTest::newRow("Cancel in the card backs: the menu's Change Cardbacks button")
            << menu + QStringList{"Menu cmdBacks", "=Change Cardbacks"}
            << "Change Cardbacks cmdCancel" << "Menu" << "Change Cardbacks";
        const QStringList scores{"table cmdScores", "=High Scores"};
        QTest::newRow("Escape in the high scores: the table's High Scores button")
            << scores << "Escape" << "table" << "High Scores";
        QTest::newRow("OK in the high scores: the table's High Scores button")
            << scores << "High Scores cmdOkay" << "table" << "High Scores";
        QTest::newRow("No to the Clear question: the Clear button")
            << scores + QStringList{"High Scores cmdClear", "="} << "Escape" << "High Scores" << "";
    }

    void focusGoesBackToTheControlThatOpenedTheWindow()
    {
        QFETCH(QStringList, way);
        QFETCH(QString, leave);
        QFETCH(QString, back);
        QFETCH(QString, again);
        QVERIFY(startGame());
        QVERIFY(follow(way));
        const WindowId window = windowAtEnd(way);
        QVERIFY(leave.contains(QLatin1Char(' ')) ? click(leave) : m_desktop->key(leave));
        QVERIFY(DesktopSession::waitUntil([&] { return !m_desktop->isViewable(window); }));
        QVERIFY2(DesktopSession::waitUntil([&] { return m_desktop->activeWindow() == m_windows.value(back); }),
                 qPrintable(m_desktop->title(m_desktop->activeWindow()) + " is active"));
        QVERIFY(m_desktop->key(QStringLiteral("space")));
        QVERIFY2(waitForGameWindow(again, 5000), "Space pressed nothing that opens the window again");
    }

    // A game to its end, as a player plays it: the name prompt and the high scores stand
    // above the table, and afterwards the keyboard is back on the table's buttons.
    void aGameEndsInWindowsThatStayAboveTheTable()
    {
        QVERIFY(startGame());
        const QPoint take = Controls.value("table cmdTake").center();
        const auto takeShown = [&] { return m_desktop->pixel(m_table, take) != QColor(0, 0, 255); };
        QVERIFY(click("table cmdDeal"));
        for (int round = 1; round <= 2; ++round) {
            // The second deal follows the first round's count-up of up to 60 steps in real
            // time, which a busy machine stretches well past the usual wait.
            QVERIFY(DesktopSession::waitUntil(takeShown, 60000));
            QVERIFY(click("table cmdTake"));
            // The button goes while the time bonus counts up, and comes back with the next deal.
            QVERIFY(DesktopSession::waitUntil([&] { return !takeShown(); }));
        }
        const WindowId prompt = waitForGameWindow("High Score!!", 30000);
        QVERIFY(prompt);
        QCOMPARE(m_desktop->transientFor(prompt), m_table);
        QVERIFY(click("table stock"));
        QVERIFY(m_desktop->settleWindowManager());
        QVERIFY(m_desktop->isAbove(prompt, m_table));
        QVERIFY(DesktopSession::waitUntil([&] { return m_desktop->activeWindow() == prompt; }));
        QVERIFY(m_desktop->type("Tester"));
        QVERIFY(m_desktop->key("Return"));
        const WindowId scores = waitForGameWindow("High Scores");
        QCOMPARE(m_desktop->transientFor(scores), m_table);
        QVERIFY(DesktopSession::waitUntil([&] { return m_desktop->activeWindow() == scores; }));
        QVERIFY(m_desktop->key("Escape"));
        QVERIFY(DesktopSession::waitUntil([&] { return m_desktop->activeWindow() == m_table; }));
        // The focus is on Deal, the first button; two Tabs on is Menu. The open cards of the
        // last round still react, and Escape from the menu must not leave the focus on one.
        QVERIFY(m_desktop->key("Tab Tab space"));
        const WindowId menu = waitForGameWindow("Menu");
        QVERIFY(menu);
        QVERIFY(DesktopSession::waitUntil([&] { return m_desktop->activeWindow() == menu; }));
        QVERIFY(m_desktop->key("Escape"));
        QVERIFY(DesktopSession::waitUntil([&] { return m_desktop->activeWindow() == m_table; }));
        QVERIFY(m_desktop->key("space"));
        QVERIFY2(waitForGameWindow("Menu", 5000), "Space on the table opened no menu");
    }

    void typedAddressAndReturnNavigate()
    {
#ifndef MARIGOLD_BROWSER
        QSKIP("the browser is not built");
#else
        PageServer server;
        QVERIFY(server.listen());
        QProcess *browser = m_desktop->launch(QStringLiteral(MARIGOLD_BROWSER), {server.address("/one")});
        const WindowId window = m_desktop->waitForWindow(QStringLiteral("^one$"), browser->processId(), 30000);
        QVERIFY(window);
        // Alt+A goes to the address box, as its label says; the focus is on the box itself.
        QVERIFY(m_desktop->key(QStringLiteral("alt+a ctrl+a")));
        QVERIFY(m_desktop->type(server.address("/two")));
        QVERIFY(m_desktop->key(QStringLiteral("Return")));
        QVERIFY2(DesktopSession::waitUntil([&] { return m_desktop->title(window) == QLatin1String("two"); }, 10000),
                 qPrintable(server.requests.join(' ')));
        m_desktop->stop(browser);
#endif
    }

    void leavingTheAddressBoxGoesNowhere()
    {
#ifndef MARIGOLD_BROWSER
        QSKIP("the browser is not built");
#else
        PageServer server;
        QVERIFY(server.listen());
        // The start address is sent on to /one, so the list holds both, /one first.
        QProcess *browser = m_desktop->launch(QStringLiteral(MARIGOLD_BROWSER), {server.address("/to-one")});
        const WindowId window = m_desktop->waitForWindow(QStringLiteral("^one$"), browser->processId(), 30000);
        QVERIFY(window);
        // The other entry of the list, typed in full, and Tab away from the box.
        QVERIFY(m_desktop->key(QStringLiteral("alt+a ctrl+a")));
        QVERIFY(m_desktop->type(server.address("/to-one")));
        QVERIFY(m_desktop->key(QStringLiteral("Tab")));
        // A click on the page's link is the next navigation; any the Tab started came first.
        QVERIFY(m_desktop->click(window, QRect(100, 200, 10, 10)));
        QVERIFY(DesktopSession::waitUntil([&] { return m_desktop->title(window) == QLatin1String("marker"); }, 10000));
        QCOMPARE(server.requests.filter(QStringLiteral("/to-one")).size(), 1);
        m_desktop->stop(browser);
#endif
    }
};

QTEST_GUILESS_MAIN(tst_Desktop)
#include "tst_desktop.moc"
