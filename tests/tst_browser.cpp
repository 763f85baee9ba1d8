#include "support/fakewebbrowser.h"
#include "windows/frmbrowser.h"
#include "windows/webaddresses.h"
#include "windows/webenginebrowser.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

namespace {

constexpr int LoadTimeoutMs = 30000;

void typeAddress(frmBrowser &window, const QString &address)
{
    QLineEdit *edit = window.findChild<QComboBox *>(QStringLiteral("cboAddress"))->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, address);
    QTest::keyClick(edit, Qt::Key_Return);
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
        window.show();
        for (const char *path : {"/a", "/b", "/a"}) {
            typeAddress(window, site + QLatin1String(path));
            QTRY_COMPARE(window.windowTitle(), QStringLiteral("Working..."));
            QTRY_COMPARE_WITH_TIMEOUT(window.windowTitle(), QStringLiteral("Page"), LoadTimeoutMs);
        }
        QComboBox *box = window.findChild<QComboBox *>(QStringLiteral("cboAddress"));
        QCOMPARE(box->count(), 2);
        QCOMPARE(box->itemText(0), site + QStringLiteral("/a"));
        QCOMPARE(box->itemText(1), site + QStringLiteral("/b"));
    }

    void onlyTheSixExactKeysAct_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("calls");
        const QStringList keys{"Back", "Forward", "Stop", "Refresh", "Home", "Search",
                               "back", "HOME", "Search ", ""};
        const QStringList calls{"GoBack", "GoForward", "Stop", "Refresh", "GoHome", "GoSearch"};
        for (int index = 0; index < keys.size(); ++index) // the last four call nothing
            QTest::newRow(qPrintable('"' + keys[index] + '"')) << keys[index] << calls.mid(index, 1);
    }
    void onlyTheSixExactKeysAct()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, calls);
        auto *page = new FakeWebBrowser;
        frmBrowser window(page);
        QAction button;
        button.setData(key);
        window.tbToolBar_ButtonClick(&button);
        QCOMPARE(page->calls, calls);
        // Every button starts the caption's timer; Stop stops it and shows the page's title at once.
        const bool stop = key == QLatin1String("Stop");
        QCOMPARE(window.findChild<QTimer *>(QStringLiteral("timTimer"))->isActive(), !stop);
        QCOMPARE(window.windowTitle(), stop ? page->LocationName() : WebAddresses::siteName());
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

    void enterOnAListedAddressNavigatesOnce()
    {
        auto *page = new FakeWebBrowser;
        frmBrowser window(page);
        window.StartingAddress = QStringLiteral("http://example.org/a");
        window.show();
        page->url = QStringLiteral("http://example.org/b");
        Q_EMIT page->NavigateComplete2(page->url);
        page->calls.clear();
        // Typed in full, the address is a list entry, which the box would choose by itself.
        typeAddress(window, QStringLiteral("http://example.org/a"));
        QCOMPARE(page->calls, QStringList{"Navigate http://example.org/a"});
    }
};

QTEST_MAIN(tst_Browser)
#include "tst_browser.moc"
