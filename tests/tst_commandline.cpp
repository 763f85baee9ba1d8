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
                         QDirIterator::Subdirectories); it.hasNext() && !it.next().isEmpty();)
        found << it.filePath() + u' ' + QString::number(it.fileInfo().isSymLink() ? 0 : it.fileInfo().size());
    found.sort();
    return found;
}

// Starts the game in `scratch`, XDG_DATA_HOME and HOME given with {s} for it and "-" for unset.
QProcess *startGame(const QString &scratch, const QString &dataHome, const QString &home, const QString &arg,
                    const QString &platform, const QString &display = QString())
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] : {std::pair{u"XDG_DATA_HOME"_qs, dataHome}, {u"HOME"_qs, home}})
        value == u"-" ? env.remove(name) : env.insert(name, QString(value).replace(u"{s}"_qs, scratch));
    env.insert(u"QT_QPA_PLATFORM"_qs, platform);
    env.insert(u"DISPLAY"_qs, display);
    auto *game = new QProcess;
    game->setProcessEnvironment(env);
    game->setWorkingDirectory(scratch);
    game->start(QStringLiteral(MARIGOLD_PROGRAM), arg.split(u' ', Qt::SkipEmptyParts));
    return game;
}

// What a tool prints, its arguments split at spaces.
QString output(const QString &command)
{
    QProcess process;
    QStringList arguments = command.split(u' ');
    process.start(arguments.takeFirst(), arguments);
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
        // Scratch holds "file", "gone" (a dangling link), "home" and "ro/marigold" (read-only); records: the
        // folder below it they go to (none: nothing written); said: on stdout for code 0; code -1: it plays on.
        for (const char *column : {"arg", "dataHome", "home", "records", "said"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<int>("code");
        const QString data = u"--records-in-data-folder"_qs, s = u"{s}"_qs, h = u"{s}/home"_qs, no = u"-"_qs;
        const auto told = [&](const char *name, const QString &dataHome, const QString &home, const char *why) {
            QTest::newRow(name) << data << dataHome << home << QString()
                                << "marigold: Marigold cannot keep its records in " + QString::fromUtf8(why) << -1;
        };
        QTest::newRow("--version: name and release") << "--version" << s << h << "" << "Marigold " MARIGOLD_VERSION << 0;
        QTest::newRow("--help: lists the option") << "--help" << s << h << "" << "--records-in-data-folder  Start in" << 0;
        QTest::newRow("an unknown option stops it") << "--frobnicate" << s << h << "" << "Unknown option 'frobnicate'." << 1;
        QTest::newRow("terminal: in the folder it starts in") << "" << u"{s}/xdg"_qs << h << "." << "" << -1;
        QTest::newRow("desktop: in its data folder") << data << u"{s}/xdg"_qs << h << "xdg/marigold" << "" << -1;
        QTest::newRow("desktop: a relative XDG_DATA_HOME is ignored") << data << u"xdg"_qs << h
                                                                      << "home/.local/share/marigold" << "" << -1;
        told("XDG_DATA_HOME is a file", u"{s}/file"_qs, h, "\"{s}/file/marigold\" because \"{s}/file\" is not a folder.");
        told("XDG_DATA_HOME is a dangling link", u"{s}/gone"_qs, h,
             "\"{s}/gone/marigold\" because \"{s}/gone\" is a link to something that is not there.");
        told("HOME is a file", no, u"{s}/file"_qs,
             "\"{s}/file/.local/share/marigold\" because the home folder \"{s}/file\" is not a folder.");
        told("HOME is a dangling link", no, u"{s}/gone"_qs,
             "\"{s}/gone/.local/share/marigold\" because the home folder \"{s}/gone\" does not exist.");
        told("HOME is missing", no, u"{s}/missing"_qs,
             "\"{s}/missing/.local/share/marigold\" because the home folder \"{s}/missing\" does not exist.");
        told("HOME is not set", no, no, "\"~/.local/share/marigold\" because HOME is not set, so there is no home folder.");
        told("the data folder is read-only", u"{s}/ro"_qs, h,
             ::geteuid() == 0 ? "\"{s}/ro/marigold\" because it is on a read-only disk."
                              : "\"{s}/ro/marigold\" because it cannot be written to: permission denied.");
    }

    void run()
    {
        QFETCH(QString, arg);
        QFETCH(QString, dataHome);
        QFETCH(QString, home);
        QFETCH(QString, records);
        QFETCH(QString, said);
        QFETCH(int, code);
        QTemporaryDir scratch;
        const QString readOnly = scratch.filePath(u"ro/marigold"_qs);
        QDir(scratch.path()).mkpath(u"home"_qs);
        QDir(scratch.path()).mkpath(readOnly);
        QFile(scratch.filePath(u"file"_qs)).open(QIODevice::WriteOnly);
        QFile::link(scratch.filePath(u"nowhere"_qs), scratch.filePath(u"gone"_qs));
        // Root writes through any mode, so for root the folder is mounted read-only.
        const QByteArray ro = QFile::encodeName(readOnly);
        const bool mounted = ::geteuid() == 0 && dataHome == u"{s}/ro" && ::mount(ro, ro, nullptr, MS_BIND, nullptr) == 0;
        const auto unmount = qScopeGuard([&] { if (mounted) ::umount2(ro, MNT_DETACH); });
        if (mounted && ::mount(nullptr, ro, nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr))
            QSKIP("SKIPPED: a read-only bind mount is not allowed here");
        ::chmod(ro, 0555);
        const QString rootData = u"/.local/share/marigold"_qs; // where Qt would put it with no HOME
        const bool rootDataBefore = QFileInfo::exists(rootData);
        const QStringList before = everythingIn(scratch.path());
        // Text answers must not need a display.
        QScopedPointer<QProcess> game(startGame(scratch.path(), dataHome, home, arg, code == 0 ? u"xcb"_qs : u"offscreen"_qs));
        const auto stopGame = qScopeGuard([&] { game->kill(); game->waitForFinished(); });
        // Reading the records at start-up creates the files that are missing.
        const QString folder = QDir::cleanPath(scratch.filePath(records)), scores = folder + u"/zelscores.dat"_qs;
        QByteArray err;
        QTRY_VERIFY_WITH_TIMEOUT((!records.isEmpty() && QFile::exists(scores)) || game->state() == QProcess::NotRunning
                                     || (err += game->readAllStandardError()).contains("until it closes.\n"), 20000);
        const QString out = QString::fromLocal8Bit(code ? err + game->readAllStandardError() : game->readAllStandardOutput());
        QCOMPARE(game->state() == QProcess::Running ? -1 : game->exitCode(), code); // a told one plays on
        QVERIFY2(records.isEmpty() ? out.contains(said.replace(u"{s}"_qs, scratch.path())) : QFile::exists(scores),
                 qPrintable(out));
        QStringList written = everythingIn(scratch.path());
        written.removeIf([&](const QString &entry) { // nothing but the records folder and what is in it
            const QString path = entry.section(u' ', 0, 0) + u'/';
            return before.contains(entry) || (!records.isEmpty() && (path.startsWith(folder) || folder.startsWith(path)));
        });
        QCOMPARE(written, QStringList());
        QCOMPARE(QFileInfo::exists(rootData), rootDataBefore);
    }

    // With a display: the window comes up over the table, Enter answers it, and the table deals.
    void theWindowComesUpOverAPlayableTable()
    {
        for (const char *tool : {"Xvfb", "xdotool", "import"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(u"SKIPPED: %1 is not installed"_qs.arg(QString::fromLatin1(tool))));
        QProcess xvfb;
        xvfb.start(u"Xvfb"_qs, u"-displayfd 1 -screen 0 800x600x24 -nolisten tcp"_qs.split(u' '));
        QTRY_VERIFY_WITH_TIMEOUT(xvfb.canReadLine() || xvfb.state() == QProcess::NotRunning, 20000);
        const QString display = u":"_qs + QString::fromLatin1(xvfb.readLine()).trimmed();
        const auto stopX = qScopeGuard([&] { xvfb.terminate(); xvfb.waitForFinished(); });
        qputenv("DISPLAY", display.toLatin1()); // for xdotool and import
        QTemporaryDir scratch, pictures;
        QScopedPointer<QProcess> game(startGame(scratch.path(), u"-"_qs, u"-"_qs, u"--records-in-data-folder"_qs,
                                                u"xcb"_qs, display));
        const auto stopGame = qScopeGuard([&] { game->kill(); game->waitForFinished(); });
        const auto windows = [] {
            return output(u"xdotool search --onlyvisible --name ^Marigold$"_qs).split(u'\n', Qt::SkipEmptyParts);
        };
        QTRY_COMPARE_WITH_TIMEOUT(windows().size(), 2, 20000); // the table, and the box over it
        output(u"xdotool windowfocus --sync "_qs + windows().last() + u" key Return"_qs); // the box, mapped later
        QTRY_COMPARE_WITH_TIMEOUT(windows().size(), 1, 20000);
        const QString table = windows().first(), png = pictures.filePath(u"table.png"_qs);
        const auto picture = [&] { return output(u"import -window "_qs + table + u' ' + png), QImage(png); };
        const QImage idle = picture();
        // With no window manager the table sits at the corner; Deal is at (128, 288), 73 by 33.
        output(u"xdotool mousemove --window "_qs + table + u" 164 304 click 1"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(picture() != idle, 20000);
        QCOMPARE(game->state(), QProcess::Running);
        QCOMPARE(everythingIn(scratch.path()), QStringList());
    }
};

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
