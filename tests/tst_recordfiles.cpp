#include "support/gamefixture.h"
#include "records/codepage1252.h"
#include "game/highscoretable.h"
#include "records/frmhiscores.h"
#include "records/recordfiles.h"
#include "table/frmmarigold.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/sysmacros.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QStringList RecordNames = {RecordFiles::ScoresFile, RecordFiles::NamesFile,
                                 RecordFiles::RunFile, RecordFiles::BacksFile};

// Fails the steps that put bytes on disk the way a full disk does.
class FailingRecordFiles : public RecordFiles
{
public:
    using RecordFiles::RecordFiles;

    int failingSync = 0; // counted from 1; 0 lets every sync through
    bool shortWrite = false;

protected:
    int writeSome(int fd, const char *data, qsizetype size, qsizetype *written) override
    {
        if (!shortWrite)
            return RecordFiles::writeSome(fd, data, size, written);
        if (m_wroteSome)
            return ENOSPC;
        m_wroteSome = true;
        return RecordFiles::writeSome(fd, data, 1, written);
    }

    int syncToDisk(int fd) override
    {
        return ++m_syncs == failingSync ? ENOSPC : RecordFiles::syncToDisk(fd);
    }

private:
    int m_syncs = 0;
    bool m_wroteSome = false;
};

HighScoreTable tableWith(qint32 score, const QString &name)
{
    HighScoreTable table;
    table.insert(1, score, name);
    return table;
}

} // namespace

class tst_RecordFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstAccessCreatesEmptyFilesAndReadsBlank();
    void scoreAndNameBytesAreLittleEndianAtTheirOffsets();
    void aFullTableIs49And159Bytes();
    void shortFilesReadBlankBeyondTheirEnd();
    void bestRunAndClearing();
    void backIndexIsTwoBytes();
    void namesUseWindows1252_data();
    void namesUseWindows1252();
    void cutNeverSplitsACharacter();
    void readOnlyFolderKeepsOldFilesAndTellsEachSave();
    void unreadableTableIsNotOverwritten();
    void failedFlushKeepsOldFiles_data();
    void failedFlushKeepsOldFiles();
    void fullDiskKeepsOldFilesAndTells();
    void filesThatAreNotPlainAreLeftAlone_data();
    void filesThatAreNotPlainAreLeftAlone();
    void everyLostEntryIsToldOnce();
    void startFinishesOrDropsAJournal_data();
    void startFinishesOrDropsAJournal();

private:
    static QByteArray read(const QTemporaryDir &dir, const QString &name);
    static QList<QByteArray> readAll(const QString &folder);
    static QStringList otherFiles(const QString &folder);
    static void write(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes);
};

QByteArray tst_RecordFiles::read(const QTemporaryDir &dir, const QString &name)
{
    QFile file(dir.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QList<QByteArray> tst_RecordFiles::readAll(const QString &folder)
{
    QList<QByteArray> files;
    for (const QString &name : RecordNames) {
        QFile file(QDir(folder).filePath(name));
        files.append(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>"));
    }
    return files;
}

QStringList tst_RecordFiles::otherFiles(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden
                                               | QDir::NoDotAndDotDot);
    for (const QString &name : RecordNames)
        names.removeOne(name);
    return names;
}

void tst_RecordFiles::write(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void tst_RecordFiles::firstAccessCreatesEmptyFilesAndReadsBlank()
{
    QTemporaryDir dir;
    RecordFiles records(dir.path());
    QCOMPARE(records.readTopScore(), 0);
    QCOMPARE(records.readBackIndex(), qint16(0));
    QCOMPARE(records.readHighRun(), qint16(0));
    for (const QString &name : {RecordFiles::ScoresFile, RecordFiles::BacksFile, RecordFiles::RunFile}) {
        QVERIFY2(QFile::exists(dir.filePath(name)), qPrintable(name));
        QCOMPARE(QFileInfo(dir.filePath(name)).size(), 0);
    }
    QVERIFY(!QFile::exists(dir.filePath(RecordFiles::NamesFile)));

    const HighScoreTable table = records.readHighScores();
    for (int k = 1; k <= HighScoreTable::EntryCount; ++k) {
        QCOMPARE(table.entry(k).score, 0);
        QCOMPARE(table.entry(k).name, QString(15, QLatin1Char(' ')));
    }
}

void tst_RecordFiles::scoreAndNameBytesAreLittleEndianAtTheirOffsets()
{
    QTemporaryDir dir;
    RecordFiles records(dir.path());
    HighScoreTable table;
    table.insert(1, 500, QStringLiteral("AB"));
    records.writeHighScores(table);

    const QByteArray scores = read(dir, RecordFiles::ScoresFile);
    QCOMPARE(scores.mid(9, 4), QByteArray::fromHex("f4010000"));
    const QByteArray names = read(dir, RecordFiles::NamesFile);
    QCOMPARE(names.mid(9, 15), QByteArray("AB") + QByteArray(13, ' '));
    QCOMPARE(records.readTopScore(), 500);
    QCOMPARE(records.readHighScores().entry(1).name, QStringLiteral("AB") + QString(13, QLatin1Char(' ')));

    table.insert(1, -2, QString());
    records.writeHighScores(table);
    QCOMPARE(read(dir, RecordFiles::ScoresFile).mid(9, 4), QByteArray::fromHex("feffffff"));
}

void tst_RecordFiles::aFullTableIs49And159Bytes()
{
    QTemporaryDir dir;
    RecordFiles records(dir.path());
    records.writeHighScores(HighScoreTable());
    const QByteArray scores = read(dir, RecordFiles::ScoresFile);
    const QByteArray names = read(dir, RecordFiles::NamesFile);
    QCOMPARE(scores.size(), 49);
    QCOMPARE(names.size(), 159);
    QCOMPARE(scores.left(9), QByteArray(9, '\0'));
    QCOMPARE(names.left(9), QByteArray(9, '\0'));
    QCOMPARE(names.mid(9), QByteArray(150, ' '));

    // Whatever lies in the unused head of a file is kept as it was.
    QByteArray marked = scores;
    marked[3] = 'x';
    write(dir, RecordFiles::ScoresFile, marked);
    records.writeHighScores(HighScoreTable());
    QCOMPARE(read(dir, RecordFiles::ScoresFile).at(3), 'x');
}

void tst_RecordFiles::shortFilesReadBlankBeyondTheirEnd()
{
    QTemporaryDir dir;
    // Entry 1 whole, entry 2 cut after two of its four bytes.
    write(dir, RecordFiles::ScoresFile, QByteArray(9, '\0') + QByteArray::fromHex("e8030000") + QByteArray::fromHex("0102"));
    // Only the first name, and half of the second.
    write(dir, RecordFiles::NamesFile, QByteArray(9, '\0') + QByteArray("Winner         ") + QByteArray("Hal"));
    RecordFiles records(dir.path());
    const HighScoreTable table = records.readHighScores();
    QCOMPARE(table.entry(1).score, 1000);
    QCOMPARE(table.entry(2).score, 0);
    QCOMPARE(table.entry(1).name, QStringLiteral("Winner         "));
    QCOMPARE(table.entry(2).name, QString(15, QLatin1Char(' ')));
    // Reading leaves the files as they were.
    QCOMPARE(read(dir, RecordFiles::NamesFile).size(), 9 + 15 + 3);
}

void tst_RecordFiles::bestRunAndClearing()
{
    QTemporaryDir dir;
    RecordFiles records(dir.path());
    records.writeHighRun(7);
    QCOMPARE(read(dir, RecordFiles::RunFile), QByteArray::fromHex("0700"));
    QCOMPARE(records.readHighRun(), qint16(7));
    HighScoreTable table;
    table.insert(1, 900, QStringLiteral("Ann"));
    records.writeHighScores(table);
    records.clearHighScoresAndRun();
    QCOMPARE(read(dir, RecordFiles::RunFile), QByteArray(4, '\0'));
    QCOMPARE(records.readHighRun(), qint16(0));
    QCOMPARE(read(dir, RecordFiles::ScoresFile), QByteArray(49, '\0'));
    QCOMPARE(read(dir, RecordFiles::NamesFile), QByteArray(9, '\0') + QByteArray(150, ' '));
    records.writeHighRun(300);
    QCOMPARE(read(dir, RecordFiles::RunFile), QByteArray::fromHex("2c010000"));
}

void tst_RecordFiles::backIndexIsTwoBytes()
{
    QTemporaryDir dir;
    write(dir, RecordFiles::BacksFile, QByteArray::fromHex("0300"));
    RecordFiles records(dir.path());
    QCOMPARE(records.readBackIndex(), qint16(3));
    records.writeBackIndex(7);
    QCOMPARE(read(dir, RecordFiles::BacksFile), QByteArray::fromHex("0700"));
}

void tst_RecordFiles::namesUseWindows1252_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("plain letters") << QStringLiteral("Zoe") << QByteArray("Zoe") << QStringLiteral("Zoe");
    QTest::newRow("Latin-1 letters") << QStringLiteral("Zoë Ågren") << QByteArray("Zo\xeb \xc5gren")
                                     << QStringLiteral("Zoë Ågren");
    QTest::newRow("the euro sign sits at 0x80") << QStringLiteral("€uro") << QByteArray("\x80uro")
                                                << QStringLiteral("€uro");
    QTest::newRow("a decomposed accent is composed first")
        << QStringLiteral("Rene\u0301") << QByteArray("Ren\xe9") << QStringLiteral("René");
    QTest::newRow("what the code page lacks becomes a question mark")
        << QStringLiteral("Ли 🂡") << QByteArray("?? ?") << QStringLiteral("?? ?");
}

void tst_RecordFiles::namesUseWindows1252()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, readBack);
    QCOMPARE(CodePage1252::encode(name), bytes);
    QCOMPARE(CodePage1252::decode(bytes), readBack);

    QTemporaryDir dir;
    RecordFiles records(dir.path());
    HighScoreTable table;
    table.insert(1, 10, name);
    records.writeHighScores(table);
    const QByteArray stored = read(dir, RecordFiles::NamesFile).mid(9, 15);
    QCOMPARE(stored, bytes + QByteArray(15 - bytes.size(), ' '));
}

void tst_RecordFiles::cutNeverSplitsACharacter()
{
    // Fifteen characters, the last outside the basic plane: two UTF-16 units, one byte.
    const QString fitted = HighScoreTable::fittedName(QStringLiteral("ABCDEFGHIJKLMN🂡X"));
    QCOMPARE(fitted, QStringLiteral("ABCDEFGHIJKLMN🂡"));
    QCOMPARE(CodePage1252::encode(fitted), QByteArray("ABCDEFGHIJKLMN?"));
}

void tst_RecordFiles::readOnlyFolderKeepsOldFilesAndTellsEachSave()
{
    // Root ignores permission bits, so as root the probe runs as nobody.
    QTemporaryDir dir;
    write(dir, RecordFiles::RunFile, QByteArray::fromHex("0500"));
    const auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
        | QFile::ReadOther | QFile::ExeOther;
    QVERIFY(QFile::setPermissions(dir.filePath(RecordFiles::RunFile),
                                  QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(QFile::setPermissions(dir.path(), readOnly));

    // A copy of the probe where any user may run it, wherever the build tree lies.
    QTemporaryDir probeDir;
    const QString probeCopy = probeDir.filePath(QStringLiteral("recordprobe"));
    QVERIFY(QFile::copy(QStringLiteral(RECORD_PROBE), probeCopy));
    QVERIFY(QFile::setPermissions(probeDir.path(), readOnly | QFile::WriteOwner));
    QVERIFY(QFile::setPermissions(probeCopy, readOnly));

    QProcess probe;
    if (::geteuid() == 0) {
        probe.setChildProcessModifier([] {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(3);
        });
    }
    probe.start(probeCopy, {dir.path()});
    QVERIFY(probe.waitForFinished());
    QFile::setPermissions(dir.path(), readOnly | QFile::WriteOwner);
    QCOMPARE(probe.exitCode(), 0);
    QCOMPARE(QString::fromLocal8Bit(probe.readAllStandardOutput()).trimmed(),
             QStringLiteral("run=5 failures=3"));
    QCOMPARE(read(dir, RecordFiles::RunFile), QByteArray::fromHex("0500"));
    QVERIFY(!QFile::exists(dir.filePath(RecordFiles::BacksFile)));
}

void tst_RecordFiles::unreadableTableIsNotOverwritten()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(RecordFiles::NamesFile));
    write(dir, RecordFiles::ScoresFile, QByteArray(9, '\0') + QByteArray::fromHex("e8030000"));
    RecordFiles records(dir.path());
    HighScoreTable table = records.readHighScores();
    table.insert(1, 5000, QStringLiteral("Me"));
    records.writeHighScores(table);
    // Half a table is never written: the scores stay as they were.
    QCOMPARE(records.readTopScore(), 1000);
}

void tst_RecordFiles::failedFlushKeepsOldFiles_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("failingSync");
    QTest::addColumn<bool>("shortWrite");
    QTest::addColumn<QString>("namedFile");
    // A pair's syncs, in order: its two temporary files, the journal, the folder.
    QTest::newRow("an entry whose scores do not reach the disk")
        << "entry" << 1 << false << RecordFiles::ScoresFile;
    QTest::newRow("an entry whose names do not reach the disk")
        << "entry" << 2 << false << RecordFiles::NamesFile;
    QTest::newRow("an entry whose journal does not reach the disk")
        << "entry" << 3 << false << RecordFiles::ScoresFile;
    QTest::newRow("an entry whose journal's folder entry does not reach the disk")
        << "entry" << 4 << false << RecordFiles::ScoresFile;
    QTest::newRow("an entry cut short by a full disk")
        << "entry" << 0 << true << RecordFiles::ScoresFile;
    QTest::newRow("a Clear whose best run does not reach the disk")
        << "clear" << 3 << false << RecordFiles::RunFile;
    QTest::newRow("a best run that does not reach the disk")
        << "run" << 1 << false << RecordFiles::RunFile;
    QTest::newRow("a card back cut short by a full disk")
        << "back" << 0 << true << RecordFiles::BacksFile;
}

void tst_RecordFiles::failedFlushKeepsOldFiles()
{
    QFETCH(QString, action);
    QFETCH(int, failingSync);
    QFETCH(bool, shortWrite);
    QFETCH(QString, namedFile);

    QTemporaryDir dir;
    {
        RecordFiles records(dir.path());
        records.writeHighScores(tableWith(700, QStringLiteral("Old")));
        records.writeHighRun(5);
        records.writeBackIndex(2);
    }
    const QList<QByteArray> before = readAll(dir.path());

    FailingRecordFiles records(dir.path());
    records.failingSync = failingSync;
    records.shortWrite = shortWrite;
    QSignalSpy failures(&records, &RecordFiles::failed);
    if (action == QLatin1String("entry"))
        records.writeHighScores(tableWith(900, QStringLiteral("New")));
    else if (action == QLatin1String("clear"))
        records.clearHighScoresAndRun();
    else if (action == QLatin1String("run"))
        records.writeHighRun(8);
    else
        records.writeBackIndex(4);

    QCOMPARE(readAll(dir.path()), before);
    QCOMPARE(otherFiles(dir.path()), QStringList());
    QCOMPARE(failures.count(), 1);
    const QString message = failures.first().first().toString();
    QVERIFY2(message.contains(QLatin1Char('"') + dir.filePath(namedFile) + QLatin1Char('"'))
                 && message.contains(QStringLiteral("the disk is full")),
             qPrintable(message));
}

void tst_RecordFiles::fullDiskKeepsOldFilesAndTells()
{
    if (::geteuid() != 0)
        QSKIP("SKIPPED the real full-disk test: mounting a small tmpfs needs root (CI runs as "
              "root); the failing-flush rows still run");
    QTemporaryDir mountPoint;
    const QByteArray folder = QFile::encodeName(mountPoint.path());
    if (::mount("tmpfs", folder.constData(), "tmpfs", MS_NOSUID | MS_NODEV | MS_NOEXEC,
                "size=64k")
        != 0) {
        QSKIP(qPrintable(QStringLiteral("SKIPPED the real full-disk test: cannot mount a tmpfs "
                                        "here (%1)")
                             .arg(QString::fromLocal8Bit(std::strerror(errno)))));
    }
    const auto unmount = qScopeGuard([&folder] { ::umount2(folder.constData(), MNT_DETACH); });

    RecordFiles records(mountPoint.path());
    QSignalSpy failures(&records, &RecordFiles::failed);
    records.writeHighScores(tableWith(700, QStringLiteral("Old")));
    records.writeHighRun(5);
    records.writeBackIndex(2);
    QCOMPARE(failures.count(), 0);
    const QList<QByteArray> before = readAll(mountPoint.path());

    const QByteArray filler = QFile::encodeName(mountPoint.filePath(QStringLiteral("filler")));
    const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT, 0600);
    QVERIFY(fd >= 0);
    const QByteArray block(4096, 'x');
    while (::write(fd, block.constData(), block.size()) > 0) { }
    while (::write(fd, "x", 1) > 0) { }
    QCOMPARE(errno, ENOSPC);
    ::close(fd);

    records.writeHighScores(tableWith(900, QStringLiteral("New")));
    records.writeHighRun(8);
    records.writeBackIndex(4);
    records.clearHighScoresAndRun();
    QCOMPARE(readAll(mountPoint.path()), before);
    QCOMPARE(otherFiles(mountPoint.path()), QStringList(QStringLiteral("filler")));
    QCOMPARE(failures.count(), 4);
    for (const QList<QVariant> &failure : std::as_const(failures))
        QVERIFY2(failure.first().toString().contains(QStringLiteral("the disk is full")),
                 qPrintable(failure.first().toString()));

    // With room again, the same object saves as before.
    QVERIFY(::unlink(filler.constData()) == 0);
    records.writeHighRun(8);
    QCOMPARE(records.readHighRun(), qint16(8));
    QCOMPARE(failures.count(), 4);
}

void tst_RecordFiles::filesThatAreNotPlainAreLeftAlone_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("kind");
    for (const QString &fileName : RecordNames) {
        for (const char *kind : {"symbolic link", "dangling link", "named pipe", "device",
                                 "folder", "file over 64 KiB"}) {
            QTest::addRow("%s as a %s", qPrintable(fileName), kind)
                << fileName << QString::fromLatin1(kind);
        }
    }
}

void tst_RecordFiles::filesThatAreNotPlainAreLeftAlone()
{
    QFETCH(QString, fileName);
    QFETCH(QString, kind);
    // An open that waits on a pipe would hang the test: end it loudly instead.
    ::alarm(60);
    const auto cancelAlarm = qScopeGuard([] { ::alarm(0); });

    GameFixture game;
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("target"));
    const QByteArray path = QFile::encodeName(game.path(fileName));
    // Read through, this would show back 3, best run 3 and a high score of 500.
    const QByteArray planted = QByteArray::fromHex("0300") + QByteArray(7, '\0')
        + QByteArray::fromHex("f4010000") + QByteArray(150, 'N');
    QByteArray big = planted + QByteArray(RecordFiles::MaxFileSize + 1 - planted.size(), 'z');
    if (kind == QLatin1String("symbolic link")) {
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(planted) == planted.size());
        file.close();
        QVERIFY(QFile::link(target, game.path(fileName)));
    } else if (kind == QLatin1String("dangling link")) {
        QVERIFY(QFile::link(target, game.path(fileName)));
    } else if (kind == QLatin1String("named pipe")) {
        QCOMPARE(::mkfifo(path.constData(), 0600), 0);
    } else if (kind == QLatin1String("device")) {
        // The null device: reading it would give nothing, so only the message tells.
        if (::mknod(path.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0)
            QSKIP("SKIPPED: making a device node needs root");
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir(game.dir.path()).mkdir(fileName));
    } else {
        game.writeFile(fileName, big);
    }

    game.table();
    QCOMPARE(game.text("lblHighScore"), QStringLiteral("0"));
    QCOMPARE(game.text("lblHighRun"), QStringLiteral("0"));
    // Every read and save the game makes.
    RecordFiles &records = *game.records;
    HighScoreTable table = records.readHighScores();
    table.insert(1, 900, QStringLiteral("Me"));
    records.writeHighScores(table);
    records.writeHighRun(12);
    records.writeBackIndex(4);
    const bool tableFile = fileName == RecordFiles::ScoresFile || fileName == RecordFiles::NamesFile;
    QCOMPARE(records.readTopScore(), tableFile ? 0 : 900);
    QCOMPARE(records.readHighRun(), qint16(fileName == RecordFiles::RunFile ? 0 : 12));
    QCOMPARE(records.readBackIndex(), qint16(fileName == RecordFiles::BacksFile ? 0 : 4));
    records.clearHighScoresAndRun();
    QCoreApplication::processEvents();

    QCOMPARE(game.prompts.messages.size(), 1);
    const QString message = game.prompts.messages.first();
    QVERIFY2(message.contains(QLatin1Char('"') + game.path(fileName) + QLatin1Char('"')),
             qPrintable(message));

    const QFileInfo info(game.path(fileName));
    if (kind == QLatin1String("symbolic link")) {
        QCOMPARE(info.symLinkTarget(), target);
        QCOMPARE(game.readFile(fileName), planted);
    } else if (kind == QLatin1String("dangling link")) {
        QVERIFY(info.isSymLink());
        QVERIFY(!QFile::exists(target));
    } else if (kind == QLatin1String("named pipe") || kind == QLatin1String("device")) {
        struct stat status;
        QVERIFY(::lstat(path.constData(), &status) == 0
                && (S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode)));
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(info.isDir());
        QCOMPARE(QDir(info.filePath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    } else {
        QCOMPARE(game.readFile(fileName), big);
    }
}

void tst_RecordFiles::everyLostEntryIsToldOnce()
{
    // A folder where the journal belongs makes every save of the table fail, even for root.
    GameFixture game;
    QVERIFY(QDir(game.dir.path()).mkdir(RecordFiles::JournalFile));
    game.table();
    frmHiScores *window = game.forms->hiScores();
    for (int gameEnd = 1; gameEnd <= 2; ++gameEnd) {
        game.prompts.inputAnswers = {QStringLiteral("Me")};
        qint32 score = 100 * gameEnd;
        qint32 high = 0;
        window->HighScores(score, high);
        window->cmdOkay_Click();
        QCoreApplication::processEvents();
        // One message for the entry, though it spans two files and the window's first
        // showing tries to save a blank table as well.
        QCOMPARE(game.prompts.messages.size(), gameEnd);
        const QString message = game.prompts.messages.last();
        QVERIFY2(message.contains(game.path(RecordFiles::ScoresFile))
                     && message.contains(RecordFiles::JournalFile),
                 qPrintable(message));
    }
    QCOMPARE(game.readFile(RecordFiles::ScoresFile), QByteArray());
    QCOMPARE(game.readFile(RecordFiles::NamesFile), QByteArray());
    QVERIFY(game.table()->isEnabled());
}

void tst_RecordFiles::startFinishesOrDropsAJournal_data()
{
    QTest::addColumn<QByteArray>("renames");
    QTest::addColumn<bool>("sealed");
    QTest::addColumn<bool>("finished");
    const QByteArray pair = "zelscores.dat.Ab3dE9 zelscores.dat\nnames.dat.Zz0yX1 names.dat\n";
    QTest::newRow("a complete journal is finished") << pair << true << true;
    QTest::newRow("a journal cut off before its end is dropped") << pair << false << false;
    QTest::newRow("a journal renaming another file is dropped")
        << QByteArray("victim.dat names.dat\n") << true << false;
    QTest::newRow("a journal renaming out of the folder is dropped")
        << QByteArray("zelscores.dat.Ab3dE9 ../zelscores.dat\n") << true << false;
}

void tst_RecordFiles::startFinishesOrDropsAJournal()
{
    QFETCH(QByteArray, renames);
    QFETCH(bool, sealed);
    QFETCH(bool, finished);

    QTemporaryDir outer;
    const QString folder = outer.filePath(QStringLiteral("records"));
    QVERIFY(QDir().mkpath(folder));
    {
        RecordFiles records(folder);
        records.writeHighScores(tableWith(700, QStringLiteral("Old")));
    }
    const QList<QByteArray> before = readAll(folder);
    const auto put = [&folder](const QString &name, const QByteArray &bytes) {
        QFile file(QDir(folder).filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    };
    const QByteArray newScores = QByteArray(9, '\0') + QByteArray::fromHex("84030000");
    const QByteArray newNames = QByteArray(9, '\0') + QByteArray("New            ");
    put(QStringLiteral("zelscores.dat.Ab3dE9"), newScores);
    put(QStringLiteral("names.dat.Zz0yX1"), newNames);
    put(QStringLiteral("victim.dat"), "victim");
    put(QStringLiteral("zelbacks.dat.bak"), "kept");
    put(QStringLiteral("zelbacks.dat.q7XpAa"), "a stray temporary file");
    QByteArray journal = "marigold records journal 1\n" + renames;
    if (sealed)
        journal += "end " + QByteArray::number(qChecksum(journal)) + '\n';
    put(RecordFiles::JournalFile, journal);

    RecordFiles records(folder);
    QList<QByteArray> expected = before;
    if (finished) {
        expected[0] = newScores;
        expected[1] = newNames;
    }
    QCOMPARE(readAll(folder), expected);
    QCOMPARE(otherFiles(folder), QStringList({"victim.dat", "zelbacks.dat.bak"}));
    QVERIFY(!QFile::exists(outer.filePath(RecordFiles::ScoresFile)));
}

QTEST_MAIN(tst_RecordFiles)
#include "tst_recordfiles.moc"
