// Runs the built game as a desktop or terminal would: what it prints, when it stops and where its records go.
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
        // What it prints when it stops (in part), or where its records go below scratch, XDG_DATA_HOME
        // being scratch/xdg; an exit code of -1: it keeps running.
        QTest::addColumn<QString>("arg");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("result");
        QTest::newRow("--version: name and release") << "--version" << 0 << "Marigold " MARIGOLD_VERSION;
        QTest::newRow("--help: lists the option") << "--help" << 0 << "--records-in-data-folder  Start in";
        QTest::newRow("an unknown option stops it") << "--frobnicate" << 1 << "Unknown option 'frobnicate'.";
        QTest::newRow("terminal: in the folder it starts in") << "" << -1 << ".";
        QTest::newRow("desktop: in its data folder") << "--records-in-data-folder" << -1 << "xdg/marigold";
        QTest::newRow("desktop: unusable") << "--records-in-data-folder" << 1 << "use /dev/null/marigold";
    }

    void run()
    {
        QFETCH(QString, arg);
        QFETCH(int, code);
        QFETCH(QString, result);
        QTemporaryDir scratch;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // The rows that stop find a data folder that cannot be made.
        env.insert(u"XDG_DATA_HOME"_qs, code == 1 ? u"/dev/null"_qs : scratch.filePath(u"xdg"_qs));
        // Text answers must not need a display.
        env.insert(u"QT_QPA_PLATFORM"_qs, code == 0 ? u"xcb"_qs : u"offscreen"_qs);
        env.remove(u"DISPLAY"_qs);
        QProcess game;
        game.setProcessEnvironment(env);
        game.setWorkingDirectory(scratch.path());
        game.start(QStringLiteral(MARIGOLD_PROGRAM), arg.split(u' ', Qt::SkipEmptyParts));
        // Reading the records at start-up creates the files that are missing.
        const QString scores = scratch.filePath(result + u"/zelscores.dat"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(scores) || game.state() == QProcess::NotRunning, 20000);
        const QByteArray out = code ? game.readAllStandardError() : game.readAllStandardOutput();
        QCOMPARE(game.state() == QProcess::Running ? -1 : game.exitCode(), code);
        game.close();
        QVERIFY2(code < 0 ? QFile::exists(scores) : out.contains(result.toUtf8()), out.constData());
    }
};

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
