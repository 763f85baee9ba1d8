// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/recordcodec.h"
#include "support/gamefixture.h"
#include "table/frmmarigold.h"
#include "game/tableau.h"
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

// Fails as a full disk does: write or sync step failAt (from 1; 0 fails nothing) writes a
// single byte or fails its sync, and every later step fails.
struct FailingRecordFiles : RecordFiles
{
    using RecordFiles::RecordFiles;
    static std::unique_ptr<RecordFiles> make(const QString &dir) { return std::make_unique<FailingRecordFiles>(dir); }
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
void save(HighScoreBook &book, const QString &actions, qint16 value)
{
    for (const QChar action : actions)
        action == u'e' ? void(book.enter(value, QString::number(value))) : action == u'c' ? book.clear()
            : action == u'r' ? book.raiseHighRun(value) : book.chooseBack(value);
}

// What else is in the folder, and what lies at each file and holds, read only through a plain file.
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
        // Names as typed, as stored in Windows-1252 (cut to 15 characters, never inside one), and as read.
        const QStringList typed = {u"Zoë Ågren"_qs, u"€uro"_qs, u"Rene\u0301"_qs, u"Ли 🂡"_qs, u"ABCDEFGHIJKLMN🂡X"_qs,
                                   u"ABCDEFGHIJKLM\uD55CX"_qs}, read = {u"Zoë Ågren"_qs, u"€uro"_qs, u"René"_qs};
        const QList<QByteArray> stored = {"Zo\xeb \xc5gren", "\x80uro", "Ren\xe9", "?? ?", "ABCDEFGHIJKLMN?", "ABCDEFGHIJKLM?X"};
        const QByteArray head(9, '\0');
        HighScoreTable table;
        QByteArray scores = "head" + QByteArray(5, '\0'), names = head; // the unused head is kept as it was
        game.writeFile(Scores, "head");
        for (int k = 1; k <= HighScoreTable::EntryCount; ++k) {
            table.insert(k, 70000 - k, typed.value(k - 1));
            scores += char(0x70 - k) + QByteArray::fromHex("110100"); // 70000 is 0x11170
            names += stored.value(k - 1).leftJustified(HighScoreTable::NameLength, ' ');
        }
        // Through the codec, since no game action stores a negative best run.
        game.records->change(u"a test table"_qs, [&](RecordFiles::Edit &edit) {
            RecordCodec::putHighRun(*edit.file(Run), -2);
            QByteArray *scoreBytes = edit.file(Scores);
            RecordCodec::putTable(*scoreBytes, *edit.file(Names), table);
        });
        game.book.chooseBack(258);
        QCOMPARE(game.readFile(Scores) + game.readFile(Names), scores + names);
        QCOMPARE(game.readFile(Run) + game.readFile(Backs), QByteArray::fromHex("feff0201"));
        for (int k = 1; k <= HighScoreTable::EntryCount; ++k)
            QCOMPARE(game.records->readHighScores().entry(k).name,
                     (k <= 3 ? read.value(k - 1) : QString::fromLatin1(stored.value(k - 1))).leftJustified(15));
        // Short files read blank beyond their end: entry 2 and the second name are cut.
        game.writeFile(Scores, head + QByteArray::fromHex("e80300000102"));
        game.writeFile(Names, head + "Winner         Hal");
        const HighScoreTable cut = game.records->readHighScores();
        QCOMPARE(QList<qint32>({cut.entry(1).score, cut.entry(2).score}), QList<qint32>({1000, 0}));
        QCOMPARE(cut.entry(1).name + cut.entry(2).name, u"Winner         "_qs + QString(15, u' '));
    }

    void failedSavesKeepTheOldFilesAndAreTold_data()
    {
        for (const char *column : {"obstacle" /* what lies in the place of fileName */, "fileName", "actions"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<int>("failingStep");
        QTest::addColumn<QStringList>("told"); // the file each message names
        // A save writes and syncs each temporary file, then for a pair the journal, and syncs the folder.
        // The second of each save fails at its first step, and is told again only for another file.
        const QList<std::pair<QString, QStringList>> saves = {
            {"ee", {Scores, Names}}, {"cc", {Scores, Names, Run}}, {"rr", {Run}}, {"bb", {Backs}}};
        for (const auto &[actions, files] : saves)
            for (int step = 1; step <= 2 * files.size() + (files.size() > 1 ? 3 : 0); ++step) {
                QStringList told{files.value((step - 1) / 2, Scores), files.first()};
                told.removeDuplicates();
                QTest::addRow("%s at step %d", qPrintable(actions), step) << QString() << QString() << actions << step << told;
            }
        QTest::newRow("every save on a full tmpfs") << u"full disk"_qs << QString() << u"erbc"_qs << 0 << QStringList{Scores, Run, Backs};
        for (const QString &fileName : RecordNames)
            for (const char *kind : {"link", "dangling link", "pipe", "device", "folder", "big file"})
                QTest::addRow("%s as a %s", qPrintable(fileName), kind)
                    << QString::fromLatin1(kind) << fileName << u"cerb"_qs << 0 << QStringList{fileName};
    }

    void failedSavesKeepTheOldFilesAndAreTold()
    {
        QFETCH(QString, obstacle);
        QFETCH(QString, fileName);
        QFETCH(QStringList, told);
        GameFixture game(FailingRecordFiles::make);
        auto &records = static_cast<FailingRecordFiles &>(*game.records);
        const QByteArray dir = QFile::encodeName(game.dir.path()), path = QFile::encodeName(game.path(fileName));
        const bool onTmpfs = obstacle == u"full disk";
        if (onTmpfs && (::geteuid() != 0 || ::mount("tmpfs", dir.constData(), "tmpfs", 0, "size=64k") != 0))
            QSKIP("SKIPPED the real full-disk test: it needs root, to mount a small tmpfs (CI runs as root)");
        const auto unmount = qScopeGuard([&] { if (onTmpfs) ::umount2(dir.constData(), MNT_DETACH); });
        save(game.book, u"erb"_qs, 5);
        if (!fileName.isEmpty()) // moved aside for the link to lead to: nothing may be read through it
            QVERIFY(QFile::rename(game.path(fileName), game.path(u"target"_qs)));
        if (obstacle == u"device" && ::mknod(path.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0)
            QSKIP("SKIPPED: making a device node needs root");
        QVERIFY(obstacle.endsWith(u"link") ? QFile::link(obstacle == u"link" ? u"target"_qs : u"gone"_qs, game.path(fileName))
                : obstacle == u"pipe"     ? ::mkfifo(path.constData(), 0600) == 0
                : obstacle == u"folder"   ? QDir(game.dir.path()).mkdir(fileName)
                : obstacle == u"big file" ? (game.writeFile(fileName, QByteArray(RecordFiles::MaxFileSize + 1, 'z')), true)
                                          : true);
        QFile filler(game.path(u"filler"_qs));
        QVERIFY(!onTmpfs || filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (onTmpfs && (filler.write(QByteArray(4096, 'x')) > 0 || filler.write("x") > 0)) { }
        const QStringList kept = fileName.isEmpty() ? RecordNames
            : fileName == Scores || fileName == Names ? QStringList{Scores, Names} : QStringList{fileName};
        const QVariantList before = stateOf(game, kept);
        QFETCH(int, failingStep);
        QFETCH(QString, actions);
        records.failAt = failingStep;
        game.table(); // the real table, which reads the records at its start and tells the player
        save(game.book, actions, 8);
        QCoreApplication::processEvents();
        QCOMPARE(stateOf(game, kept), before);
        const auto value = [&](const QString &f) { return f == fileName ? 0 : kept.contains(f) ? 5 : 8; };
        QCOMPARE(QList<int>({records.readHighRun(), records.readBackIndex(), records.readTopScore(),
                             records.readHighScores().entry(1).name.trimmed().toInt()}),
                 QList<int>({value(Run), value(Backs), value(Scores), value(Names)}));
        QCOMPARE(game.prompts.messages.size(), told.size());
        for (const QString &message : std::as_const(game.prompts.messages))
            QVERIFY2(message.contains(u'"' + game.path(told.takeFirst()) + u'"')
                         && message.contains(u"the disk is full") == fileName.isEmpty(), qPrintable(message));
    }

    void aFailedBestRunWaitsForTheRoundsEndAndIsToldOnce()
    {
        GameFixture game(FailingRecordFiles::make);
        auto &records = static_cast<FailingRecordFiles &>(*game.records);
        const auto playRun = [&](int cards, int failAt) {
            records.failAt = failAt, records.steps = 0;
            for (int card = 0; card < cards; ++card) {
                game.putCard(19, game.table()->model().wasteRank() % 13 + 1);
                game.click(19);
                QCoreApplication::processEvents(); // where a queued box would open
            }
        };
        QStringList whenTold; // the round-end caption on view as each box opens
        game.prompts.onMessage = [&](const QString &message) {
            QVERIFY(!game.table()->model().clockRunning());
            if (message.contains(game.path(Run)))
                whenTold << game.text("lblBonuslbl");
        };
        game.click("cmdDeal");
        playRun(3, 1); // three new best runs in a round, none of them saved
        QCOMPARE(game.prompts.messages, QStringList());
        QCOMPARE(game.text("lblHighRun"), u"3"_qs);
        game.click("cmdTake"); // the round ends, and the second is dealt after its time bonus
        QCOMPARE(whenTold, QStringList{u"TIME BONUS:"_qs});
        playRun(4, 0); // a save that works clears the failure, so the next one is told again
        QCOMPARE(records.readHighRun(), 4);
        playRun(1, 1);
        QCOMPARE(whenTold.size(), 1);
        game.click("cmdTake");
        QCOMPARE(whenTold, QStringList({u"TIME BONUS:"_qs, u"TIME BONUS:"_qs}));
    }

    void startFinishesACompleteJournalAndRemovesOnlyItsOwnFiles_data()
    {
        QTest::addColumn<QByteArray>("journal");
        QTest::addColumn<bool>("finished");
        const QByteArray pair = "zelscores.dat.marigold-save-Ab3dE9 zelscores.dat\nnames.dat.marigold-save-Zz0yX1 names.dat\n",
                         oldPair = "zelscores.dat.Ab3dE9 zelscores.dat\nnames.dat.Zz0yX1 names.dat\n",
                         head = "marigold records journal 2\n";
        const auto sealed = [](const QByteArray &b) { return b + "end " + QByteArray::number(qChecksum(b)) + '\n'; };
        QTest::newRow("a journal cut off before its end is dropped") << head + pair << false;
        QTest::newRow("one renaming a file not its own is dropped") << sealed(head + "victim.dat names.dat\n") << false;
        QTest::newRow("one renaming out of the folder is dropped")
            << sealed(head + "zelscores.dat.marigold-save-Ab3dE9 ../zelscores.dat\n") << false;
        QTest::newRow("one naming files of the old pattern is dropped") << sealed(head + oldPair) << false;
        QTest::newRow("a complete one of the releases before is finished")
            << sealed("marigold records journal 1\n" + oldPair) << true;
        QTest::newRow("a complete one naming its own files is finished") << sealed(head + pair) << true;
    }

    void startFinishesACompleteJournalAndRemovesOnlyItsOwnFiles()
    {
        QFETCH(QByteArray, journal);
        QFETCH(bool, finished);
        GameFixture game;
        save(game.book, u"e"_qs, 7);
        const QByteArray old = game.readFile(Scores) + game.readFile(Names);
        for (const char *pattern : {"%1.marigold-save-%2", "%1.%2"}) {
            game.writeFile(QString::fromLatin1(pattern).arg(Scores, u"Ab3dE9"_qs), "new scores");
            game.writeFile(QString::fromLatin1(pattern).arg(Names, u"Zz0yX1"_qs), "new names");
        }
        game.writeFile(u"zelbacks.dat.marigold-save-q7XpAa"_qs, "a temporary file a killed copy left");
        // The player's own copies, which look much like the temporary files of old.
        QStringList others = {u"victim.dat"_qs, u"zelscores.dat.backup"_qs, u"names.dat.backup"_qs,
                              u"zelbacks.dat.myCopy"_qs, u"zelscores.dat.2025v1"_qs};
        for (const QString &name : std::as_const(others))
            game.writeFile(name, "the player's own");
        game.writeFile(RecordFiles::JournalFile, journal);
        RecordFiles start(game.dir.path());
        QCOMPARE(game.readFile(Scores) + game.readFile(Names), finished ? "new scoresnew names" : old);
        if (!finished || !journal.startsWith("marigold records journal 1")) // no longer told apart once it is gone
            others << u"zelscores.dat.Ab3dE9"_qs << u"names.dat.Zz0yX1"_qs;
        others.sort(Qt::CaseInsensitive);
        QCOMPARE(stateOf(game, {}), QVariantList{others});
        QCOMPARE(game.readFile(u"zelscores.dat.backup"_qs), "the player's own");
        QVERIFY(!QFile::exists(game.dir.filePath(u"../zelscores.dat"_qs)));
    }
};

QTEST_MAIN(tst_RecordFiles)
#include "tst_recordfiles.moc"
