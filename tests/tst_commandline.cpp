// Runs the built game as a desktop or terminal would: where its records go, what --help and --version print.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class tst_CommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void run_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<bool>("withXdgDataHome");
        QTest::addColumn<int>("exitCode"); // -1: keeps running
        // A line of its output, part of its errors when it fails, or where its records go; all paths below scratch.
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("untouched");
        const char *desktop = "--records-in-data-folder";
        QTest::newRow("--version gives the name and the release")
            << "--version" << true << 0 << "Marigold " MARIGOLD_VERSION << "xdg-data/marigold";
        QTest::newRow("--help lists the data-folder option") << "--help" << true << 0
            << "  --records-in-data-folder  Start in the player's own data folder," << "xdg-data/marigold";
        QTest::newRow("from a terminal, in the folder it starts in") << "" << true << -1 << "start" << "xdg-data/marigold";
        QTest::newRow("from the desktop, in XDG_DATA_HOME/marigold")
            << desktop << true << -1 << "xdg-data/marigold" << "start/marigold";
        QTest::newRow("from the desktop without XDG_DATA_HOME, in ~/.local/share/marigold")
            << desktop << false << -1 << "home/.local/share/marigold" << "start/marigold";
        QTest::newRow("an unusable data folder (a file in its way) stops the game")
            << desktop << true << 1 << "xdg-data/marigold" << "start/zelscores.dat";
    }

    void run()
    {
        QFETCH(QString, argument); QFETCH(bool, withXdgDataHome); QFETCH(int, exitCode);
        QFETCH(QString, expected); QFETCH(QString, untouched);
        QTemporaryDir scratch;
        QVERIFY(QDir(scratch.path()).mkpath(QStringLiteral("start")) && QDir(scratch.path()).mkpath(QStringLiteral("home")));
        if (exitCode == 1) // a file where the data folder should go
            QVERIFY(QFile(scratch.filePath(QStringLiteral("xdg-data"))).open(QIODevice::WriteOnly));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), scratch.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), scratch.filePath(QStringLiteral("xdg-data")));
        if (!withXdgDataHome)
            env.remove(QStringLiteral("XDG_DATA_HOME"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), exitCode == 0 ? u"xcb"_qs : u"offscreen"_qs);
        for (const char *display : {"DISPLAY", "WAYLAND_DISPLAY"}) // text answers must not need a display
            if (exitCode == 0) env.remove(QString::fromLatin1(display));
        QProcess game;
        game.setProcessEnvironment(env);
        game.setWorkingDirectory(scratch.filePath(QStringLiteral("start")));
        game.start(QStringLiteral(MARIGOLD_PROGRAM), argument.isEmpty() ? QStringList() : QStringList(argument));
        if (exitCode < 0) { // reading the records at start-up creates the files that are missing
            const QString scores = scratch.filePath(expected + QStringLiteral("/zelscores.dat"));
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(scores) || game.state() == QProcess::NotRunning, 20000);
            const QString folderInUse = QFile::symLinkTarget(QStringLiteral("/proc/%1/cwd").arg(game.processId()));
            game.kill();
            game.waitForFinished();
            QVERIFY2(QFile::exists(scores), game.readAllStandardError().constData());
            QCOMPARE(folderInUse, QDir(scratch.filePath(expected)).canonicalPath());
        } else {
            QVERIFY(game.waitForFinished(20000));
            QVERIFY(game.exitStatus() == QProcess::NormalExit && game.exitCode() == exitCode);
            const QString out = QString::fromLocal8Bit(exitCode ? game.readAllStandardError() : game.readAllStandardOutput());
            QVERIFY2(exitCode ? out.contains(expected) : out.split(u'\n').contains(expected), qPrintable(out));
        }
        QVERIFY(!QFileInfo::exists(scratch.filePath(untouched)));
    }
};

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
