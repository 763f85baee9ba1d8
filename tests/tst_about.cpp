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
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

namespace {

const QByteArray MsInfoKey = QByteArrayLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QByteArray LocationKey = QByteArrayLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString Unavailable = QStringLiteral("System Information Is Unavailable At This Time");

struct AboutFixture
{
    ~AboutFixture() { deleteUnloadedWindows(); }

    // As the player opens it, from the menu.
    frmAbout *openAbout()
    {
        forms.menu()->show();
        forms.menu()->cmdAbout_Click();
        return forms.about();
    }

    static void deleteUnloadedWindows()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("Marigold")); }
    void readsKeyValue_data();
    void readsKeyValue();
    void startsSystemInfoOrSaysUnavailable_data();
    void startsSystemInfoOrSaysUnavailable();
    void showsSameCaptionsEachTimeItIsOpened();
    void closingUnloadsAndShowsMenu_data();
    void closingUnloadsAndShowsMenu();
    void portableRegistryNamesTheFirstToolOnThePath();
    void portableRegistrySkipsRelativePathEntries();
};

void tst_About::readsKeyValue_data()
{
    // Each row stores the value Value of the key Example, and asks for it or for another.
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name");
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("expected");

    const QString key = QStringLiteral("Example");
    const QString name = QStringLiteral("Value");
    const QString missing = QStringLiteral("Missing");
    const QByteArray path = QByteArrayLiteral("C:\\info\0");
    QTest::newRow("a string loses only the last of two NULs at its end")
        << key << name << Registry::RegSz << path + '\0' << true
        << QStringLiteral("C:\\info").append(QChar(0));
    QTest::newRow("a string of 1024 bytes with no NUL is read whole") << key << name
        << Registry::RegSz << QByteArray(1024, 'x') << true << QString(1024, QLatin1Char('x'));
    QTest::newRow("a number whose top byte is zero is written in decimal")
        << key << name << Registry::RegDword << QByteArray::fromHex("40e20100") << true
        << QStringLiteral("123456");
    QTest::newRow("a number with its top bit set is unsigned") << key << name << Registry::RegDword
        << QByteArray::fromHex("01000080") << true << QStringLiteral("2147483649");
    QTest::newRow("binary data leaves the text as it was")
        << key << name << quint32(3) << path << true << QStringLiteral("previous");
    QTest::newRow("a missing key reads as nothing")
        << missing << name << Registry::RegSz << path << false << QString();
    QTest::newRow("a missing value reads as nothing")
        << key << missing << Registry::RegSz << path << false << QString();
    QTest::newRow("a value over 1024 bytes reads as nothing") << key << name << Registry::RegSz
        << QByteArray(1024, 'x') + '\0' << false << QString();
}

void tst_About::readsKeyValue()
{
    QFETCH(QString, key);
    QFETCH(QString, name);
    QFETCH(quint32, type);
    QFETCH(QByteArray, stored);
    QFETCH(bool, read);
    QFETCH(QString, expected);
    AboutFixture fixture;
    fixture.registry.setValue("Example", "Value", type, stored);

    QString value = QStringLiteral("previous");
    QCOMPARE(fixture.forms.about()->GetKeyValue(Registry::HKeyLocalMachine, key, name, value),
             read);
    QCOMPARE(value, expected);
    QCOMPARE(fixture.registry.openKeyCount(), 0);
}

void tst_About::startsSystemInfoOrSaysUnavailable_data()
{
    QTest::addColumn<QByteArray>("firstEntry");  // null when absent
    QTest::addColumn<QByteArray>("secondEntry"); // null when absent
    QTest::addColumn<QStringList>("existingFiles");
    QTest::addColumn<bool>("startSucceeds");
    QTest::addColumn<QStringList>("starts");
    QTest::addColumn<bool>("unavailable");

    const QByteArray absent;
    const QByteArray folder = QByteArrayLiteral("C:\\MSINFO");
    const QStringList inFolder{QStringLiteral("C:\\MSINFO\\MSINFO32.EXE")};
    const QStringList doubled{QStringLiteral("C:\\MSINFO\\\\MSINFO32.EXE")};
    const QStringList first{QStringLiteral("C:\\Program Files\\MSInfo\\msinfo32.exe")};
    const QStringList none;
    QTest::newRow("the first entry is started as read, though no such file is known")
        << first.first().toLatin1() << folder << inFolder << true << first << false;
    QTest::newRow("the second entry is a folder the program name is added to")
        << absent << folder << inFolder << true << inFolder << false;
    QTest::newRow("a folder ending in a backslash gets a second one")
        << absent << folder + '\\' << doubled << true << doubled << false;
    QTest::newRow("the folder of the second entry holds no program")
        << absent << folder << none << true << none << true;
    QTest::newRow("the program in the folder fails to start")
        << absent << folder << inFolder << false << inFolder << true;
    QTest::newRow("neither entry is present") << absent << absent << none << true << none << true;
    QTest::newRow("the first entry is empty")
        << QByteArrayLiteral("") << absent << none << true << none << true;
}

void tst_About::startsSystemInfoOrSaysUnavailable()
{
    QFETCH(QByteArray, firstEntry);
    QFETCH(QByteArray, secondEntry);
    QFETCH(QStringList, existingFiles);
    QFETCH(bool, startSucceeds);
    QFETCH(QStringList, starts);
    QFETCH(bool, unavailable);
    AboutFixture fixture;
    if (!firstEntry.isNull())
        fixture.registry.setValue(MsInfoKey, "PATH", Registry::RegSz, firstEntry + '\0');
    if (!secondEntry.isNull())
        fixture.registry.setValue(LocationKey, "MSINFO", Registry::RegSz, secondEntry + '\0');
    fixture.launcher.existingFiles = existingFiles;
    fixture.launcher.startSucceeds = startSucceeds;
    frmAbout *box = fixture.openAbout();

    box->StartSysInfo();

    QCOMPARE(fixture.launcher.starts, starts);
    QCOMPARE(fixture.prompts.messages, unavailable ? QStringList{Unavailable} : QStringList());
    QVERIFY(fixture.forms.isAboutLoaded());
    QVERIFY(box->isVisible());
    QCOMPARE(fixture.registry.openKeyCount(), 0);
}

void tst_About::showsSameCaptionsEachTimeItIsOpened()
{
    AboutFixture fixture;
    for (int opening = 1; opening <= 2; ++opening) {
        QPointer<frmAbout> box = fixture.openAbout();
        QCOMPARE(box->windowTitle(), QStringLiteral("About Marigold"));
        QCOMPARE(box->findChild<QLabel *>(QStringLiteral("lblVersion"))->text(),
                 QStringLiteral("Version 1.1.5"));
        QCOMPARE(box->findChild<QLabel *>(QStringLiteral("lblTitle"))->text(),
                 QStringLiteral("Marigold"));

        box->cmdOK_Click();
        AboutFixture::deleteUnloadedWindows();
        QVERIFY(box.isNull());
    }
}

void tst_About::closingUnloadsAndShowsMenu_data()
{
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("Escape is pressed") << true;
    QTest::newRow("the frame's close box is used") << false;
}

void tst_About::closingUnloadsAndShowsMenu()
{
    QFETCH(bool, byEscape);
    AboutFixture fixture;
    QPointer<frmAbout> box = fixture.openAbout();
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QVERIFY(!fixture.forms.menu()->isVisible());

    if (byEscape) {
        QTest::keyClick(box, Qt::Key_Escape);
    } else {
        // The window system's close arrives at the window, not the widget.
        QCloseEvent closeBox;
        QCoreApplication::sendEvent(box->windowHandle(), &closeBox);
    }

    QVERIFY(!fixture.forms.isAboutLoaded());
    QVERIFY(fixture.forms.menu()->isVisible());
    AboutFixture::deleteUnloadedWindows();
    QVERIFY(box.isNull());
}

void tst_About::portableRegistryNamesTheFirstToolOnThePath()
{
    QTemporaryDir tools;
    for (const QString &name : {QStringLiteral("cpu-x"), QStringLiteral("hardinfo")}) {
        QFile tool(tools.filePath(name));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.setPermissions(tool.permissions() | QFile::ExeOwner);
    }
    PortableRegistry registry({tools.path()});
    Registry::Handle key = 0;
    QCOMPARE(registry.openKey(Registry::HKeyLocalMachine, MsInfoKey, 0x2003F, &key),
             Registry::ErrorSuccess);
    quint32 type = 0;
    QByteArray data(1024, '\0');
    quint32 size = 1024;
    QCOMPARE(registry.queryValue(key, "PATH", &type, &data, &size), Registry::ErrorSuccess);
    QCOMPARE(type, Registry::RegSz);
    // hardinfo comes before cpu-x in the list, and the size counts the closing NUL.
    QCOMPARE(data.left(size), tools.filePath(QStringLiteral("hardinfo")).toLocal8Bit() + '\0');
    QCOMPARE(registry.closeKey(key), Registry::ErrorSuccess);

    QTemporaryDir empty;
    PortableRegistry bare({empty.path()});
    QCOMPARE(bare.openKey(Registry::HKeyLocalMachine, MsInfoKey, 0x2003F, &key),
             Registry::ErrorFileNotFound);
}

void tst_About::portableRegistrySkipsRelativePathEntries()
{
    // A tool in the working folder (where the records live) and in a relative "bin" below
    // it is never taken; only the absolute folder counts.
    QTemporaryDir work;
    QTemporaryDir absolute;
    QVERIFY(QDir(work.path()).mkdir(QStringLiteral("bin")));
    const QStringList planted = {work.filePath(QStringLiteral("hardinfo")),
                                 work.filePath(QStringLiteral("bin/hardinfo2")),
                                 absolute.filePath(QStringLiteral("lshw-gtk"))};
    for (const QString &path : planted) {
        QFile tool(path);
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.setPermissions(tool.permissions() | QFile::ExeOwner);
    }
    const QByteArray savedPath = qgetenv("PATH");
    const QString savedFolder = QDir::currentPath();
    qputenv("PATH", QByteArray(".::bin:") + QFile::encodeName(absolute.path()));
    QDir::setCurrent(work.path());

    PortableRegistry registry;
    Registry::Handle key = 0;
    const long opened = registry.openKey(Registry::HKeyLocalMachine, MsInfoKey, 0x2003F, &key);
    QByteArray data(1024, '\0');
    quint32 size = 1024;
    const long read = registry.queryValue(key, "PATH", nullptr, &data, &size);

    QDir::setCurrent(savedFolder);
    qputenv("PATH", savedPath);
    QCOMPARE(opened, Registry::ErrorSuccess);
    QCOMPARE(read, Registry::ErrorSuccess);
    QCOMPARE(data.left(size), QFile::encodeName(absolute.filePath(QStringLiteral("lshw-gtk"))) + '\0');
}

QTEST_MAIN(tst_About)
#include "tst_about.moc"
