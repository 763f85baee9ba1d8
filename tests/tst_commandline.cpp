// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the built game as a desktop or terminal would: what it prints, when it stops and where its records go.
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Every path below the folder, links not followed, with its size: what a run may have written.
QStringList everythingIn(const QString &folder)
{
    QStringList found;
    for (QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        it.next();
        found << it.filePath() + u' ' + QString::number(it.fileInfo().isSymLink() ? 0 : it.fileInfo().size());
    }
    found.sort();
    return found;
}

// Starts the game in the scratch folder, XDG_DATA_HOME and HOME given with {s} for the scratch
// folder and "-" for unset, on the X display given or none.
QProcess *startGame(const QString &scratch, const QString &dataHome, const QString &home, const QString &arg,
                    const QString &platform = u"offscreen"_qs, const QString &display = QString())
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] : {std::pair{u"XDG_DATA_HOME"_qs, dataHome}, {u"HOME"_qs, home}}) {
        if (value == u"-")
            env.remove(name);
        else
            env.insert(name, QString(value).replace(u"{s}"_qs, scratch));
    }
    env.insert(u"QT_QPA_PLATFORM"_qs, platform);
    env.insert(u"DISPLAY"_qs, display);
    auto *game = new QProcess;
    game->setProcessEnvironment(env);
    game->setWorkingDirectory(scratch);
    game->start(QStringLiteral(MARIGOLD_PROGRAM), arg.split(u' ', Qt::SkipEmptyParts));
    return game;
}

QString output(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

} // namespace

class tst_CommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void run_data()
    {
        // What it prints when it stops (in part), or where its records go below scratch; an exit
        // code of -1: it keeps running.
        QTest::addColumn<QString>("arg");
        QTest::addColumn<QString>("dataHome"); // XDG_DATA_HOME; HOME is scratch/home
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("result");
        QTest::newRow("--version: name and release") << "--version" << "{s}/xdg" << 0 << "Marigold " MARIGOLD_VERSION;
        QTest::newRow("--help: lists the option") << "--help" << "{s}/xdg" << 0 << "--records-in-data-folder  Start in";
        QTest::newRow("an unknown option stops it") << "--frobnicate" << "{s}/xdg" << 1
                                                     << "Unknown option 'frobnicate'.";
        QTest::newRow("terminal: in the folder it starts in") << "" << "{s}/xdg" << -1 << ".";
        QTest::newRow("desktop: in its data folder") << "--records-in-data-folder" << "{s}/xdg" << -1 << "xdg/marigold";
        QTest::newRow("desktop: a relative XDG_DATA_HOME is ignored") << "--records-in-data-folder" << "xdg" << -1
                                                                      << "home/.local/share/marigold";
    }

    void run()
    {
        QFETCH(QString, arg);
        QFETCH(QString, dataHome);
        QFETCH(int, code);
        QFETCH(QString, result);
        QTemporaryDir scratch;
        QVERIFY(QDir(scratch.path()).mkdir(u"home"_qs));
        // Text answers must not need a display.
        QScopedPointer<QProcess> game(startGame(scratch.path(), dataHome, u"{s}/home"_qs, arg,
                                                code == 0 ? u"xcb"_qs : u"offscreen"_qs));
        // Reading the records at start-up creates the files that are missing.
        const QString scores = scratch.filePath(result + u"/zelscores.dat"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(scores) || game->state() == QProcess::NotRunning, 20000);
        const QByteArray out = code ? game->readAllStandardError() : game->readAllStandardOutput();
        QCOMPARE(game->state() == QProcess::Running ? -1 : game->exitCode(), code);
        game->close();
        QVERIFY2(code < 0 ? QFile::exists(scores) : out.contains(result.toUtf8()), out.constData());
        QVERIFY(!QFile::exists(scratch.filePath(u"xdg/marigold"_qs)) || dataHome != u"xdg");
    }

    void unusableDataFolderIsToldAndTheGamePlaysOn_data()
    {
        // The start folder is scratch, which holds "file", "gone" (a dangling link), "home" and
        // "ro/marigold" (read-only); HOME, where it is not the subject, is scratch/home.
        QTest::addColumn<QString>("dataHome");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("told"); // folder and reason
        QTest::newRow("XDG_DATA_HOME is a file") << "{s}/file" << "{s}/home"
                                                 << "in \"{s}/file/marigold\" because \"{s}/file\" is not a folder.";
        QTest::newRow("XDG_DATA_HOME is a dangling link")
            << "{s}/gone" << "{s}/home"
            << "in \"{s}/gone/marigold\" because \"{s}/gone\" is a link to something that is not there.";
        QTest::newRow("HOME is a file") << "-" << "{s}/file"
            << "in \"{s}/file/.local/share/marigold\" because the home folder \"{s}/file\" is not a folder.";
        QTest::newRow("HOME is a dangling link") << "-" << "{s}/gone"
            << "in \"{s}/gone/.local/share/marigold\" because the home folder \"{s}/gone\" does not exist.";
        QTest::newRow("HOME is missing") << "-" << "{s}/missing"
            << "in \"{s}/missing/.local/share/marigold\" because the home folder \"{s}/missing\" does not exist.";
        QTest::newRow("HOME is not set") << "-" << "-"
            << "in \"~/.local/share/marigold\" because HOME is not set, so there is no home folder.";
        QTest::newRow("the data folder is read-only") << "{s}/ro" << "{s}/home"
            << (::geteuid() == 0 ? "in \"{s}/ro/marigold\" because it is on a read-only disk."
                                 : "in \"{s}/ro/marigold\" because it cannot be written to: permission denied.");
    }

    void unusableDataFolderIsToldAndTheGamePlaysOn()
    {
        QFETCH(QString, dataHome);
        QFETCH(QString, home);
        QFETCH(QString, told);
        QTemporaryDir scratch;
        const QString readOnly = scratch.filePath(u"ro/marigold"_qs);
        QDir(scratch.path()).mkpath(u"home"_qs);
        QDir(scratch.path()).mkpath(readOnly);
        QFile(scratch.filePath(u"file"_qs)).open(QIODevice::WriteOnly);
        QFile::link(scratch.filePath(u"nowhere"_qs), scratch.filePath(u"gone"_qs));
        // Root writes through any mode, so for root the folder is mounted read-only.
        const QByteArray ro = QFile::encodeName(readOnly);
        const bool mounted = ::geteuid() == 0 && ::mount(ro, ro, nullptr, MS_BIND, nullptr) == 0;
        const auto unmount = qScopeGuard([&] { if (mounted) ::umount2(ro, MNT_DETACH); });
        if (::geteuid() == 0 && (!mounted || ::mount(nullptr, ro, nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr)))
            QSKIP("SKIPPED: a read-only bind mount is not allowed here");
        ::chmod(ro, 0555);
        const QString rootData = u"/.local/share/marigold"_qs; // where Qt would put it with no HOME
        const bool rootDataBefore = QFileInfo::exists(rootData);
        const QStringList before = everythingIn(scratch.path());

        QScopedPointer<QProcess> game(startGame(scratch.path(), dataHome, home, u"--records-in-data-folder"_qs));
        QByteArray err;
        QTRY_VERIFY_WITH_TIMEOUT((err += game->readAllStandardError()).contains("until it closes.\n")
                                     || game->state() == QProcess::NotRunning, 20000);
        // Told once the table is up; and it plays on, under the window that tells it.
        QCOMPARE(game->state(), QProcess::Running);
        const QString expected = u"marigold: Marigold cannot keep its records "_qs + told;
        QVERIFY2(QString::fromLocal8Bit(err).contains(QString(expected).replace(u"{s}"_qs, scratch.path())),
                 err.constData());
        QCOMPARE(everythingIn(scratch.path()), before);
        QCOMPARE(QFileInfo::exists(rootData), rootDataBefore);
        game->kill();
        game->waitForFinished();
    }

    // With a display: the window comes up over the table, Enter answers it, and the table deals.
    void theWindowComesUpOverAPlayableTable()
    {
        for (const char *tool : {"Xvfb", "xdotool"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
                qInfo("SKIPPED: %s is not installed", tool);
                QSKIP("needs Xvfb and xdotool");
            }
        }
        QProcess xvfb;
        xvfb.start(u"Xvfb"_qs, {u"-displayfd"_qs, u"1"_qs, u"-screen"_qs, u"0"_qs, u"800x600x24"_qs,
                                u"-nolisten"_qs, u"tcp"_qs});
        QTRY_VERIFY_WITH_TIMEOUT(xvfb.canReadLine() || xvfb.state() == QProcess::NotRunning, 20000);
        const QString display = u":"_qs + QString::fromLatin1(xvfb.readLine()).trimmed();
        const auto stopX = qScopeGuard([&] { xvfb.terminate(); xvfb.waitForFinished(); });
        qputenv("DISPLAY", display.toLatin1()); // for xdotool and import
        QTemporaryDir scratch;
        QScopedPointer<QProcess> game(startGame(scratch.path(), u"-"_qs, u"-"_qs, u"--records-in-data-folder"_qs,
                                                u"xcb"_qs, display));
        const auto stopGame = qScopeGuard([&] { game->kill(); game->waitForFinished(); });
        const auto windows = [] {
            return output(u"xdotool"_qs, {u"search"_qs, u"--onlyvisible"_qs, u"--name"_qs, u"^Marigold$"_qs})
                .split(u'\n', Qt::SkipEmptyParts);
        };
        QTRY_COMPARE_WITH_TIMEOUT(windows().size(), 2, 20000); // the table, and the box over it
        const QString box = windows().last(); // the later mapped
        output(u"xdotool"_qs, {u"windowfocus"_qs, u"--sync"_qs, box, u"key"_qs, u"Return"_qs});
        QTRY_COMPARE_WITH_TIMEOUT(windows().size(), 1, 20000);
        const QString table = windows().first();
        const auto picture = [&] {
            output(u"import"_qs, {u"-window"_qs, table, scratch.filePath(u"table.png"_qs)});
            return QImage(scratch.filePath(u"table.png"_qs));
        };
        const QImage idle = picture();
        // With no window manager the table sits at the corner; Deal is at (128, 288), 73 by 33.
        output(u"xdotool"_qs, {u"mousemove"_qs, u"--window"_qs, table, u"164"_qs, u"304"_qs, u"click"_qs, u"1"_qs});
        QTRY_VERIFY_WITH_TIMEOUT(picture() != idle, 20000);
        QCOMPARE(game->state(), QProcess::Running);
        QCOMPARE(everythingIn(scratch.path()), QStringList{scratch.filePath(u"table.png"_qs) + u' '
                                                            + QString::number(QFileInfo(scratch.filePath(u"table.png"_qs)).size())});
    }
};

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
