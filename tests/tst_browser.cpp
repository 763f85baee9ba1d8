// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fakewebbrowser.h"
#include "support/userinput.h"
#include "browser/frmbrowser.h"
#include "browser/webenginebrowser.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {

using Keys = QList<QKeyCombination>;

bool pressKeys(const Keys &keys)
{
    return std::all_of(keys.begin(), keys.end(),
                       [](auto k) { return UserInput::press(k.key(), k.keyboardModifiers()); });
}

// Shown, the address box reached by Alt+A and its text, if any, typed over.
bool showAndType(QWidget &window, const QString &address)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window) && pressKeys({Qt::AltModifier | Qt::Key_A})
        && (address.isEmpty() || (pressKeys({Qt::ControlModifier | Qt::Key_A}) && UserInput::type(address)));
}

} // namespace

class tst_Browser : public QObject
{
    Q_OBJECT
    QTcpServer m_server;

private Q_SLOTS:
    // The real engine, and a real server half a second late so that each load is seen under way.
    void typedPagesShowWorkingAndListMostRecentFirst()
    {
        QVERIFY(m_server.listen(QHostAddress::LocalHost));
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *socket = m_server.nextPendingConnection();
            QTimer::singleShot(500, socket, [socket] {
                socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<title>Page</title>");
                socket->disconnectFromHost();
            });
        });
        const QString site = QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
        frmBrowser window(new WebEngineBrowser);
        for (const char *path : {"/a", "/b", "/a"}) {
            QVERIFY(showAndType(window, site + QLatin1String(path)) && UserInput::press(Qt::Key_Return));
            QTRY_COMPARE(window.windowTitle(), QStringLiteral("Working..."));
            QTRY_COMPARE_WITH_TIMEOUT(window.windowTitle(), QStringLiteral("Page"), 30000);
        }
        auto *box = window.findChild<QComboBox *>(QStringLiteral("cboAddress"));
        QCOMPARE(box->count(), 2); // the latest on top, without a copy
        QCOMPARE((QStringList{box->itemText(0), box->itemText(1)}), (QStringList{site + "/a", site + "/b"}));
    }

    void toolbarButtonsDoTheirOwnThingAndResizingKeepsTheMargins()
    {
        auto *page = new FakeWebBrowser;
        page->busy = true; // so the caption's timer runs until it is stopped
        frmBrowser window(page);
        QVERIFY(showAndType(window, QString()));
        auto *timer = window.findChild<QTimer *>(QStringLiteral("timTimer"));
        // Every button starts the caption's timer; Stop stops it and shows the page's title at once.
        for (auto [button, call] : {std::pair{"Stop", "Stop"}, {"Back", "GoBack"}, {"Forward", "GoForward"},
                                    {"Refresh", "Refresh"}, {"Home", "GoHome"}, {"Search", "GoSearch"}}) {
            page->calls.clear();
            QVERIFY(UserInput::click(window.findChild<QToolBar *>()->findChild<QWidget *>(button)));
            QCOMPARE(std::pair(page->calls, timer->isActive()), std::pair(QStringList{call}, call != QString("Stop")));
            if (call == QLatin1String("Stop"))
                QCOMPARE(window.windowTitle(), page->LocationName());
        }
        // The address box keeps 50 twips each side; the page runs 20 twips past the right edge, 100 above the bottom.
        for (const auto &[client, addressBox, browser] :
             {std::tuple{QSize(722, 571), QRect(3, 22, 716, 21), QRect(8, 145, 715, 419)},
              {QSize(5, 150), QRect(3, 22, 0, 21), QRect(8, 145, 0, 0)}}) {
            window.resize(client);
            QTRY_COMPARE(window.size(), client);
            QCOMPARE(std::pair(window.findChild<QComboBox *>(QStringLiteral("cboAddress"))->geometry(),
                               window.findChild<QWidget *>(QStringLiteral("brwWebBrowser"))->geometry()),
                     std::pair(addressBox, browser));
        }
    }

    void theAddressBoxGoesOnlyWhereItIsSent_data()
    {
        // Typed into the box (nothing: it keeps the current address), the keys, a click on a row of the list.
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<int>("clickedRow");
        QTest::addColumn<QString>("goesTo");
        const QString first = QStringLiteral("http://example.org/a"), other = QStringLiteral("http://example.org/c");
        const Keys openList{Qt::AltModifier | Qt::Key_Down}, openDown = openList + Keys{Qt::Key_Down};
        const auto row = [](const char *name, QString typed, Keys keys, QString goesTo, int clickedRow = -1) {
            QTest::newRow(name) << typed << keys << clickedRow << goesTo;
        };
        row("a typed address and Return", other, {Qt::Key_Return}, other);
        row("Return on another address of the list goes there once", first, {Qt::Key_Return}, first);
        row("Tab away from another address of the list goes nowhere", first, {Qt::Key_Tab}, "");
        row("Down in the closed list only shows the next entry", "", {Qt::Key_Down}, "");
        row("Down in the closed list, then Return", "", {Qt::Key_Down, Qt::Key_Return}, first);
        row("an entry of the open list chosen with Down and Return", "", openDown + Keys{Qt::Key_Return}, first);
        row("an entry of the open list clicked", "", openList, first, 1);
        row("the open list closed with Escape", "", openDown + Keys{Qt::Key_Escape}, "");
    }
    void theAddressBoxGoesOnlyWhereItIsSent()
    {
        QFETCH(QString, typed);
        QFETCH(Keys, keys);
        QFETCH(int, clickedRow);
        QFETCH(QString, goesTo);
        auto *page = new FakeWebBrowser;
        frmBrowser window(page);
        window.StartingAddress = QStringLiteral("http://example.org/a");
        window.show(); // the list holds the second address first, the start address below it
        page->url = QStringLiteral("http://example.org/b");
        Q_EMIT page->NavigateComplete2(page->url);
        page->calls.clear();
        QVERIFY(showAndType(window, typed) && QApplication::focusWidget()->objectName() == "cboAddress");
        QVERIFY(pressKeys(keys));
        if (clickedRow >= 0) {
            QAbstractItemView *list = window.findChild<QComboBox *>(QStringLiteral("cboAddress"))->view();
            QTRY_VERIFY(list->isVisible());
            QVERIFY(UserInput::click(list->viewport(), list->visualRect(list->model()->index(clickedRow, 0))));
        }
        QCOMPARE(page->calls, goesTo.isEmpty() ? QStringList() : QStringList{"Navigate " + goesTo});
    }
};

QTEST_MAIN(tst_Browser)
#include "tst_browser.moc"
