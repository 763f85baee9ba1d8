// SPDX-License-Identifier: GPL-3.0-or-later
// The built programs on a real X server under a real window manager, driven from outside by
// real key presses and clicks: what stays above what, where the keyboard focus goes back to,
// and the browser's address box.
#include "support/desktopsession.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

using WindowId = DesktopSession::WindowId;

// Places of controls in their windows' client areas, as the windows lay them out.
const QHash<QString, QRect> Controls = {
    {"table cmdMenu", {248, 16, 73, 33}},      {"table cmdScores", {248, 56, 73, 33}},
    {"table cmdDeal", {128, 288, 73, 33}},     {"table cmdTake", {416, 304, 105, 49}},
    {"table stock", {208, 352, 75, 100}},      {"Menu cmdCredits", {8, 16, 81, 33}},
    {"Menu cmdInst", {105, 16, 81, 33}},       {"Menu cmdAbout", {202, 16, 81, 33}},
    {"Menu cmdBacks", {105, 64, 81, 33}},      {"Menu cmdClose", {202, 64, 81, 33}},
    {"Instructions Command1", {8, 168, 81, 33}}, {"About Marigold cmdOK", {283, 175, 84, 23}},
    {"Change Cardbacks cmdCancel", {56, 128, 81, 33}},
    {"High Scores cmdOkay", {120, 240, 49, 33}}, {"High Scores cmdClear", {216, 240, 49, 33}},
};

// Every page is one link to /marker, titled after its path; /to-x sends on to /x. Every path
// asked for is written down.
class PageServer : public QTcpServer
{
public:
    PageServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    if (!socket->canReadLine()) // the request line is all this server needs
                        return;
                    QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
                    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                    const QByteArray path = socket->readLine().split(' ').value(1);
                    requests.append(QString::fromLatin1(path));
                    socket->write(path.startsWith("/to-")
                        ? "HTTP/1.0 302 Found\r\nLocation: /" + path.mid(4) + "\r\nConnection: close\r\n\r\n"
                        : "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n\r\n<html><head><title>"
                            + path.mid(1) + "</title></head><body style='margin:0'><a href='/marker' "
                            "style='display:block;height:2000px'>" + path.mid(1) + "</a></body></html>");
                    socket->disconnectFromHost();
                });
        });
    }
    QString address(const QString &path) const
    {
        return QString("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
    }
    QStringList requests;
};

} // namespace

class tst_Desktop : public QObject
{
    Q_OBJECT
    DesktopSession m_desktop;
    std::unique_ptr<QTemporaryDir> m_records;
    QProcess *m_game = nullptr;
    WindowId m_table = 0;
    QHash<QString, WindowId> m_windows; // by title; "" is a message box titled as the table

    // A game of its own in a fresh records folder, its table on screen and active.
    bool startGame()
    {
        m_records = std::make_unique<QTemporaryDir>();
        m_game = m_desktop.launch(MARIGOLD_PROGRAM, {}, m_records->path());
        m_table = m_desktop.waitForWindow("^Marigold$", m_game->processId());
        m_windows = {{"table", m_table}};
        return m_table && becomesActive(m_table);
    }

    bool becomesActive(WindowId window)
    {
        if (DesktopSession::waitUntil([&] { return m_desktop.activeWindow() == window; }))
            return true;
        qWarning("%s is active", qPrintable(m_desktop.title(m_desktop.activeWindow())));
        return false;
    }

    // Clicks the middle of a control named "window control".
    bool click(const QString &control)
    {
        const WindowId window = m_windows.value(control.section(' ', 0, -2));
        return window && m_desktop.click(window, Controls.value(control));
    }

    WindowId waitForGameWindow(const QString &title, int timeoutMs = 15000)
    {
        WindowId &found = m_windows[title] = 0;
        DesktopSession::waitUntil([&] {
            for (WindowId window : m_desktop.findWindows(QString("^%1$").arg(title.isEmpty() ? "Marigold" : title),
                                                          m_game->processId()))
                found = window == m_table ? found : window;
            return found != 0;
        }, timeoutMs);
        return found;
    }

    // A click on the disabled table must not bury the window that disabled it nor keep the keyboard.
    bool staysAboveTheTable(WindowId window)
    {
        if (click("table stock") && m_desktop.settleWindowManager() && m_desktop.isAbove(window, m_table)
            && m_desktop.isViewable(window))
            return becomesActive(window);
        qWarning("the table came up over the window");
        return false;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("import").isEmpty()) { // the game's end is seen on the pixels
            std::printf("SKIPPED: not installed: import (Debian package imagemagick)\n");
            std::fflush(stdout);
            QSKIP("import is not installed");
        }
        DESKTOPSESSION_START_OR_SKIP(m_desktop, DesktopSession::WindowManager::Openbox);
    }

    void cleanup()
    {
        m_desktop.stop(std::exchange(m_game, nullptr));
        m_records.reset();
    }

    void secondaryWindowsStayAboveAndGiveTheFocusBack_data()
    {
        // Clicks ("window control") and windows waited for ("=title") on the way to the window; how it
        // is left; the window active after, where a Space opens it again.
        QTest::addColumn<QStringList>("way");
        QTest::addColumn<QString>("leave");
        QTest::addColumn<QString>("back");
        const QStringList menu{"table cmdMenu", "=Menu"}, scores{"table cmdScores", "=High Scores"};
        const auto fromMenu = [&](const QString &button, const QString &title) {
            return menu + QStringList{"Menu " + button, '=' + title};
        };
        const auto row = [](const char *name, const QStringList &way, const char *leave, const char *back) {
            QTest::newRow(name) << way << QString(leave) << QString(back);
        };
        row("Escape in the menu: the table's Menu button", menu, "Escape", "table");
        row("Close in the menu: the table's Menu button", menu, "Menu cmdClose", "table");
        row("Escape in credits: the menu's Credits button", fromMenu("cmdCredits", "Credits"), "Escape", "Menu");
        row("OK in the instructions: the menu's Instructions button", fromMenu("cmdInst", "Instructions"),
            "Instructions Command1", "Menu");
        row("Escape in the about box: the menu's About button", fromMenu("cmdAbout", "About Marigold"), "Escape",
            "Menu");
        row("OK in the about box: the menu's About button", fromMenu("cmdAbout", "About Marigold"),
            "About Marigold cmdOK", "Menu");
        row("Escape in the card backs: the menu's Change Cardbacks button", fromMenu("cmdBacks", "Change Cardbacks"),
            "Escape", "Menu");
        row("Cancel in the card backs: the menu's Change Cardbacks button", fromMenu("cmdBacks", "Change Cardbacks"),
            "Change Cardbacks cmdCancel", "Menu");
        row("Escape in the high scores: the table's High Scores button", scores, "Escape", "table");
        row("OK in the high scores: the table's High Scores button", scores, "High Scores cmdOkay", "table");
        row("No to the Clear question: the Clear button", scores + QStringList{"High Scores cmdClear", "="}, "Escape",
            "High Scores");
    }

    void secondaryWindowsStayAboveAndGiveTheFocusBack()
    {
        QFETCH(QStringList, way);
        QFETCH(QString, leave);
        QFETCH(QString, back);
        QVERIFY(startGame());
        for (const QString &step : way)
            QVERIFY2(step.startsWith('=') ? waitForGameWindow(step.mid(1)) : click(step), qPrintable(step));
        const QString title = way.last().mid(1);
        const WindowId window = m_windows.value(title);
        // Each belongs to the window it gives the focus back to, but the menu steps aside for its own.
        QCOMPARE(m_desktop.transientFor(window), m_windows.value(back == "Menu" ? "table" : back));
        QVERIFY(staysAboveTheTable(window));
        QVERIFY(leave.contains(' ') ? click(leave) : m_desktop.key(leave));
        QVERIFY(DesktopSession::waitUntil([&] { return !m_desktop.isViewable(window); }));
        QVERIFY(becomesActive(m_windows.value(back)) && m_desktop.key("space"));
        QVERIFY2(waitForGameWindow(title, 5000), "Space pressed nothing that opens the window again");
    }

    // A game to its end as a player plays it; afterwards the keyboard is back on the table's buttons.
    void aGameEndsInWindowsThatStayAboveTheTable()
    {
        QVERIFY(startGame());
        const QPoint take = Controls.value("table cmdTake").center();
        const auto takeShown = [&] { return m_desktop.pixel(m_table, take) != QColor(0, 0, 255); };
        QVERIFY(click("table cmdDeal"));
        for (int round = 1; round <= 2; ++round) {
            // The second deal follows the first round's count-up of up to 60 steps in real time,
            // which a busy machine stretches well past the usual wait.
            QVERIFY(DesktopSession::waitUntil(takeShown, 60000));
            QVERIFY(click("table cmdTake"));
            QVERIFY(DesktopSession::waitUntil([&] { return !takeShown(); })); // while the bonus counts up
        }
        const WindowId prompt = waitForGameWindow("High Score!!", 30000);
        QVERIFY(prompt);
        QCOMPARE(m_desktop.transientFor(prompt), m_table);
        QVERIFY(staysAboveTheTable(prompt));
        QVERIFY(m_desktop.type("Tester") && m_desktop.key("Return"));
        const WindowId scores = waitForGameWindow("High Scores");
        QCOMPARE(m_desktop.transientFor(scores), m_table);
        QVERIFY(becomesActive(scores) && m_desktop.key("Escape") && becomesActive(m_table));
        // Two Tabs on from Deal is Menu. The last round's open cards still react, and Escape from
        // the menu must not leave the focus on one.
        QVERIFY(m_desktop.key("Tab Tab space"));
        QVERIFY(becomesActive(waitForGameWindow("Menu")) && m_desktop.key("Escape"));
        QVERIFY(becomesActive(m_table) && m_desktop.key("space"));
        QVERIFY2(waitForGameWindow("Menu", 5000), "Space on the table opened no menu");
    }

    void theAddressBoxNavigatesOnlyOnReturn_data()
    {
        // What is typed in the box, the key that leaves it, the page shown after. The start address
        // /to-one is sent on to /one, so the box's list holds both.
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("leave");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Return after a typed address goes there once") << "/two" << "Return" << "two";
        QTest::newRow("Tab away from an entry of the list goes nowhere") << "/to-one" << "Tab" << "one";
    }

    void theAddressBoxNavigatesOnlyOnReturn()
    {
#ifndef MARIGOLD_BROWSER
        QSKIP("the browser is not built");
#else
        QFETCH(QString, typed);
        QFETCH(QString, leave);
        QFETCH(QString, shown);
        PageServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        QProcess *browser = m_desktop.launch(MARIGOLD_BROWSER, {server.address("/to-one")});
        const WindowId window = m_desktop.waitForWindow("^one$", browser->processId(), 30000);
        QVERIFY(window);
        QVERIFY(m_desktop.key("alt+a ctrl+a")); // Alt+A puts the focus on the box itself
        QVERIFY(m_desktop.type(server.address(typed)) && m_desktop.key(leave));
        const auto showing = [&](const QString &title) {
            return DesktopSession::waitUntil([&] { return m_desktop.title(window) == title; }, 10000);
        };
        QVERIFY2(showing(shown), qPrintable(server.requests.join(' ')));
        // A click on the page's link is the next navigation; any the key started came first.
        QVERIFY(m_desktop.click(window, QRect(100, 200, 10, 10)) && showing("marker"));
        QCOMPARE(server.requests.filter(typed).size(), 1);
        m_desktop.stop(browser);
#endif
    }
};

QTEST_GUILESS_MAIN(tst_Desktop)
#include "tst_desktop.moc"
