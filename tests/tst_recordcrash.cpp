// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/randomgenerator.h"
#include "records/highscorebook.h"
#include "records/recordcodec.h"
#include "records/recordfiles.h"
#include <QDateTime>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <csignal>
#include <functional>
#include <optional>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QStringList Records = {RecordFiles::ScoresFile, RecordFiles::NamesFile, RecordFiles::RunFile,
                             RecordFiles::BacksFile};

// Generation g makes a save of kind g % 4 with values of its own, so the files tell how far
// the saves got. Generations 0 to 3 lay every file down once and leave the table empty.
enum Kind { Entry, Run, Back, Clear };
qint32 score(qint64 generation, int k) { return qint32(generation * 10 + 10 - k); }
QByteArray name(qint64 generation, int k) { return QByteArray::number(generation) + '/' + QByteArray::number(k); }
qint16 value(qint64 generation) { return qint16(1 + generation % 30000); }

void save(RecordFiles &records, qint64 generation)
{
    HighScoreTable table;
    for (int k = 1; generation % 4 == Entry && k <= HighScoreTable::EntryCount; ++k)
        table.setEntry(k, {score(generation, k), QString::fromLatin1(name(generation, k))});
    records.change(QString(), [&](RecordFiles::Edit &edit) {
        if (generation % 4 == Run || generation % 4 == Back)
            return generation % 4 == Run ? RecordCodec::putHighRun(*edit.file(RecordFiles::RunFile), value(generation))
                                         : RecordCodec::putBackIndex(*edit.file(RecordFiles::BacksFile), value(generation));
        QByteArray *scores = edit.file(RecordFiles::ScoresFile);
        RecordCodec::putTable(*scores, *edit.file(RecordFiles::NamesFile), table);
        if (generation % 4 == Clear)
            RecordCodec::clearHighRun(*edit.file(RecordFiles::RunFile));
    });
}

// The latest generation at or before this one that made either kind of save.
qint64 latest(qint64 g, Kind kind, Kind orKind) { while (g % 4 != kind && g % 4 != orKind) --g; return g; }

template<typename T>
QByteArray littleEndian(T n) { n = qToLittleEndian(n); return QByteArray(reinterpret_cast<const char *>(&n), sizeof n); }

// The four files once a generation and all before it are saved, laid out here, not by the code under test.
QList<QByteArray> expectedAfter(qint64 generation)
{
    const qint64 table = latest(generation, Entry, Clear), run = latest(generation, Run, Clear);
    QList<QByteArray> files = {QByteArray(9, '\0'), QByteArray(9, '\0')};
    for (int k = 1; k <= HighScoreTable::EntryCount; ++k) {
        files[0] += littleEndian(table % 4 == Entry ? score(table, k) : 0);
        files[1] += (table % 4 == Entry ? name(table, k) : QByteArray()).leftJustified(HighScoreTable::NameLength);
    }
    return files << littleEndian(run % 4 == Run ? value(run) : qint16(0)) + QByteArray(2, '\0')
                 << littleEndian(value(latest(generation, Back, Back)));
}

// A killed process leaves the page cache as it was, so a disk adds nothing but slow syncs.
QString scratch() { return (QDir(u"/dev/shm"_qs).exists() ? u"/dev/shm"_qs : QDir::tempPath()) + u"/tst_recordcrash-XXXXXX"_qs; }

QStringList filesBesideTheRecords(const QString &folder)
{
    QStringList left = QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden);
    left.removeIf([](const QString &name) { return Records.contains(name); });
    return left;
}

QStringList entries(const HighScoreTable &table)
{
    QStringList shown;
    for (int k = 1; k <= HighScoreTable::EntryCount && table.entry(k).score; ++k)
        shown << table.entry(k).name.trimmed() + u' ' + QString::number(table.entry(k).score);
    return shown;
}

// Another copy of the game: a forked process running `work`, talking to the test a line at a
// time. It dies with the test, and is killed when it goes out of scope.
struct Copy
{
    Q_DISABLE_COPY_MOVE(Copy)
    explicit Copy(const std::function<void(Copy &)> &work)
    {
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0)
            qFatal("no socket pair");
        if ((pid = ::fork()) == 0)
            ::prctl(PR_SET_PDEATHSIG, SIGKILL), ::close(ends[0]), end = ends[1], work(*this), ::_exit(0);
        ::close(ends[1]), end = ends[0];
    }
    ~Copy() { kill(), ::close(end); }
    void say(const QByteArray &line) { ::send(end, line + '\n', line.size() + 1, MSG_NOSIGNAL); }
    // The next line, or what there is of it once the other side is gone.
    QByteArray hear() { QByteArray line; for (char c; ::read(end, &c, 1) == 1 && c != '\n';) line += c; return line; }
    void kill() { if (pid > 0 && ::kill(pid, SIGKILL) == 0) ::waitpid(std::exchange(pid, 0), nullptr, 0); }
    pid_t pid = 0;
    int end = -1;
};

// Stops at its `stopAt`-th sync, says "held", and goes on when told. A save of a pair syncs
// its two temporary files, then the journal, then the folder before the renames.
struct StoppingRecordFiles : RecordFiles
{
    StoppingRecordFiles(const QString &folder, Copy &copy, int stopAt) : RecordFiles(folder), copy(copy), stopAt(stopAt) { }
    int syncToDisk(int fd) override { if (++syncs == stopAt) copy.say("held"), copy.hear(); return RecordFiles::syncToDisk(fd); }
    Copy &copy;
    int stopAt, syncs = 0;
};

} // namespace

class tst_RecordCrash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Alice's copy reads an empty table and offers place 1; Bob's copy saves first, 6700 and a best
    // run of 3; Alice then raises hers to 1 and enters 6050.
    void aSecondCopysSavesAreKept_data()
    {
        QTest::addColumn<bool>("aliceStartsDuringBobsSave"); // and finds the records locked by it
        QTest::addColumn<bool>("bobKilledBetweenHisRenames");
        QTest::addColumn<QList<int>>("bestRun"); // stored, and as Alice's copy shows it (0: not told)
        QTest::newRow("a second copy neither lowers the best run nor drops an entry") << false << false << QList{3, 3};
        QTest::newRow("a copy starting during another's save leaves it alone, and saves after it")
            << true << false << QList{5, 5};
        QTest::newRow("a copy killed between its renames is finished by the other") << false << true << QList{1, 0};
    }

    void aSecondCopysSavesAreKept()
    {
        QFETCH(const bool, aliceStartsDuringBobsSave);
        QFETCH(const bool, bobKilledBetweenHisRenames);
        const bool held = aliceStartsDuringBobsSave || bobKilledBetweenHisRenames;
        QTemporaryDir dir(scratch());
        RandomGenerator random;
        std::optional<RecordFiles> files;
        std::optional<HighScoreBook> alices;
        qint16 shownRun = 0;
        const auto startAlice = [&] {
            alices.emplace(files.emplace(dir.path()), random);
            connect(&*alices, &HighScoreBook::highRunChanged, this, [&](qint16 run) { shownRun = run; });
            QCOMPARE(alices->placeFor(6050), 1);
        };
        if (!aliceStartsDuringBobsSave)
            startAlice();
        Copy bobs([&](Copy &copy) {
            StoppingRecordFiles files(dir.path(), copy, held ? 4 : 0);
            HighScoreBook book(files, random);
            book.enter(6700, book.placeFor(6700) == 1 ? u"Bob"_qs : u"wrong place"_qs);
            book.raiseHighRun(3);
            copy.say(book.takeFailures().isEmpty() ? "kept" : "lost");
        });
        if (held) {
            QCOMPARE(bobs.hear(), "held"); // his journal and both temporary files are on disk
            const QStringList saving = filesBesideTheRecords(dir.path());
            QCOMPARE(saving.size(), 4); // with the lock
            if (aliceStartsDuringBobsSave)
                startAlice();
            QCOMPARE(filesBesideTheRecords(dir.path()), saving);
        }
        if (aliceStartsDuringBobsSave) { // Bob keeps the lock past her wait
            alices->raiseHighRun(5);
            QCOMPARE(files->readHighRun(), 0);
            const QStringList told = alices->takeFailures();
            QVERIFY2(told.size() == 1 && told[0].contains(u"locked"_qs) && told[0].contains(u"the new best run"_qs),
                     qPrintable(told.join(u'\n')));
            // Closing now, it keeps no promise of a later save.
            QCOMPARE(alices->saveBeforeClosing(), QStringList(u"Another copy of Marigold kept the records in \""_qs
                + dir.path() + u"\" locked, so the new best run could not be saved before Marigold closed."_qs));
        }
        if (bobKilledBetweenHisRenames) { // the test makes his first rename, as he was about to
            QFile journal(dir.filePath(RecordFiles::JournalFile));
            const QList<QByteArray> first = (journal.open(QIODevice::ReadOnly), journal.readAll()).split('\n').value(1).split(' ');
            QCOMPARE(::rename(QFile::encodeName(dir.filePath(QString::fromLatin1(first.value(0)))).constData(),
                              QFile::encodeName(dir.filePath(QString::fromLatin1(first.value(1)))).constData()), 0);
            bobs.kill();
        } else {
            bobs.say("go");
            QCOMPARE(bobs.hear(), "kept");
        }
        alices->raiseHighRun(1); // where her 5 waited for the lock, it goes first
        alices->enter(6050, u"Alice"_qs);
        QTEST(QList<int>({files->readHighRun(), shownRun}), "bestRun");
        QCOMPARE(entries(files->readHighScores()), QStringList({u"Bob 6700"_qs, u"Alice 6050"_qs}));
        QCOMPARE(filesBesideTheRecords(dir.path()), QStringList());
        QCOMPARE(alices->takeFailures(), QStringList());
    }

    void killedCopiesLeaveWholeRecords_data()
    {
        QTest::addColumn<int>("copies");
        QTest::addColumn<int>("kills"); // MARIGOLD_CRASH_KILLS overrides
        QTest::newRow("two copies entering scores keep every entry and the best run") << 2 << 500;
        QTest::newRow("one copy saving every kind leaves each file old or new, each pair matching") << 1 << 1000;
    }

    void killedCopiesLeaveWholeRecords()
    {
        QFETCH(int, copies);
        QFETCH(int, kills);
        if (qEnvironmentVariableIsSet("MARIGOLD_CRASH_KILLS"))
            kills = qEnvironmentVariableIntValue("MARIGOLD_CRASH_KILLS");
        QTemporaryDir dir(scratch());
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        qint64 saved = -1; // generations 0 to 3 lay every file down
        for (RecordFiles first(dir.path()); saved < 3;)
            save(first, ++saved);
        QList<qint32> scores; // the scores the copies saw saved, none of which may be lost
        qint16 bestRun = 0;
        for (int round = 0; round * copies < kills; ++round) {
            // One copy saves generation after generation (in the fork, `saved` is its own); two enter
            // scores 2n + c, rising from round to round, and ever longer best runs.
            std::vector<std::unique_ptr<Copy>> running;
            for (int c = 0; c < copies; ++c)
                running.push_back(std::make_unique<Copy>([&, c](Copy &copy) {
                    RecordFiles files(dir.path());
                    RandomGenerator names;
                    HighScoreBook book(files, names);
                    while (copies == 1)
                        save(files, ++saved);
                    for (int n = 1;; ++n) {
                        const qint32 score = (round * 100'000 + n) * 2 + c;
                        const qint16 run = qint16(round * 40 + std::min(n, 39));
                        book.enter(score, QString::number(score));
                        book.raiseHighRun(run);
                        if (book.takeFailures().isEmpty())
                            copy.say(QByteArray::number(score) + ' ' + QByteArray::number(run));
                    }
                }));
            const int firstKilled = random.bounded(copies); // the other saves on after it is killed
            for (int c = 0; c < copies; ++c)
                ::usleep(random.bounded(20'000)), running[(firstKilled + c) % copies]->kill();
            for (const auto &copy : running)
                for (QByteArray line; !(line = copy->hear()).isEmpty();)
                    scores << line.split(' ').value(0).toInt(), bestRun = std::max(bestRun, line.split(' ').value(1).toShort());
            // A lock left empty by a copy killed as it took it is stale only after a second.
            for (const QString &name : {RecordFiles::LockFile, RecordFiles::LockFile + u".rmlock"_qs})
                if (QFile lock(dir.filePath(name)); lock.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
                    lock.setFileTime(QDateTime::currentDateTime().addSecs(-2), QFileDevice::FileModificationTime);
            RecordFiles next(dir.path());
            const HighScoreTable table = next.readHighScores();
            const QString where = u"round %1, seed %2: "_qs.arg(round).arg(seed) + entries(table).join(u", ");
            QVERIFY2(filesBesideTheRecords(dir.path()).isEmpty(),
                     qPrintable(where + u" left "_qs + filesBesideTheRecords(dir.path()).join(u' ')));
            if (copies == 1) {
                QList<QByteArray> files;
                for (const QString &record : Records) {
                    QFile file(dir.filePath(record));
                    files << (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>"));
                }
                const qint64 before = saved, lookAhead = 20'000; // the waits span a few saves
                while (saved <= before + lookAhead && files != expectedAfter(saved))
                    ++saved;
                QVERIFY2(saved <= before + lookAhead, qPrintable(where + u" the files match no generation after "_qs
                                                                 + QString::number(before) + u": "_qs + QDebug::toString(files)));
                continue;
            }
            // Every entry whole (its name is its score) and in order, and no saved one lost.
            for (int k = 1; k <= HighScoreTable::EntryCount; ++k) {
                const HighScoreTable::Entry entry = table.entry(k);
                QVERIFY2(entry.name.trimmed() == (entry.score ? QString::number(entry.score) : QString())
                             && (k == 1 || !entry.score || entry.score < table.entry(k - 1).score), qPrintable(where));
            }
            for (const qint32 score : std::as_const(scores))
                QVERIFY2(score < table.entry(HighScoreTable::EntryCount).score
                             || entries(table).contains(QString::number(score) + u' ' + QString::number(score)),
                         qPrintable(where + u" lost "_qs + QString::number(score)));
            QVERIFY2(next.readHighRun() >= bestRun, qPrintable(where + u" best run down from "_qs + QString::number(bestRun)));
            bestRun = next.readHighRun();
        }
        qInfo("%d kills of %d copies (seed %u)", kills, copies, seed);
    }
};

QTEST_GUILESS_MAIN(tst_RecordCrash)
#include "tst_recordcrash.moc"
