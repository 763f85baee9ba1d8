// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fakeprogramlauncher.h"
#include "support/fakeregistry.h"
#include "support/gamefixture.h"
#include "support/userinput.h"
#include "platform/portableregistry.h"
#include "windows/frmabout.h"
#include "windows/frmmenu.h"

#include <QDir>
#include <QPushButton>
#include <QTest>

namespace {
const QByteArray MsInfoKey = QByteArrayLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");

// A game whose about box reads the given registry, a fake one unless told, and starts nothing.
struct AboutGame : GameFixture
{
    explicit AboutGame(Registry *system = nullptr)
    {
        services.registry = system ? system : &registry;
        services.launcher = &launcher;
        forms = std::make_unique<Forms>(services);
    }
    bool pressSystemInfo()
    {
        return click("cmdMenu") && UserInput::click(forms->menu()->findChild<QPushButton *>("cmdAbout"))
            && UserInput::click(forms->about()->findChild<QPushButton *>("cmdSysInfo"));
    }
    FakeRegistry registry;
    FakeProgramLauncher launcher;
};
} // namespace

class tst_About : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsTheRegistryAndStartsSystemInfo_data()
    {
        // The PATH entry as stored (null: absent) and the folder entry; the text read (null: the read fails);
        // what System Info starts (null: nothing, "!": the start fails).
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<QByteArray>("read");
        QTest::addColumn<QString>("starts");
        const QByteArray none, x1024(1024, 'x'), dir = "C:\\MSINFO\\", path = QByteArrayLiteral("C:\\i\0");
        const quint32 sz = Registry::RegSz, dword = Registry::RegDword;
        const auto row = [](const char *name, quint32 type, QByteArray first, QByteArray folder, QByteArray read,
                            QString starts) { QTest::newRow(name) << type << first << folder << read << starts; };
        row("two NULs lose only the last; started though no file is known", sz, path + '\0', dir, path, QString(path));
        row("1024 bytes read whole", sz, x1024, none, x1024, QString(x1024));
        row("a zero top byte reads in decimal", dword, QByteArray::fromHex("40e20100"), none, "123456", "123456");
        row("a number with its top bit set is unsigned", dword, QByteArray::fromHex("01000080"), none, "2147483649",
            "2147483649");
        row("binary leaves the text, and an entry with no text starts nothing", 3, path, dir, "previous", QString());
        row("a missing key reads as nothing; the folder's \\ doubles; the start fails", sz, none, dir, none,
            "!C:\\MSINFO\\\\MSINFO32.EXE");
        row("over 1024 bytes read as nothing, and the folder holds no program", sz, x1024 + '\0', "C:\\", none, {});
    }
    void readsTheRegistryAndStartsSystemInfo()
    {
        QFETCH(quint32, type);
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, folder);
        QFETCH(QByteArray, read);
        QFETCH(QString, starts);
        AboutGame game;
        if (!first.isNull())
            game.registry.setValue(MsInfoKey, "PATH", type, first);
        if (!folder.isNull())
            game.registry.setValue("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", Registry::RegSz,
                                   folder + '\0');
        game.launcher.existingFiles = {"C:\\MSINFO\\\\MSINFO32.EXE"};
        game.launcher.startSucceeds = !starts.startsWith('!');
        QString text = QStringLiteral("previous");
        QCOMPARE(game.forms->about()->GetKeyValue(Registry::HKeyLocalMachine, MsInfoKey, "PATH", text), !read.isNull());
        QCOMPARE(text.toLocal8Bit(), read);
        QVERIFY(game.pressSystemInfo());
        QCOMPARE(game.launcher.starts, starts.isNull() ? QStringList() : QStringList{starts.remove('!')});
        const QStringList unavailable{"System Information Is Unavailable At This Time"};
        QCOMPARE(game.prompts.messages, starts.isNull() || !game.launcher.startSucceeds ? unavailable : QStringList());
        QCOMPARE(game.registry.openKeyCount(), 0);
    }
    void portableRegistryNamesTheFirstToolOnTheAbsolutePath()
    {
        QTemporaryDir work, absolute; // hardinfo2 ranks above hardinfo, hardinfo above cpu-x; "." is never searched
        const QString best = absolute.filePath("hardinfo");
        for (const QString &tool : {work.filePath("hardinfo2"), absolute.filePath("cpu-x"), best})
            QVERIFY(QFile::link(QCoreApplication::applicationFilePath(), tool));
        const QByteArray savedPath = qgetenv("PATH");
        const QString savedFolder = QDir::currentPath();
        QDir::setCurrent(work.path());
        qputenv("PATH", ".::" + QFile::encodeName(absolute.path()));
        PortableRegistry registry;
        AboutGame game(&registry);
        QVERIFY(game.pressSystemInfo());
        qputenv("PATH", "."); // no absolute folder at all
        Registry::Handle key = 0;
        const long opened = registry.openKey(Registry::HKeyLocalMachine, MsInfoKey, 0, &key);
        QDir::setCurrent(savedFolder);
        qputenv("PATH", savedPath);
        QCOMPARE(game.launcher.starts, QStringList{best});
        QCOMPARE(opened, Registry::ErrorFileNotFound);
    }
};

QTEST_MAIN(tst_About)
#include "tst_about.moc"
