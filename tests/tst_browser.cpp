#include "support/fakewebbrowser.h"
#include "windows/frmbrowser.h"
#include "windows/gamechannel.h"
#include "windows/webaddresses.h"
#include "windows/webenginebrowser.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <unistd.h>

namespace {

constexpr int LoadTimeoutMs = 30000;
constexpr int SlowPageDelayMs = 1500;

// A web server of the test's own on the loopback address: every path is a page titled
// after it ("/b" is "Page b"), and "/slow" takes its time.
class PageServer : public QTcpServer
{
public:
    PageServer()
    {
        connect(this, &QTcpServer::newConnection, this, &PageServer::answer);
    }

    QString address(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
    }

private:
    void answer()
    {
        while (QTcpSocket *socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                if (!socket->canReadLine())
                    return;
                const QList<QByteArray> request = socket->readLine().split(' ');
                const QString path = QString::fromLatin1(request.value(1));
                const bool page = path != QLatin1String("/favicon.ico");
                const QByteArray body = page ? "<html><head><title>Page " + path.mid(1).toLatin1()
                                                   + "</title></head><body>A page.</body></html>"
                                             : QByteArray();
                const QByteArray reply = (page ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n")
                    + QByteArray("Content-Type: text/html\r\nConnection: close\r\nContent-Length: ")
                    + QByteArray::number(body.size()) + "\r\n\r\n" + body;
                QPointer<QTcpSocket> alive(socket);
                auto send = [alive, reply] {
                    if (alive) {
                        alive->write(reply);
                        alive->disconnectFromHost();
                    }
                };
                if (path == QLatin1String("/slow"))
                    QTimer::singleShot(SlowPageDelayMs, socket, send);
                else
                    send();
            });
        }
    }
};

QAction *button(frmBrowser &window, const QString &key)
{
    return window.findChild<QToolBar *>(QStringLiteral("tbToolBar"))->findChild<QAction *>(key);
}

QComboBox *addressBox(frmBrowser &window)
{
    return window.findChild<QComboBox *>(QStringLiteral("cboAddress"));
}

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

void setUpEngine()
{
    // As the browser program does, before the application exists: the engine shares
    // OpenGL contexts, and as root it cannot start sandboxed.
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
    void addressListIsMostRecentFirstWithoutCopies_data();
    void addressListIsMostRecentFirstWithoutCopies();
    void captionSaysWorkingWhileAPageLoads_data();
    void captionSaysWorkingWhileAPageLoads();
    void controlsSpeakTheirNames();

    // On a stand-in page control.
    void windowIsBuiltAsDesigned();
    void onlyTheSixExactKeysAct_data();
    void onlyTheSixExactKeysAct();
    void resizeKeepsTheMarginsAndNeverGoesNegative_data();
    void resizeKeepsTheMarginsAndNeverGoesNegative();
    void enterOnAListedAddressNavigatesOnce();
    void showWhileOpenGoesNowhere();

private:
    // A window on the real engine, loaded at path on the test's server.
    std::unique_ptr<frmBrowser> openAt(const QString &startingAddress, const QString &title);

    PageServer m_server;
};

void tst_Browser::initTestCase()
{
    QVERIFY(m_server.listen(QHostAddress::LocalHost, 0));

    // Without a working engine (no GPU stand-in, a sandbox it cannot set up) pages never
    // load; say so instead of failing every case on a timeout.
    WebEngineBrowser probe;
    probe.resize(200, 100);
    probe.show();
    probe.Navigate(QStringLiteral("data:text/html,<title>probe</title>"));
    QElapsedTimer waited;
    waited.start();
    while (probe.LocationName() != QLatin1String("probe") && waited.elapsed() < LoadTimeoutMs)
        QTest::qWait(20);
    if (probe.LocationName() != QLatin1String("probe"))
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

void tst_Browser::addressListIsMostRecentFirstWithoutCopies_data()
{
    QTest::addColumn<QStringList>("visits");
    QTest::addColumn<QStringList>("expected");
    // "H" stands for the server, "http://H" for an address as the engine reports it.
    QTest::newRow("the start address stands beside the address the engine reports")
        << QStringList{} << QStringList{"http://H/a", "H/a"};
    QTest::newRow("an address typed with Enter goes first")
        << QStringList{"/b"} << QStringList{"http://H/b", "http://H/a", "H/a"};
    QTest::newRow("a page seen before moves to the top without a copy")
        << QStringList{"/b", "/c", "/a"}
        << QStringList{"http://H/a", "http://H/c", "http://H/b", "H/a"};
}

void tst_Browser::addressListIsMostRecentFirstWithoutCopies()
{
    QFETCH(QStringList, visits);
    QFETCH(QStringList, expected);
    const QString host = QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort());
    expected.replaceInStrings(QStringLiteral("H"), host);

    // Typed without its scheme, the start address differs from what the engine reports.
    auto window = openAt(host + QStringLiteral("/a"), QStringLiteral("Page a"));
    // Back with no history to go back to is ignored, and the window goes on working.
    button(*window, QStringLiteral("Back"))->trigger();
    for (const QString &path : visits) {
        typeAddress(*window, m_server.address(path));
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("Page ") + path.mid(1),
                                  LoadTimeoutMs);
    }
    QTRY_COMPARE(entries(addressBox(*window)), expected);
    QCOMPARE(addressBox(*window)->currentText(), expected.first());
}

void tst_Browser::captionSaysWorkingWhileAPageLoads_data()
{
    QTest::addColumn<bool>("pressStop");
    QTest::addColumn<QString>("captionAfter");
    QTest::newRow("the page arrives") << false << "Page slow";
    QTest::newRow("Stop is pressed") << true << "Page a";
}

void tst_Browser::captionSaysWorkingWhileAPageLoads()
{
    QFETCH(bool, pressStop);
    QFETCH(QString, captionAfter);
    auto window = openAt(m_server.address(QStringLiteral("/a")), QStringLiteral("Page a"));
    typeAddress(*window, m_server.address(QStringLiteral("/slow")));
    QTRY_COMPARE(window->windowTitle(), QStringLiteral("Working..."));
    if (pressStop) {
        button(*window, QStringLiteral("Stop"))->trigger();
        QCOMPARE(window->windowTitle(), captionAfter);
    }
    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), captionAfter, LoadTimeoutMs);
    QTRY_VERIFY(!window->findChild<QTimer *>(QStringLiteral("timTimer"))->isActive());
}

void tst_Browser::controlsSpeakTheirNames()
{
    auto window = openAt(m_server.address(QStringLiteral("/a")), QStringLiteral("Page a"));
    auto spoken = [](QObject *object) {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(object);
        return accessible ? accessible->text(QAccessible::Name) : QString();
    };
    QToolBar *toolbar = window->findChild<QToolBar *>(QStringLiteral("tbToolBar"));
    for (QAction *action : toolbar->actions())
        QCOMPARE(spoken(toolbar->widgetForAction(action)), action->toolTip());
    // The address box is named by its label, through the label's relation to it.
    QAccessibleInterface *box = QAccessible::queryAccessibleInterface(addressBox(*window));
    QObject *label = window->findChild<QLabel *>(QStringLiteral("lblAddress"));
    QCOMPARE(spoken(label), QStringLiteral("Address:"));
    bool labelled = false;
    for (const auto &relation : box->relations(QAccessible::Label))
        labelled = labelled || relation.first->object() == label;
    QVERIFY(labelled);
    QTRY_COMPARE(spoken(window->findChild<QWidget *>(QStringLiteral("brwWebBrowser"))),
                 QStringLiteral("Page a"));
}

void tst_Browser::windowIsBuiltAsDesigned()
{
    frmBrowser window(new FakeWebBrowser);
    QCOMPARE(window.size(), QSize(722, 571));
    QCOMPARE(window.windowTitle(), WebAddresses::siteName());
    QVERIFY(addressBox(window)->currentText().isEmpty());

    QStringList keys;
    QToolBar *toolbar = window.findChild<QToolBar *>(QStringLiteral("tbToolBar"));
    for (QAction *action : toolbar->actions()) {
        keys << action->data().toString();
        QCOMPARE(action->toolTip(), action->data().toString());
        // Drawn for the pixel ratio asked, not scaled up from 24 x 24.
        QCOMPARE(action->icon().pixmap(QSize(24, 24), 2.0).size(), QSize(48, 48));
    }
    QCOMPARE(keys, (QStringList{"Back", "Forward", "Stop", "Refresh", "Home", "Search"}));
}

void tst_Browser::onlyTheSixExactKeysAct_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("Back") << "Back" << QStringList{"GoBack"};
    QTest::newRow("Forward") << "Forward" << QStringList{"GoForward"};
    QTest::newRow("Stop") << "Stop" << QStringList{"Stop"};
    QTest::newRow("Refresh") << "Refresh" << QStringList{"Refresh"};
    QTest::newRow("Home") << "Home" << QStringList{"GoHome"};
    QTest::newRow("Search") << "Search" << QStringList{"GoSearch"};
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
    auto *timer = window.findChild<QTimer *>(QStringLiteral("timTimer"));
    // Every button starts the timer; only Stop stops it again, at once.
    QCOMPARE(timer->isActive(), key != QLatin1String("Stop"));
    QCOMPARE(window.windowTitle(),
             key == QLatin1String("Stop") ? page->title : WebAddresses::siteName());
}

void tst_Browser::resizeKeepsTheMarginsAndNeverGoesNegative_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QRect>("addressBox");
    QTest::addColumn<QRect>("page");
    // The address box runs from 50 twips to 50 short of the right edge; the page from
    // (120, 2175) to 20 twips past the right edge and 100 above the bottom.
    QTest::newRow("built size") << QSize(722, 571) << QRect(3, 22, 716, 21) << QRect(8, 145, 715, 419);
    QTest::newRow("larger") << QSize(1000, 800) << QRect(3, 22, 994, 21) << QRect(8, 145, 993, 648);
    QTest::newRow("narrower than the margins") << QSize(5, 150) << QRect(3, 22, 0, 21)
                                               << QRect(8, 145, 0, 0);
    QTest::newRow("a single pixel") << QSize(1, 1) << QRect(3, 22, 0, 21) << QRect(8, 145, 0, 0);
}

void tst_Browser::resizeKeepsTheMarginsAndNeverGoesNegative()
{
    QFETCH(QSize, client);
    QFETCH(QRect, addressBox);
    QFETCH(QRect, page);
    frmBrowser window(new FakeWebBrowser);
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

    // Typed in full, the address equals an entry of the list, which the box would
    // choose by itself on Return.
    typeAddress(window, QStringLiteral("http://example.org/a"));
    QCOMPARE(page->calls, QStringList{"Navigate http://example.org/a"});
}

void tst_Browser::showWhileOpenGoesNowhere()
{
    auto *page = new FakeWebBrowser;
    frmBrowser window(page);
    GameChannel channel(window);
    window.StartingAddress = QStringLiteral("http://example.org/first");
    window.show();
    QCOMPARE(page->calls, QStringList{"Navigate http://example.org/first"});
    auto *timer = window.findChild<QTimer *>(QStringLiteral("timTimer"));
    QTRY_VERIFY(!timer->isActive());
    window.hide();

    channel.handleCommand("show http://example.org/second");
    QCOMPARE(window.StartingAddress, QStringLiteral("http://example.org/second"));
    QVERIFY(window.isVisible());
    QCOMPARE(page->calls, QStringList{"Navigate http://example.org/first"});
    QVERIFY(!timer->isActive());
    QCOMPARE(entries(addressBox(window)), QStringList{"http://example.org/first"});
}

QTEST_MAIN(tst_Browser)
#include "tst_browser.moc"
