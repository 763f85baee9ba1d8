#include "support/fakeclock.h"
#include "support/fakeprogramlauncher.h"
#include "support/fakeprompts.h"
#include "support/fakeregistry.h"
#include "platform/portableregistry.h"
#include "platform/services.h"
#include "records/recordfiles.h"
#include "windows/forms.h"
#include "windows/frmabout.h"
#include "windows/frmmenu.h"

#include <QCloseEvent>
#include <QDir>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

namespace {
const QByteArray MsInfoKey = QByteArrayLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
struct AboutFixture
{
    ~AboutFixture() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    frmAbout *openAbout() // as the player opens it, from the menu
    {
        forms.menu()->show();
        forms.menu()->cmdAbout_Click();
        return forms.about();
    }
    QTemporaryDir dir;
    FakeClock clock;
    FakePrompts prompts;
    RecordFiles records{dir.path()};
    FakeRegistry registry;
    FakeProgramLauncher launcher;
    Forms forms{{&clock, &prompts, &records, &registry, &launcher}};
};
} // namespace

class tst_About : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsKeyValue_data();
    void readsKeyValue();
    void startsSystemInfoOrSaysUnavailable_data();
    void startsSystemInfoOrSaysUnavailable();
    void closingUnloadsAndShowsMenu_data();
    void closingUnloadsAndShowsMenu();
    void portableRegistryNamesTheFirstToolOnThePath();
};

void tst_About::readsKeyValue_data()
{
    // Each row stores the value Value of the key Example, and asks for it or another.
    QTest::addColumn<QStringList>("asked"); // key and value name
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("expected"); // null when the read fails
    const QStringList key{"Example", "Value"};
    const QByteArray path = QByteArrayLiteral("C:\\info\0"), x1024(1024, 'x');
    QTest::newRow("a string loses only the last of two NULs at its end")
        << key << Registry::RegSz << path + '\0' << QStringLiteral("C:\\info").append(QChar(0));
    QTest::newRow("a string of 1024 bytes with no NUL is read whole")
        << key << Registry::RegSz << x1024 << QString(x1024);
    QTest::newRow("a number whose top byte is zero is written in decimal")
        << key << Registry::RegDword << QByteArray::fromHex("40e20100") << "123456";
    QTest::newRow("a number with its top bit set is unsigned")
        << key << Registry::RegDword << QByteArray::fromHex("01000080") << "2147483649";
    QTest::newRow("binary data leaves the text as it was") << key << quint32(3) << path << "previous";
    QTest::newRow("a missing key reads as nothing")
        << QStringList{"Missing", "Value"} << Registry::RegSz << path << QString();
    QTest::newRow("a missing value reads as nothing")
        << QStringList{"Example", "Missing"} << Registry::RegSz << path << QString();
    QTest::newRow("a value over 1024 bytes reads as nothing")
        << key << Registry::RegSz << x1024 + '\0' << QString();
}

void tst_About::readsKeyValue()
{
    QFETCH(QStringList, asked);
    QFETCH(quint32, type);
    QFETCH(QByteArray, stored);
    QFETCH(QString, expected);
    AboutFixture fixture;
    fixture.registry.setValue("Example", "Value", type, stored);
    QString value = QStringLiteral("previous");
    QCOMPARE(fixture.forms.about()->GetKeyValue(Registry::HKeyLocalMachine, asked[0], asked[1], value),
             !expected.isNull());
    QCOMPARE(value, expected);
    QCOMPARE(fixture.registry.openKeyCount(), 0);
}

void tst_About::startsSystemInfoOrSaysUnavailable_data()
{
    // Entries are null when absent; rows tagged "unavailable" expect the message.
    QTest::addColumn<QByteArray>("firstEntry");
    QTest::addColumn<QByteArray>("secondEntry");
    QTest::addColumn<bool>("startSucceeds");
    QTest::addColumn<QString>("starts");
    const QByteArray none, folder = QByteArrayLiteral("C:\\MSINFO");
    const QString inFolder = QStringLiteral("C:\\MSINFO\\MSINFO32.EXE");
    const QString first = QStringLiteral("C:\\Program Files\\MSInfo\\msinfo32.exe");
    QTest::newRow("the first entry is started as read, though no such file is known")
        << first.toLatin1() << folder << true << first;
    QTest::newRow("the second entry is a folder the program name is added to")
        << none << folder << true << inFolder;
    QTest::newRow("a folder ending in a backslash gets a second one")
        << none << folder + '\\' << true << "C:\\MSINFO\\\\MSINFO32.EXE";
    QTest::newRow("unavailable: the folder of the second entry holds no program")
        << none << QByteArray("C:\\EMPTY") << true << QString();
    QTest::newRow("unavailable: the program in the folder fails to start")
        << none << folder << false << inFolder;
    QTest::newRow("unavailable: neither entry is present") << none << none << true << QString();
    QTest::newRow("unavailable: the first entry is empty")
        << QByteArray("") << none << true << QString();
}

void tst_About::startsSystemInfoOrSaysUnavailable()
{
    QFETCH(QByteArray, firstEntry);
    QFETCH(QByteArray, secondEntry);
    QFETCH(bool, startSucceeds);
    QFETCH(QString, starts);
    AboutFixture fixture;
    if (!firstEntry.isNull())
        fixture.registry.setValue(MsInfoKey, "PATH", Registry::RegSz, firstEntry + '\0');
    if (!secondEntry.isNull())
        fixture.registry.setValue("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO",
                                  Registry::RegSz, secondEntry + '\0');
    fixture.launcher.existingFiles = {"C:\\MSINFO\\MSINFO32.EXE", "C:\\MSINFO\\\\MSINFO32.EXE"};
    fixture.launcher.startSucceeds = startSucceeds;
    frmAbout *box = fixture.openAbout();
    box->StartSysInfo();
    QCOMPARE(fixture.launcher.starts, starts.isNull() ? QStringList() : QStringList{starts});
    const bool unavailable = QByteArray(QTest::currentDataTag()).startsWith("unavailable");
    QCOMPARE(fixture.prompts.messages,
             unavailable ? QStringList{"System Information Is Unavailable At This Time"} : QStringList());
    QVERIFY(box->isVisible());
    QCOMPARE(fixture.registry.openKeyCount(), 0);
}

void tst_About::closingUnloadsAndShowsMenu_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("OK") << 0;
    QTest::newRow("Escape") << 1;
    QTest::newRow("the frame's close box") << 2;
}

void tst_About::closingUnloadsAndShowsMenu()
{
    QFETCH(int, how);
    AboutFixture fixture;
    QPointer<frmAbout> box = fixture.openAbout();
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QVERIFY(!fixture.forms.menu()->isVisible());
    QCloseEvent closeBox; // the window system's close arrives at the window, not the widget
    if (how == 0)
        box->cmdOK_Click();
    else if (how == 1)
        QTest::keyClick(box, Qt::Key_Escape);
    else
        QCoreApplication::sendEvent(box->windowHandle(), &closeBox);
    QVERIFY(!fixture.forms.isAboutLoaded());
    QVERIFY(fixture.forms.menu()->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(box.isNull());
}

void tst_About::portableRegistryNamesTheFirstToolOnThePath()
{
    // hardinfo2 ranks above hardinfo, hardinfo above cpu-x; the working folder (where the
    // records live) and a relative "bin" below it are never searched.
    QTemporaryDir work, absolute;
    QVERIFY(QDir(work.path()).mkdir(QStringLiteral("bin")));
    for (const QString &path : {work.filePath("hardinfo2"), work.filePath("bin/hardinfo2"),
                                absolute.filePath("cpu-x"), absolute.filePath("hardinfo")}) {
        QFile tool(path);
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.setPermissions(tool.permissions() | QFile::ExeOwner);
    }
    const QByteArray savedPath = qgetenv("PATH");
    const QString savedFolder = QDir::currentPath();
    qputenv("PATH", ".::bin:" + QFile::encodeName(absolute.path()));
    QDir::setCurrent(work.path());
    PortableRegistry registry;
    Registry::Handle key = 0;
    const long opened = registry.openKey(Registry::HKeyLocalMachine, MsInfoKey, 0x2003F, &key);
    quint32 type = 0, size = 1024;
    QByteArray data(1024, '\0');
    const long read = registry.queryValue(key, "PATH", &type, &data, &size);
    QDir::setCurrent(savedFolder);
    qputenv("PATH", savedPath);
    QCOMPARE(opened, Registry::ErrorSuccess);
    QCOMPARE(read, Registry::ErrorSuccess);
    QCOMPARE(type, Registry::RegSz);
    QCOMPARE(data.left(size), QFile::encodeName(absolute.filePath("hardinfo")) + '\0'); // NUL counted
    QCOMPARE(registry.closeKey(key), Registry::ErrorSuccess);
    QTemporaryDir empty;
    QCOMPARE(PortableRegistry({empty.path()}).openKey(Registry::HKeyLocalMachine, MsInfoKey, 0x2003F, &key),
             Registry::ErrorFileNotFound);
}

QTEST_MAIN(tst_About)
#include "tst_about.moc"
