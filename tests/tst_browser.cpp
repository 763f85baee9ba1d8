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
#include <QToolBar>

#include <unistd.h>

namespace {

constexpr int LoadTimeoutMs = 30000;
const QStringList Keys{"Back", "Forward", "Stop", "Refresh", "Home", "Search"};

// A web server of the test's own on the loopback address: every path is a page titled
// after it ("/b" is "Page b"), and "/slow" takes its time.
struct PageServer : QTcpServer
{
    PageServer() { connect(this, &QTcpServer::newConnection, this, &PageServer::answer); }
    QString address(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
    }
    void answer()
    {
        while (QTcpSocket *socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                if (!socket->canReadLine() || socket->peek(4) != "GET ")
                    return; // once, on the request line
                const QByteArray path = socket->readLine().split(' ').value(1);
                // The page ends where the connection does; a timer outliving its socket never fires.
                QTimer::singleShot(path == "/slow" ? 1500 : 0, socket, [socket, path] {
                    socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<title>Page " + path.mid(1)
                                  + "</title>");
                    socket->disconnectFromHost();
                });
            });
        }
    }
};

QAction *button(frmBrowser &window, const QString &key)
{
    return window.findChild<QToolBar *>("tbToolBar")->findChild<QAction *>(key);
}
QComboBox *addressBox(frmBrowser &window) { return window.findChild<QComboBox *>("cboAddress"); }
QTimer *timer(frmBrowser &window) { return window.findChild<QTimer *>("timTimer"); }
QStringList entries(QComboBox *box)
{
    QStringList list;
    for (int index = 0; index < box->count(); ++index)
        list << box->itemText(index);
    return list;
}
void typeAddress(frmBrowser &window, const QString &address)
{
    QLineEdit *edit = addressBox(window)->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, address);
    QTest::keyClick(edit, Qt::Key_Return);
}

void setUpEngine() // as the browser program does, before the application exists
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}
Q_CONSTRUCTOR_FUNCTION(setUpEngine)

} // namespace

class tst_Browser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    // On the real engine, with pages from the test's own server.
    void addressListIsMostRecentFirstWithoutCopies();
    void captionSaysWorkingWhileAPageLoads();
    // On a stand-in page control.
    void onlyTheSixExactKeysAct_data();
    void onlyTheSixExactKeysAct();
    void resizeKeepsTheMarginsAndNeverGoesNegative_data();
    void resizeKeepsTheMarginsAndNeverGoesNegative();
    void enterOnAListedAddressNavigatesOnce();

private:
    std::unique_ptr<frmBrowser> openAt(const QString &startingAddress, const QString &title);
    PageServer m_server;
};

void tst_Browser::initTestCase()
{
    QVERIFY(m_server.listen(QHostAddress::LocalHost, 0));
    // Without a working engine pages never load; say so instead of failing every case.
    WebEngineBrowser probe;
    probe.resize(200, 100);
    probe.show();
    probe.Navigate(QStringLiteral("data:text/html,<title>probe</title>"));
    if (!QTest::qWaitFor([&] { return probe.LocationName() == QLatin1String("probe"); }, LoadTimeoutMs))
        QSKIP("Qt WebEngine loads no pages here: is QtWebEngineProcess installed?");
}

std::unique_ptr<frmBrowser> tst_Browser::openAt(const QString &startingAddress, const QString &title)
{
    auto window = std::make_unique<frmBrowser>(new WebEngineBrowser);
    window->StartingAddress = startingAddress;
    window->show();
    [&] { QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), title, LoadTimeoutMs); }();
    return window;
}

void tst_Browser::addressListIsMostRecentFirstWithoutCopies()
{
    const QString host = QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort());
    // Typed without its scheme, the start address differs from what the engine reports
    // ("http://H"), and stands beside it; pages typed with Enter go first, and a page seen
    // before moves to the top without a copy.
    const QList<std::pair<QStringList, QStringList>> steps{
        {{}, {"http://H/a", "H/a"}},
        {{"/b"}, {"http://H/b", "http://H/a", "H/a"}},
        {{"/c", "/a"}, {"http://H/a", "http://H/c", "http://H/b", "H/a"}}};
    auto window = openAt(host + QStringLiteral("/a"), QStringLiteral("Page a"));
    button(*window, QStringLiteral("Back"))->trigger(); // no history: ignored
    for (auto [visits, expected] : steps) {
        for (const QString &path : visits) {
            typeAddress(*window, m_server.address(path));
            QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), "Page " + path.mid(1), LoadTimeoutMs);
        }
        expected.replaceInStrings(QStringLiteral("H"), host);
        QTRY_COMPARE(entries(addressBox(*window)), expected);
        QCOMPARE(addressBox(*window)->currentText(), expected.first());
    }
}

void tst_Browser::captionSaysWorkingWhileAPageLoads()
{
    auto window = openAt(m_server.address(QStringLiteral("/a")), QStringLiteral("Page a"));
    for (const QString after : {"Page a", "Page slow"}) { // Stop pressed, then the page let arrive
        typeAddress(*window, m_server.address(QStringLiteral("/slow")));
        QTRY_COMPARE(window->windowTitle(), QStringLiteral("Working..."));
        if (after == QLatin1String("Page a")) {
            button(*window, QStringLiteral("Stop"))->trigger();
            QCOMPARE(window->windowTitle(), after);
        }
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), after, LoadTimeoutMs);
        QTRY_VERIFY(!timer(*window)->isActive());
    }
}

void tst_Browser::onlyTheSixExactKeysAct_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("calls");
    const QStringList calls{"GoBack", "GoForward", "Stop", "Refresh", "GoHome", "GoSearch"};
    for (int index = 0; index < Keys.size(); ++index)
        QTest::newRow(qPrintable(Keys[index])) << Keys[index] << QStringList{calls[index]};
    QTest::newRow("lower case") << "back" << QStringList{};
    QTest::newRow("upper case") << "HOME" << QStringList{};
    QTest::newRow("trailing blank") << "Search " << QStringList{};
    QTest::newRow("no key") << "" << QStringList{};
}

void tst_Browser::onlyTheSixExactKeysAct()
{
    QFETCH(QString, key);
    QFETCH(QStringList, calls);
    auto *page = new FakeWebBrowser;
    frmBrowser window(page);
    page->title = QStringLiteral("Current page");
    QAction button(key);
    button.setData(key);
    window.tbToolBar_ButtonClick(&button);
    QCOMPARE(page->calls, calls);
    // Every button starts the timer; only Stop stops it again, at once.
    const bool stop = key == QLatin1String("Stop");
    QCOMPARE(timer(window)->isActive(), !stop);
    QCOMPARE(window.windowTitle(), stop ? page->title : WebAddresses::siteName());
    if (calls.isEmpty())
        return;
    // The toolbar holds the six in order, each tipped with its key and drawn for the pixel
    // ratio asked, not scaled up from 24 x 24.
    QAction *shown = window.findChild<QToolBar *>("tbToolBar")->actions().value(Keys.indexOf(key));
    QCOMPARE(shown->data().toString(), key);
    QCOMPARE(shown->toolTip(), key);
    QCOMPARE(shown->icon().pixmap(QSize(24, 24), 2.0).size(), QSize(48, 48));
}

void tst_Browser::resizeKeepsTheMarginsAndNeverGoesNegative_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QRect>("addressBox");
    QTest::addColumn<QRect>("page");
    // The address box runs from 50 twips to 50 short of the right edge; the page from
    // (120, 2175) to 20 twips past the right edge and 100 above the bottom.
    QTest::newRow("built size") << QSize(722, 571) << QRect(3, 22, 716, 21) << QRect(8, 145, 715, 419);
    QTest::newRow("narrower than the margins") << QSize(5, 150) << QRect(3, 22, 0, 21) << QRect(8, 145, 0, 0);
    QTest::newRow("a single pixel") << QSize(1, 1) << QRect(3, 22, 0, 21) << QRect(8, 145, 0, 0);
}

void tst_Browser::resizeKeepsTheMarginsAndNeverGoesNegative()
{
    QFETCH(QSize, client);
    QFETCH(QRect, addressBox);
    QFETCH(QRect, page);
    frmBrowser window(new FakeWebBrowser);
    QCOMPARE(window.size(), QSize(722, 571)); // as built
    window.show();
    window.resize(client);
    QTRY_COMPARE(window.size(), client);
    QCOMPARE(::addressBox(window)->geometry(), addressBox);
    QCOMPARE(window.findChild<QWidget *>(QStringLiteral("brwWebBrowser"))->geometry(), page);
}

void tst_Browser::enterOnAListedAddressNavigatesOnce()
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

QTEST_MAIN(tst_Browser)
#include "tst_browser.moc"
