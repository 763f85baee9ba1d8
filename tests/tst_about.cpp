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
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <memory>

namespace {

constexpr quint32 Hklm = 0x80000002u;
constexpr quint32 RegBinary = 3;
constexpr quint32 RegExpandSz = 2;
constexpr quint32 RegMultiSz = 7;

const QByteArray MsInfoKey = QByteArrayLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QByteArray LocationKey = QByteArrayLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString Unavailable = QStringLiteral("System Information Is Unavailable At This Time");

// The whole set of windows over fakes; the registry can be swapped before the
// windows are first asked for.
struct AboutFixture
{
    explicit AboutFixture(Registry *registryInUse = nullptr,
                          ProgramLauncher *launcherInUse = nullptr)
        : records(dir.path())
    {
        services.clock = &clock;
        services.prompts = &prompts;
        services.records = &records;
        services.registry = registryInUse ? registryInUse : &registry;
        services.launcher = launcherInUse ? launcherInUse : &launcher;
        forms = std::make_unique<Forms>(services);
    }

    ~AboutFixture()
    {
        forms.reset();
        deleteUnloadedWindows();
    }

    // Opens the box the way the player does, from the menu.
    frmAbout *openAbout()
    {
        forms->menu()->show();
        forms->menu()->cmdAbout_Click();
        return forms->about();
    }

    static void deleteUnloadedWindows()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QTemporaryDir dir;
    FakeClock clock;
    FakePrompts prompts;
    RecordFiles records;
    FakeRegistry registry;
    FakeProgramLauncher launcher;
    Services services;
    std::unique_ptr<Forms> forms;
};

QString labelText(QWidget *window, const char *name)
{
    auto *label = window->findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

QByteArray dword(quint32 number)
{
    QByteArray bytes(4, '\0');
    for (int index = 0; index < 4; ++index)
        bytes[index] = char((number >> (8 * index)) & 0xFF);
    return bytes;
}

void makeExecutable(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot create %s", qPrintable(path));
    file.write("#!/bin/sh\n");
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

enum class Closing { OkClicked, EnterPressed, EscapePressed, CloseBox, ClosedByProgram };

} // namespace

Q_DECLARE_METATYPE(Closing)

class tst_About : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void readsRegistryValues_data();
    void readsRegistryValues();
    void leavesValueOfOtherTypesAsItWas_data();
    void leavesValueOfOtherTypesAsItWas();
    void failsWithEmptyValue_data();
    void failsWithEmptyValue();

    void startsFirstEntryAsReadWithoutCheckingItExists();
    void appendsProgramNameToFolderOfSecondEntry_data();
    void appendsProgramNameToFolderOfSecondEntry();
    void saysSystemInfoIsUnavailable_data();
    void saysSystemInfoIsUnavailable();
    void systemInfoButtonAnswersItsAccessKey();

    void startsFirstSystemInfoProgramFoundOnSearchPath();
    void saysUnavailableWhenNoSystemInfoProgramIsInstalled();
    void findsProgramInFolderWithBackslashTakenLiterally();

    void showsSameCaptionsEachTimeItIsOpened();
    void closingLeadsBackToMenu_data();
    void closingLeadsBackToMenu();
};

void tst_About::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Marigold"));
}

void tst_About::readsRegistryValues_data()
{
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("expected");

    QTest::newRow("a string loses the NUL stored at its end")
        << Registry::RegSz << QByteArrayLiteral("C:\\Tools\\info.exe\0")
        << QStringLiteral("C:\\Tools\\info.exe");
    QTest::newRow("a string stored without a NUL keeps every character")
        << Registry::RegSz << QByteArrayLiteral("C:\\Tools\\info.exe")
        << QStringLiteral("C:\\Tools\\info.exe");
    QTest::newRow("a string stored with two NULs loses only the last")
        << Registry::RegSz << QByteArrayLiteral("abc\0\0")
        << QStringLiteral("abc").append(QChar(0));
    QTest::newRow("a string filling the buffer with its NUL is read")
        << Registry::RegSz << QByteArray(1023, 'x') + '\0' << QString(1023, QLatin1Char('x'));
    QTest::newRow("a string filling the buffer without a NUL is read whole")
        << Registry::RegSz << QByteArray(1024, 'x') << QString(1024, QLatin1Char('x'));
    QTest::newRow("a string of no bytes reads as empty")
        << Registry::RegSz << QByteArray() << QString();
    QTest::newRow("a lone NUL reads as empty")
        << Registry::RegSz << QByteArrayLiteral("\0") << QString();
    QTest::newRow("a number is written in decimal")
        << Registry::RegDword << dword(305419896) << QStringLiteral("305419896");
    QTest::newRow("a number whose top byte is zero keeps its value")
        << Registry::RegDword << dword(123456) << QStringLiteral("123456");
    QTest::newRow("a number with its top bit set is unsigned")
        << Registry::RegDword << dword(0x80000001u) << QStringLiteral("2147483649");
    QTest::newRow("zero is written as 0") << Registry::RegDword << dword(0) << QStringLiteral("0");
}

void tst_About::readsRegistryValues()
{
    QFETCH(quint32, type);
    QFETCH(QByteArray, stored);
    QFETCH(QString, expected);
    AboutFixture fixture;
    fixture.registry.setValue(Hklm, "SOFTWARE\\Example", "Value", type, stored);

    QString value = QStringLiteral("previous");
    const bool read = fixture.forms->about()->GetKeyValue(Hklm, QStringLiteral("SOFTWARE\\Example"),
                                                          QStringLiteral("Value"), value);

    QVERIFY(read);
    QCOMPARE(value, expected);
    QCOMPARE(fixture.registry.openKeyCount(), 0);
}

void tst_About::leavesValueOfOtherTypesAsItWas_data()
{
    QTest::addColumn<quint32>("type");

    QTest::newRow("binary data") << RegBinary;
    QTest::newRow("a string with variables to expand") << RegExpandSz;
    QTest::newRow("a list of strings") << RegMultiSz;
}

void tst_About::leavesValueOfOtherTypesAsItWas()
{
    QFETCH(quint32, type);
    AboutFixture fixture;
    fixture.registry.setValue(Hklm, "SOFTWARE\\Example", "Value", type,
                              QByteArrayLiteral("C:\\Other\0"));

    QString value = QStringLiteral("previous");
    const bool read = fixture.forms->about()->GetKeyValue(Hklm, QStringLiteral("SOFTWARE\\Example"),
                                                          QStringLiteral("Value"), value);

    QVERIFY(read);
    QCOMPARE(value, QStringLiteral("previous"));
    QCOMPARE(fixture.registry.openKeyCount(), 0);
}

void tst_About::failsWithEmptyValue_data()
{
    QTest::addColumn<quint32>("root");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name");

    QTest::newRow("the key is missing")
        << Hklm << QStringLiteral("SOFTWARE\\Missing") << QStringLiteral("Value");
    QTest::newRow("the key is under another root")
        << 0x80000001u << QStringLiteral("SOFTWARE\\Example") << QStringLiteral("Value");
    QTest::newRow("the value is missing")
        << Hklm << QStringLiteral("SOFTWARE\\Example") << QStringLiteral("Missing");
    QTest::newRow("the value is longer than the buffer")
        << Hklm << QStringLiteral("SOFTWARE\\Example") << QStringLiteral("Long");
}

void tst_About::failsWithEmptyValue()
{
    QFETCH(quint32, root);
    QFETCH(QString, key);
    QFETCH(QString, name);
    AboutFixture fixture;
    fixture.registry.setString(Hklm, "SOFTWARE\\Example", "Value", "C:\\Tools");
    fixture.registry.setValue(Hklm, "SOFTWARE\\Example", "Long", Registry::RegSz,
                              QByteArray(1024, 'x') + '\0');

    QString value = QStringLiteral("previous");
    const bool read = fixture.forms->about()->GetKeyValue(root, key, name, value);

    QVERIFY(!read);
    QCOMPARE(value, QString());
    QCOMPARE(fixture.registry.openKeyCount(), 0);
}

void tst_About::startsFirstEntryAsReadWithoutCheckingItExists()
{
    AboutFixture fixture;
    const QByteArray program =
        "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
    fixture.registry.setString(Hklm, MsInfoKey, "PATH", program);
    fixture.registry.setString(Hklm, LocationKey, "MSINFO", "C:\\Elsewhere");
    fixture.launcher.existingFiles.insert(QStringLiteral("C:\\Elsewhere\\MSINFO32.EXE"));

    fixture.forms->about()->StartSysInfo();

    QCOMPARE(fixture.launcher.starts, QStringList{QString::fromLatin1(program)});
    QCOMPARE(fixture.launcher.existenceChecks, QStringList());
    QCOMPARE(fixture.prompts.messages, QStringList());
}

void tst_About::appendsProgramNameToFolderOfSecondEntry_data()
{
    QTest::addColumn<QByteArray>("folder");
    QTest::addColumn<QString>("program");

    QTest::newRow("a folder without a final backslash")
        << QByteArrayLiteral("C:\\MSINFO") << QStringLiteral("C:\\MSINFO\\MSINFO32.EXE");
    QTest::newRow("a folder ending in a backslash gets a second one")
        << QByteArrayLiteral("C:\\MSINFO\\") << QStringLiteral("C:\\MSINFO\\\\MSINFO32.EXE");
}

void tst_About::appendsProgramNameToFolderOfSecondEntry()
{
    QFETCH(QByteArray, folder);
    QFETCH(QString, program);
    AboutFixture fixture;
    fixture.registry.setString(Hklm, LocationKey, "MSINFO", folder);
    fixture.launcher.existingFiles.insert(program);

    fixture.forms->about()->StartSysInfo();

    QCOMPARE(fixture.launcher.existenceChecks, QStringList{program});
    QCOMPARE(fixture.launcher.starts, QStringList{program});
    QCOMPARE(fixture.prompts.messages, QStringList());
}

void tst_About::saysSystemInfoIsUnavailable_data()
{
    QTest::addColumn<QByteArray>("firstEntry");  // null when absent
    QTest::addColumn<QByteArray>("secondEntry"); // null when absent
    QTest::addColumn<QStringList>("existingFiles");
    QTest::addColumn<bool>("startSucceeds");
    QTest::addColumn<QStringList>("starts");

    const QString inFolder = QStringLiteral("C:\\MSINFO\\MSINFO32.EXE");
    QTest::newRow("neither entry is present")
        << QByteArray() << QByteArray() << QStringList() << true << QStringList();
    QTest::newRow("the folder of the second entry holds no program")
        << QByteArray() << QByteArrayLiteral("C:\\MSINFO") << QStringList() << true
        << QStringList();
    QTest::newRow("the program of the first entry fails to start")
        << QByteArrayLiteral("C:\\MSINFO\\msinfo32.exe") << QByteArray() << QStringList() << false
        << QStringList{QStringLiteral("C:\\MSINFO\\msinfo32.exe")};
    QTest::newRow("the first entry fails to start even with a second to fall back on")
        << QByteArrayLiteral("C:\\Gone\\msinfo32.exe") << QByteArrayLiteral("C:\\MSINFO")
        << QStringList{inFolder} << false << QStringList{QStringLiteral("C:\\Gone\\msinfo32.exe")};
    QTest::newRow("the program in the folder of the second entry fails to start")
        << QByteArray() << QByteArrayLiteral("C:\\MSINFO") << QStringList{inFolder} << false
        << QStringList{inFolder};
    QTest::newRow("the first entry is empty")
        << QByteArrayLiteral("") << QByteArray() << QStringList() << true << QStringList();
}

void tst_About::saysSystemInfoIsUnavailable()
{
    QFETCH(QByteArray, firstEntry);
    QFETCH(QByteArray, secondEntry);
    QFETCH(QStringList, existingFiles);
    QFETCH(bool, startSucceeds);
    QFETCH(QStringList, starts);
    AboutFixture fixture;
    if (!firstEntry.isNull())
        fixture.registry.setString(Hklm, MsInfoKey, "PATH", firstEntry);
    if (!secondEntry.isNull())
        fixture.registry.setString(Hklm, LocationKey, "MSINFO", secondEntry);
    fixture.launcher.existingFiles = QSet<QString>(existingFiles.cbegin(), existingFiles.cend());
    fixture.launcher.startSucceeds = startSucceeds;
    frmAbout *box = fixture.openAbout();

    box->StartSysInfo();

    QCOMPARE(fixture.prompts.messages, QStringList{Unavailable});
    QCOMPARE(fixture.launcher.starts, starts);
    QVERIFY(fixture.forms->isAboutLoaded());
    QVERIFY(box->isVisible());
}

void tst_About::systemInfoButtonAnswersItsAccessKey()
{
    AboutFixture fixture;
    fixture.registry.setString(Hklm, MsInfoKey, "PATH", "C:\\MSINFO\\msinfo32.exe");
    frmAbout *box = fixture.openAbout();
    box->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(box));

    QTest::keyClick(box, Qt::Key_S, Qt::AltModifier);

    // A button pressed by its access key shows itself pressed for a moment first.
    QTRY_COMPARE(fixture.launcher.starts, QStringList{QStringLiteral("C:\\MSINFO\\msinfo32.exe")});
}

void tst_About::startsFirstSystemInfoProgramFoundOnSearchPath()
{
    QTemporaryDir tools;
    makeExecutable(tools.filePath(QStringLiteral("lshw-gtk")));
    makeExecutable(tools.filePath(QStringLiteral("hardinfo")));
    PortableRegistry registry({tools.path()});
    AboutFixture fixture(&registry);

    fixture.forms->about()->StartSysInfo();

    QCOMPARE(fixture.launcher.starts, QStringList{tools.filePath(QStringLiteral("hardinfo"))});
    QCOMPARE(fixture.prompts.messages, QStringList());
}

void tst_About::saysUnavailableWhenNoSystemInfoProgramIsInstalled()
{
    QTemporaryDir tools;
    QFile notAProgram(tools.filePath(QStringLiteral("kinfocenter")));
    QVERIFY(notAProgram.open(QIODevice::WriteOnly));
    notAProgram.close();
    PortableRegistry registry({tools.path()});
    AboutFixture fixture(&registry);

    fixture.forms->about()->StartSysInfo();

    QCOMPARE(fixture.prompts.messages, QStringList{Unavailable});
    QCOMPARE(fixture.launcher.starts, QStringList());
}

void tst_About::findsProgramInFolderWithBackslashTakenLiterally()
{
#if defined(Q_OS_WIN)
    QSKIP("A backslash separates folders here.");
#else
    // The system's own file test, with starting recorded rather than done.
    class RecordingLauncher : public ProgramLauncher
    {
    public:
        bool start(const QString &program) override
        {
            starts.append(program);
            return true;
        }
        QStringList starts;
    };

    QTemporaryDir tools;
    const QString program = tools.filePath(QStringLiteral("msinfo\\MSINFO32.EXE"));
    QFile file(program);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    RecordingLauncher launcher;
    AboutFixture fixture(nullptr, &launcher);
    fixture.registry.setString(Hklm, LocationKey, "MSINFO",
                               QFile::encodeName(tools.filePath(QStringLiteral("msinfo"))));

    fixture.forms->about()->StartSysInfo();

    QCOMPARE(launcher.starts, QStringList{program});
    QCOMPARE(fixture.prompts.messages, QStringList());
#endif
}

void tst_About::showsSameCaptionsEachTimeItIsOpened()
{
    AboutFixture fixture;
    for (int opening = 1; opening <= 2; ++opening) {
        QPointer<frmAbout> box = fixture.openAbout();

        QCOMPARE(box->windowTitle(), QStringLiteral("About Marigold"));
        QCOMPARE(labelText(box, "lblVersion"), QStringLiteral("Version 1.1.5"));
        QCOMPARE(labelText(box, "lblTitle"), QStringLiteral("Marigold"));

        box->cmdOK_Click();
        AboutFixture::deleteUnloadedWindows();
        QVERIFY(box.isNull());
    }
}

void tst_About::closingLeadsBackToMenu_data()
{
    QTest::addColumn<Closing>("closing");

    QTest::newRow("OK is clicked") << Closing::OkClicked;
    QTest::newRow("Enter is pressed") << Closing::EnterPressed;
    QTest::newRow("Escape is pressed") << Closing::EscapePressed;
    QTest::newRow("the frame's close box is used") << Closing::CloseBox;
    QTest::newRow("the program closes it") << Closing::ClosedByProgram;
}

void tst_About::closingLeadsBackToMenu()
{
    QFETCH(Closing, closing);
    AboutFixture fixture;
    QPointer<frmAbout> box = fixture.openAbout();
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QVERIFY(!fixture.forms->menu()->isVisible());

    switch (closing) {
    case Closing::OkClicked:
        QTest::mouseClick(box->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
        break;
    case Closing::EnterPressed:
        QTest::keyClick(box, Qt::Key_Return);
        break;
    case Closing::EscapePressed:
        QTest::keyClick(box, Qt::Key_Escape);
        break;
    case Closing::CloseBox: {
        // The window system's close arrives at the window, not the widget.
        QCloseEvent closeBox;
        QCoreApplication::sendEvent(box->windowHandle(), &closeBox);
        break;
    }
    case Closing::ClosedByProgram:
        box->close();
        break;
    }

    QVERIFY(!fixture.forms->isAboutLoaded());
    QVERIFY(fixture.forms->menu()->isVisible());
    AboutFixture::deleteUnloadedWindows();
    QVERIFY(box.isNull());
    QCOMPARE(fixture.prompts.messages, QStringList());
}

QTEST_MAIN(tst_About)
#include "tst_about.moc"
