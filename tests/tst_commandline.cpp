// Runs the built game as a player's desktop or terminal would, and checks where its
// records end up and what it prints for --help and --version.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class tst_CommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void printsAndLeaves_data();
    void printsAndLeaves();
    void recordsLandInTheChosenFolder_data();
    void recordsLandInTheChosenFolder();
    void unusableDataFolderStopsTheGame();

private:
    // HOME, XDG_DATA_HOME (empty: unset) and start folder all below `scratch`.
    static QProcessEnvironment environment(const QTemporaryDir &scratch, bool withXdgDataHome);
};

QProcessEnvironment tst_CommandLine::environment(const QTemporaryDir &scratch, bool withXdgDataHome)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), scratch.filePath(QStringLiteral("home")));
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    if (withXdgDataHome)
        env.insert(QStringLiteral("XDG_DATA_HOME"), scratch.filePath(QStringLiteral("xdg-data")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

void tst_CommandLine::printsAndLeaves_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("expectedLine");

    QTest::newRow("--version gives the name and the release")
        << QStringLiteral("--version") << QStringLiteral("Marigold " MARIGOLD_VERSION);
    QTest::newRow("--help lists the data-folder option")
        << QStringLiteral("--help") << QStringLiteral("  --records-in-data-folder  Start in the player's own data folder,");
}

void tst_CommandLine::printsAndLeaves()
{
    QFETCH(QString, argument);
    QFETCH(QString, expectedLine);

    QTemporaryDir scratch;
    QProcess game;
    QProcessEnvironment env = environment(scratch, true);
    // Text answers must not need a display.
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    game.setProcessEnvironment(env);
    game.setWorkingDirectory(scratch.path());
    game.start(QStringLiteral(MARIGOLD_PROGRAM), {argument});
    QVERIFY(game.waitForFinished(10000));
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), 0);
    const QStringList lines = QString::fromLocal8Bit(game.readAllStandardOutput()).split(QLatin1Char('\n'));
    QVERIFY2(lines.contains(expectedLine), qPrintable(lines.join(QLatin1Char('\n'))));
    QVERIFY(!QDir(scratch.filePath(QStringLiteral("xdg-data/marigold"))).exists());
}

void tst_CommandLine::recordsLandInTheChosenFolder_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("withXdgDataHome");
    QTest::addColumn<QString>("recordsFolder"); // below the scratch folder
    QTest::addColumn<QString>("untouchedFolder");

    const QStringList option{QStringLiteral("--records-in-data-folder")};
    QTest::newRow("from a terminal, in the folder it starts in")
        << QStringList() << true << QStringLiteral("start") << QStringLiteral("xdg-data/marigold");
    QTest::newRow("from the desktop, in XDG_DATA_HOME/marigold")
        << option << true << QStringLiteral("xdg-data/marigold") << QStringLiteral("start/marigold");
    QTest::newRow("from the desktop without XDG_DATA_HOME, in ~/.local/share/marigold")
        << option << false << QStringLiteral("home/.local/share/marigold") << QStringLiteral("start/marigold");
}

void tst_CommandLine::recordsLandInTheChosenFolder()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, withXdgDataHome);
    QFETCH(QString, recordsFolder);
    QFETCH(QString, untouchedFolder);

    QTemporaryDir scratch;
    QVERIFY(QDir(scratch.path()).mkpath(QStringLiteral("start")));
    QVERIFY(QDir(scratch.path()).mkpath(QStringLiteral("home")));
    QProcess game;
    game.setProcessEnvironment(environment(scratch, withXdgDataHome));
    game.setWorkingDirectory(scratch.filePath(QStringLiteral("start")));
    game.start(QStringLiteral(MARIGOLD_PROGRAM), arguments);
    QVERIFY(game.waitForStarted());

    // Reading the records at start-up creates the files that are missing.
    const QString scores = scratch.filePath(recordsFolder + QStringLiteral("/zelscores.dat"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(scores) || game.state() == QProcess::NotRunning, 20000);
    const QString folderInUse = QFile::symLinkTarget(QStringLiteral("/proc/%1/cwd").arg(game.processId()));
    game.kill();
    game.waitForFinished();
    QVERIFY2(QFile::exists(scores), game.readAllStandardError().constData());
    QCOMPARE(folderInUse, QDir(scratch.filePath(recordsFolder)).canonicalPath());
    QVERIFY(!QFileInfo::exists(scratch.filePath(untouchedFolder)));
}

void tst_CommandLine::unusableDataFolderStopsTheGame()
{
    QTemporaryDir scratch;
    QFile blocker(scratch.filePath(QStringLiteral("xdg-data")));
    QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should go
    blocker.close();

    QProcess game;
    game.setProcessEnvironment(environment(scratch, true));
    game.setWorkingDirectory(scratch.path());
    game.start(QStringLiteral(MARIGOLD_PROGRAM), {QStringLiteral("--records-in-data-folder")});
    QVERIFY(game.waitForFinished(20000));
    QCOMPARE(game.exitCode(), 1);
    QVERIFY(game.readAllStandardError().contains("xdg-data/marigold"));
    QVERIFY(!QFileInfo::exists(scratch.filePath(QStringLiteral("zelscores.dat"))));
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
