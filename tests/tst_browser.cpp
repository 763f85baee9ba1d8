// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fakewebbrowser.h"
#include "support/userinput.h"
#include "browser/frmbrowser.h"
#include "browser/webenginebrowser.h"
#include "platform/webaddresses.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {

constexpr int LoadTimeoutMs = 30000;
const QString FirstAddress = QStringLiteral("http://example.org/a");
const QString SecondAddress = QStringLiteral("http://example.org/b");

// Keys, each with its modifiers, as a person presses them.
using Keys = QList<QKeyCombination>;

bool pressKeys(const Keys &keys)
{
    for (QKeyCombination combination : keys) {
        if (!UserInput::press(combination.key(), combination.keyboardModifiers()))
            return false;
    }
    return true;
}

// Alt+A, as the address label offers, then the box's text replaced by typing.
bool typeAddress(const QString &address)
{
    return pressKeys({Qt::AltModifier | Qt::Key_A, Qt::ControlModifier | Qt::Key_A})
        && UserInput::type(address);
}

bool showActive(QWidget &window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

} // namespace

class tst_Browser : public QObject
{
    Q_OBJECT
    QTcpServer m_server;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_server.listen(QHostAddress::LocalHost));
        // The test's own web server answers every request with the same page, half a second
        // late, so that each load is seen under way.
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *socket = m_server.nextPendingConnection();
            QTimer::singleShot(500, socket, [socket] {
                socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<title>Page</title>");
                socket->disconnectFromHost();
            });
        });
    }

    // On the real engine: a page typed in shows "Working..." until it is in, then its title,
    // and goes to the top of the address list without a copy.
    void typedPagesShowWorkingAndListMostRecentFirst()
    {
        const QString site = QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
        frmBrowser window(new WebEngineBrowser);
        QVERIFY(showActive(window));
        for (const char *path : {"/a", "/b", "/a"}) {
            QVERIFY(typeAddress(site + QLatin1String(path)));
            QVERIFY(UserInput::press(Qt::Key_Return));
            QTRY_COMPARE(window.windowTitle(), QStringLiteral("Working..."));
            QTRY_COMPARE_WITH_TIMEOUT(window.windowTitle(), QStringLiteral("Page"), LoadTimeoutMs);
        }
        QComboBox *box = window.findChild<QComboBox *>(QStringLiteral("cboAddress"));
        QCOMPARE(box->count(), 2);
        QCOMPARE(box->itemText(0), site + QStringLiteral("/a"));
        QCOMPARE(box->itemText(1), site + QStringLiteral("/b"));
    }

    void eachToolbarButtonDoesItsOwnThing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("call");
        const QStringList buttons{"Back", "Forward", "Stop", "Refresh", "Home", "Search"};
        const QStringList calls{"GoBack", "GoForward", "Stop", "Refresh", "GoHome", "GoSearch"};
        for (int index = 0; index < buttons.size(); ++index)
            QTest::newRow(qPrintable(buttons[index])) << buttons[index] << calls[index];
    }
    void eachToolbarButtonDoesItsOwnThing()
    {
        QFETCH(QString, button);
        QFETCH(QString, call);
        auto *page = new FakeWebBrowser;
        page->busy = true; // loading, so the caption's timer runs until it is stopped
        frmBrowser window(page);
        QVERIFY(showActive(window));
        page->calls.clear();
        QVERIFY(UserInput::click(window.findChild<QToolBar *>()->findChild<QWidget *>(button)));
        QCOMPARE(page->calls, QStringList{call});
        // Every button starts the caption's timer; Stop stops it and shows the page's title at once.
        const bool stop = button == QLatin1String("Stop");
        QCOMPARE(window.findChild<QTimer *>(QStringLiteral("timTimer"))->isActive(), !stop);
        if (stop)
            QCOMPARE(window.windowTitle(), page->LocationName());
    }

    void resizeKeepsTheMarginsAndNeverGoesNegative()
    {
        frmBrowser window(new FakeWebBrowser);
        window.show();
        // The address box runs from 50 twips to 50 short of the right edge; the page from
        // (120, 2175) to 20 twips past the right edge and 100 above the bottom.
        const QList<std::tuple<QSize, QRect, QRect>> sizes{
            {QSize(722, 571), QRect(3, 22, 716, 21), QRect(8, 145, 715, 419)},
            {QSize(5, 150), QRect(3, 22, 0, 21), QRect(8, 145, 0, 0)}};
        for (const auto &[client, addressBox, page] : sizes) {
            window.resize(client);
            QTRY_COMPARE(window.size(), client);
            QCOMPARE(window.findChild<QComboBox *>(QStringLiteral("cboAddress"))->geometry(), addressBox);
            QCOMPARE(window.findChild<QWidget *>(QStringLiteral("brwWebBrowser"))->geometry(), page);
        }
    }

    void theAddressBoxGoesOnlyWhereItIsSent_data()
    {
        // What is typed into the box (nothing: it keeps the current address), the keys
        // pressed then, the row of the open list clicked (-1: none), and where it goes.
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<int>("clickedRow");
        QTest::addColumn<QStringList>("calls");
        const QString other = QStringLiteral("http://example.org/c");
        const QStringList toFirst{"Navigate " + FirstAddress};
        QTest::newRow("a typed address and Return")
            << other << Keys{Qt::Key_Return} << -1 << QStringList{"Navigate " + other};
        QTest::newRow("Return on another address of the list goes there once")
            << FirstAddress << Keys{Qt::Key_Return} << -1 << toFirst;
        QTest::newRow("Tab away from another address of the list goes nowhere")
            << FirstAddress << Keys{Qt::Key_Tab} << -1 << QStringList{};
        QTest::newRow("Down in the closed list only shows the next entry")
            << QString() << Keys{Qt::Key_Down} << -1 << QStringList{};
        QTest::newRow("Down in the closed list, then Return")
            << QString() << Keys{Qt::Key_Down, Qt::Key_Return} << -1 << toFirst;
        QTest::newRow("an entry of the open list chosen with Down and Return")
            << QString() << Keys{Qt::AltModifier | Qt::Key_Down, Qt::Key_Down, Qt::Key_Return} << -1 << toFirst;
        QTest::newRow("an entry of the open list clicked")
            << QString() << Keys{Qt::AltModifier | Qt::Key_Down} << 1 << toFirst;
        QTest::newRow("the open list closed with Escape")
            << QString() << Keys{Qt::AltModifier | Qt::Key_Down, Qt::Key_Down, Qt::Key_Escape} << -1 << QStringList{};
    }
    void theAddressBoxGoesOnlyWhereItIsSent()
    {
        QFETCH(QString, typed);
        QFETCH(Keys, keys);
        QFETCH(int, clickedRow);
        QFETCH(QStringList, calls);
        auto *page = new FakeWebBrowser;
        frmBrowser window(page);
        window.StartingAddress = FirstAddress;
        QVERIFY(showActive(window));
        // The list holds the second address first and the start address below it.
        page->url = SecondAddress;
        Q_EMIT page->NavigateComplete2(page->url);
        page->calls.clear();
        QVERIFY(typed.isEmpty() ? pressKeys({Qt::AltModifier | Qt::Key_A}) : typeAddress(typed));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cboAddress"));
        QVERIFY(pressKeys(keys));
        if (clickedRow >= 0) {
            QAbstractItemView *list = window.findChild<QComboBox *>(QStringLiteral("cboAddress"))->view();
            QTRY_VERIFY(list->isVisible());
            QVERIFY(UserInput::click(list->viewport(), list->visualRect(list->model()->index(clickedRow, 0))));
        }
        QCOMPARE(page->calls, calls);
    }
};

QTEST_MAIN(tst_Browser)
#include "tst_browser.moc"
