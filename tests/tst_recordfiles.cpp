#include "support/gamefixture.h"
#include "table/frmmarigold.h"
#include <QDir>
#include <QScopeGuard>
#include <QTest>
#include <cerrno>
#include <sys/mount.h>
#include <sys/sysmacros.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Scores = RecordFiles::ScoresFile, Names = RecordFiles::NamesFile, Run = RecordFiles::RunFile,
              Backs = RecordFiles::BacksFile;
const QStringList RecordNames = {Scores, Names, Run, Backs};
const QByteArray Head(9, '\0');

// Fails the steps that put bytes on disk, writes and syncs counted from 1, the way a full
// disk does: step failAt writes a single byte or fails its sync, and every later step fails.
struct FailingRecordFiles : RecordFiles
{
    using RecordFiles::RecordFiles;
    int failAt = 0, steps = 0;
    bool failing() { return failAt > 0 && ++steps >= failAt; }
    int writeSome(int fd, const char *data, qsizetype size, qsizetype *written) override
    {
        const bool cut = failing();
        return cut && steps > failAt ? ENOSPC : RecordFiles::writeSome(fd, data, cut ? 1 : size, written);
    }
    int syncToDisk(int fd) override { return failing() ? ENOSPC : RecordFiles::syncToDisk(fd); }
};

// Saves as the game does: e an entry, c Clear, r a best run, b a card back.
void save(RecordFiles &records, const QString &actions, qint16 value)
{
    for (const QChar action : actions) {
        if (action == u'e') {
            HighScoreTable table;
            table.insert(1, value, QString::number(value));
            records.writeHighScores(table);
        }
        if (action == u'c')
            records.clearHighScoresAndRun();
        if (action == u'r')
            records.writeHighRun(value);
        if (action == u'b')
            records.writeBackIndex(value);
    }
}

// What else is in the folder, and what lies at each of the files and what it holds, read only
// when it is or leads to a plain file.
QVariantList stateOf(const GameFixture &game, const QStringList &files)
{
    QStringList others = QDir(game.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    others.removeIf([](const QString &name) { return RecordNames.contains(name); });
    QVariantList state = {others};
    for (const QString &name : files) {
        const QFileInfo info(game.path(name));
        state << info.isSymLink() << info.exists() << (info.isFile() ? game.readFile(name) : QByteArray());
    }
    return state;
}

} // namespace

class tst_RecordFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void byteLayout()
    {
        GameFixture game;
        RecordFiles &records = *game.records;
        // Names as typed, as stored in Windows-1252 (cut to 15 characters, never inside one), and as read.
        const QStringList typed = {u"Zoë Ågren"_qs, u"€uro"_qs, u"Rene\u0301"_qs, u"Ли 🂡"_qs,
                                   u"ABCDEFGHIJKLMN🂡X"_qs};
        const QList<QByteArray> stored = {"Zo\xeb \xc5gren", "\x80uro", "Ren\xe9", "?? ?", "ABCDEFGHIJKLMN?"};
        const QStringList read = {u"Zoë Ågren"_qs, u"€uro"_qs, u"René"_qs, u"?? ?"_qs, u"ABCDEFGHIJKLMN?"_qs};
        HighScoreTable table;
        QByteArray scores = "head" + QByteArray(5, '\0'), names = Head; // the unused head is kept as it was
        game.writeFile(Scores, "head");
        for (int k = 1; k <= HighScoreTable::EntryCount; ++k) {
            table.insert(k, 70000 - k, typed.value(k - 1));
            scores += char(0x70 - k) + QByteArray::fromHex("110100"); // 70000 is 0x11170
            names += stored.value(k - 1).leftJustified(HighScoreTable::NameLength, ' ');
        }
        records.writeHighScores(table);
        records.writeHighRun(-2);
        records.writeBackIndex(258);
        QCOMPARE(game.readFile(Scores) + game.readFile(Names), scores + names);
        QCOMPARE(game.readFile(Run) + game.readFile(Backs), QByteArray::fromHex("feff0201"));
        for (int k = 1; k <= HighScoreTable::EntryCount; ++k)
            QCOMPARE(records.readHighScores().entry(k).name, read.value(k - 1).leftJustified(15));

        // Short files read blank beyond their end: entry 2 and the second name are cut.
        game.writeFile(Scores, Head + QByteArray::fromHex("e80300000102"));
        game.writeFile(Names, Head + "Winner         Hal");
        const HighScoreTable cut = records.readHighScores();
        QCOMPARE(QList<qint32>({cut.entry(1).score, cut.entry(2).score}), QList<qint32>({1000, 0}));
        QCOMPARE(cut.entry(1).name + cut.entry(2).name, u"Winner         "_qs + QString(15, u' '));
    }

    void failedSavesKeepTheOldFilesAndAreTold_data()
    {
        // What lies in a record file's place, and which file that is.
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("failingStep");
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QStringList>("told"); // the file each message names
        // A save writes and syncs each temporary file, then for a pair the journal, and syncs the
        // folder; the last sync, after the renames, has nothing left to undo. Each save is made
        // twice: the second fails at its first step, and is told again.
        const QList<std::pair<QString, QStringList>> saves = {
            {"ee", {Scores, Names}}, {"cc", {Scores, Names, Run}}, {"rr", {Run}}, {"bb", {Backs}}};
        for (const auto &[actions, files] : saves)
            for (int step = 1; step <= 2 * files.size() + (files.size() > 1 ? 3 : 0); ++step)
                QTest::addRow("%s at step %d", qPrintable(actions), step) << QString() << QString() << step
                    << actions << QStringList{files.value((step - 1) / 2, Scores), files.first()};
        QTest::newRow("every save on a full tmpfs") << u"full disk"_qs << QString() << 0 << u"erbc"_qs
                                                    << QStringList{Scores, Run, Backs, Scores};
        for (const QString &fileName : RecordNames)
            for (const char *kind : {"link", "dangling link", "pipe", "device", "folder", "big file"})
                QTest::addRow("%s as a %s", qPrintable(fileName), kind)
                    << QString::fromLatin1(kind) << fileName << 0 << u"cerb"_qs << QStringList{fileName};
    }

    void failedSavesKeepTheOldFilesAndAreTold()
    {
        QFETCH(QString, obstacle);
        QFETCH(QString, fileName);
        QFETCH(int, failingStep);
        QFETCH(QString, actions);
        QFETCH(QStringList, told);
        GameFixture game;
        const QByteArray dir = QFile::encodeName(game.dir.path());
        const QByteArray path = QFile::encodeName(game.path(fileName));
        const bool onTmpfs = obstacle == u"full disk";
        if (onTmpfs && (::geteuid() != 0 || ::mount("tmpfs", dir.constData(), "tmpfs", 0, "size=64k") != 0))
            QSKIP("SKIPPED the real full-disk test: it needs root, to mount a small tmpfs (CI runs as root)");
        const auto unmount = qScopeGuard([&] { if (onTmpfs) ::umount2(dir.constData(), MNT_DETACH); });
        save(*game.records, u"erb"_qs, 5);
        if (!fileName.isEmpty()) // moved aside for the link to lead to: nothing may be read through it
            QVERIFY(QFile::rename(game.path(fileName), game.path(u"target"_qs)));
        if (obstacle.endsWith(u"link"))
            QVERIFY(QFile::link(obstacle == u"link" ? u"target"_qs : u"gone"_qs, game.path(fileName)));
        else if (obstacle == u"pipe")
            QCOMPARE(::mkfifo(path.constData(), 0600), 0);
        else if (obstacle == u"device" && ::mknod(path.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0)
            QSKIP("SKIPPED: making a device node needs root");
        else if (obstacle == u"folder")
            QVERIFY(QDir(game.dir.path()).mkdir(fileName));
        else if (obstacle == u"big file")
            game.writeFile(fileName, QByteArray(RecordFiles::MaxFileSize + 1, 'z'));
        QFile filler(game.path(u"filler"_qs));
        QVERIFY(!onTmpfs || filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (onTmpfs && (filler.write(QByteArray(4096, 'x')) > 0 || filler.write("x") > 0)) { }
        const QStringList kept = fileName.isEmpty() ? RecordNames
            : fileName == Scores || fileName == Names ? QStringList{Scores, Names} : QStringList{fileName};
        const QVariantList before = stateOf(game, kept);

        FailingRecordFiles records(game.dir.path());
        records.failAt = failingStep;
        // The real table, which reads the records at its start and tells the player.
        Forms forms({.clock = &game.clock, .prompts = &game.prompts, .records = &records,
                     .random = &game.random});
        forms.marigold()->show();
        save(records, actions, 8);
        QCoreApplication::processEvents();
        QCOMPARE(stateOf(game, kept), before);
        const auto value = [&](const QString &f) { return f == fileName ? 0 : kept.contains(f) ? 5 : 8; };
        const QList<int> read = {records.readHighRun(), records.readBackIndex(), records.readTopScore(),
                                 records.readHighScores().entry(1).name.trimmed().toInt()};
        QCOMPARE(read, QList<int>({value(Run), value(Backs), value(Scores), value(Names)}));
        QCOMPARE(game.prompts.messages.size(), told.size());
        for (const QString &message : std::as_const(game.prompts.messages))
            QVERIFY2(message.contains(u'"' + game.path(told.takeFirst()) + u'"')
                         && message.contains(u"the disk is full") == fileName.isEmpty(), qPrintable(message));
    }

    void startFinishesACompleteJournalAndRemovesTemporaryFiles()
    {
        GameFixture game;
        save(*game.records, u"e"_qs, 7);
        const QByteArray pair = "zelscores.dat.Ab3dE9 zelscores.dat\nnames.dat.Zz0yX1 names.dat\n";
        // Dropped: one cut off before its end, one renaming a file not its own, one renaming
        // out of the folder. Only the last, complete and naming its own files, is finished.
        const QByteArray outOfFolder = "zelscores.dat.Ab3dE9 ../zelscores.dat\n";
        const QList<std::pair<QByteArray, bool>> journals = {
            {pair, false}, {"victim.dat names.dat\n", true}, {outOfFolder, true}, {pair, true}};
        for (const auto &[renames, sealed] : journals) {
            const QByteArray old = game.readFile(Scores) + game.readFile(Names);
            game.writeFile(u"zelscores.dat.Ab3dE9"_qs, "new scores");
            game.writeFile(u"names.dat.Zz0yX1"_qs, "new names");
            game.writeFile(u"victim.dat"_qs, "victim");
            game.writeFile(u"zelbacks.dat.q7XpAa"_qs, "a stray temporary file");
            const QByteArray journal = "marigold records journal 1\n" + renames;
            const QByteArray seal = "end " + QByteArray::number(qChecksum(journal)) + '\n';
            game.writeFile(RecordFiles::JournalFile, sealed ? journal + seal : journal);
            RecordFiles start(game.dir.path());
            const bool finished = sealed && renames == pair;
            QCOMPARE(game.readFile(Scores) + game.readFile(Names), finished ? "new scoresnew names" : old);
            const QString victim = u"victim.dat"_qs;
            const QVariantList victimKept{QStringList{victim}, false, true, QByteArray("victim")};
            QCOMPARE(stateOf(game, {victim}), victimKept);
            QVERIFY(!QFile::exists(game.dir.filePath(u"../zelscores.dat"_qs)));
        }
    }
};

QTEST_MAIN(tst_RecordFiles)
#include "tst_recordfiles.moc"
