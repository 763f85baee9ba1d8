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
#include <array>
#include <csignal>
#include <functional>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QStringList Records = {RecordFiles::ScoresFile, RecordFiles::NamesFile, RecordFiles::RunFile,
                             RecordFiles::BacksFile};

// Generation g makes a save of kind g % 4, with values of its own, so that the files tell
// how far the saves got. Generations 0 to 3 lay every file down once.
enum Kind { Entry, Run, Back, Clear };
constexpr qint64 FirstWhole = 3;

qint32 score(qint64 generation, int k)
{
    return qint32(generation * 10 + 10 - k);
}

QByteArray name(qint64 generation, int k)
{
    return QByteArray::number(generation) + '/' + QByteArray::number(k);
}

qint16 value(qint64 generation)
{
    return qint16(1 + generation % 30000);
}

// Whole tables, so that the files tell which generation they hold.
void save(RecordFiles &records, qint64 generation)
{
    HighScoreTable table;
    if (generation % 4 == Entry) {
        for (int k = 1; k <= HighScoreTable::EntryCount; ++k)
            table.setEntry(k, {score(generation, k), QString::fromLatin1(name(generation, k))});
    }
    records.change(QString(), [&](RecordFiles::Edit &edit) {
        switch (Kind(generation % 4)) {
        case Entry:
        case Clear: {
            QByteArray *scores = edit.file(RecordFiles::ScoresFile);
            RecordCodec::putTable(*scores, *edit.file(RecordFiles::NamesFile), table);
            if (generation % 4 == Clear)
                RecordCodec::clearHighRun(*edit.file(RecordFiles::RunFile));
            return;
        }
        case Run:
            return RecordCodec::putHighRun(*edit.file(RecordFiles::RunFile), value(generation));
        case Back:
            return RecordCodec::putBackIndex(*edit.file(RecordFiles::BacksFile), value(generation));
        }
    });
}

// The latest generation at or before this one that made either kind of save.
qint64 latest(qint64 generation, Kind kind, Kind orKind)
{
    while (generation % 4 != kind && generation % 4 != orKind)
        --generation;
    return generation;
}

template<typename T>
QByteArray littleEndian(T number)
{
    QByteArray bytes(sizeof number, '\0');
    qToLittleEndian(number, bytes.data());
    return bytes;
}

// The four files once a generation and all before it are saved, written out here rather
// than by the code under test.
QList<QByteArray> expectedAfter(qint64 generation)
{
    const qint64 table = latest(generation, Entry, Clear), run = latest(generation, Run, Clear);
    QList<QByteArray> files = {QByteArray(9, '\0'), QByteArray(9, '\0')};
    for (int k = 1; k <= HighScoreTable::EntryCount; ++k) {
        files[0] += littleEndian(table % 4 == Entry ? score(table, k) : 0);
        const QByteArray entryName = table % 4 == Entry ? name(table, k) : QByteArray();
        files[1] += entryName.leftJustified(HighScoreTable::NameLength);
    }
    files << littleEndian(run % 4 == Run ? value(run) : qint16(0)) + QByteArray(2, '\0');
    files << littleEndian(value(latest(generation, Back, Back)));
    return files;
}

// A killed process leaves the page cache as it was, so a disk adds nothing but slow syncs.
QString scratchParent()
{
    return QDir(u"/dev/shm"_qs).exists() ? u"/dev/shm"_qs : QDir::tempPath();
}

// A lock left empty by a copy killed as it took the lock is stale only after a second; the
// next start is made to come that much later.
void letTimePassSinceTheKills(const QString &folder)
{
    for (const QString &name : {RecordFiles::LockFile, RecordFiles::LockFile + u".rmlock"_qs}) {
        QFile lock(QDir(folder).filePath(name));
        if (lock.exists() && lock.open(QIODevice::ReadWrite))
            lock.setFileTime(QDateTime::currentDateTime().addSecs(-2), QFileDevice::FileModificationTime);
    }
}

QStringList filesBesideTheRecords(const QString &folder)
{
    QStringList left = QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden);
    left.removeIf([](const QString &name) { return Records.contains(name); });
    return left;
}

int killCount(int fallback)
{
    return qEnvironmentVariableIsSet("MARIGOLD_CRASH_KILLS") ? qEnvironmentVariableIntValue("MARIGOLD_CRASH_KILLS")
                                                             : fallback;
}

// Another copy of the game: a forked process running `work`, which talks to the test a line
// at a time. It dies with the test, and is killed when it goes out of scope.
class Copy
{
public:
    Q_DISABLE_COPY_MOVE(Copy)
    explicit Copy(const std::function<void(Copy &)> &work)
    {
        int toCopy[2], fromCopy[2];
        if (::pipe(toCopy) != 0 || ::pipe(fromCopy) != 0)
            qFatal("no pipe");
        m_pid = ::fork();
        if (m_pid == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            ::close(toCopy[1]), ::close(fromCopy[0]);
            m_in = toCopy[0], m_out = fromCopy[1];
            work(*this);
            ::_exit(0);
        }
        ::close(toCopy[0]), ::close(fromCopy[1]);
        m_in = fromCopy[0], m_out = toCopy[1];
    }
    ~Copy()
    {
        kill();
        ::close(m_in), ::close(m_out);
    }
    void say(const QByteArray &line) { [[maybe_unused]] auto n = ::write(m_out, line + '\n', line.size() + 1); }
    // The next line, or what there is of it once the other side is gone.
    QByteArray hear()
    {
        QByteArray line;
        char c;
        while (::read(m_in, &c, 1) == 1 && c != '\n')
            line += c;
        return line;
    }
    void kill()
    {
        if (m_pid > 0 && ::kill(m_pid, SIGKILL) == 0)
            ::waitpid(std::exchange(m_pid, 0), nullptr, 0);
    }

private:
    pid_t m_pid = 0;
    int m_in = -1, m_out = -1;
};

// Stops at its `stopAt`-th sync, says "held", and goes on when told. A save of a pair syncs
// its two temporary files, then the journal, then the folder before the renames.
struct StoppingRecordFiles : RecordFiles
{
    StoppingRecordFiles(const QString &folder, Copy &copy, int stopAt)
        : RecordFiles(folder), copy(copy), stopAt(stopAt) { }
    int syncToDisk(int fd) override
    {
        if (++syncs == stopAt) {
            copy.say("held");
            copy.hear();
        }
        return RecordFiles::syncToDisk(fd);
    }
    Copy &copy;
    int stopAt, syncs = 0;
};

QStringList entries(const HighScoreTable &table)
{
    QStringList shown;
    for (int k = 1; k <= HighScoreTable::EntryCount && table.entry(k).score; ++k)
        shown << table.entry(k).name.trimmed() + u' ' + QString::number(table.entry(k).score);
    return shown;
}

} // namespace

// Two copies of the game on one folder lose nothing of each other's, and savers of every
// kind killed at random moments leave each file old or new, each pair matching, and no
// temporary file behind.
class tst_RecordCrash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aSecondCopyNeitherLowersTheBestRunNorDropsAnEntry()
    {
        QTemporaryDir dir(scratchParent() + u"/tst_recordcrash-XXXXXX"_qs);
        RandomGenerator random;
        RecordFiles files(dir.path());
        HighScoreBook alices(files, random);
        qint16 shownRun = 0;
        connect(&alices, &HighScoreBook::highRunChanged, this, [&](qint16 run) { shownRun = run; });
        // Both copies reach the name prompt on an empty table; Bob answers first.
        QCOMPARE(alices.placeFor(6050), 1);
        Copy bobs([&](Copy &) {
            RecordFiles files(dir.path());
            HighScoreBook book(files, random);
            book.raiseHighRun(3);
            book.enter(6700, book.placeFor(6700) == 1 ? u"Bob"_qs : u"wrong place"_qs);
        });
        QCOMPARE(bobs.hear(), QByteArray()); // it is done
        alices.raiseHighRun(1); // Alice's copy, which read a best run of 0, takes one card
        alices.enter(6050, u"Alice"_qs);
        QCOMPARE(files.readHighRun(), 3);
        QCOMPARE(shownRun, 3);
        QCOMPARE(entries(files.readHighScores()), QStringList({u"Bob 6700"_qs, u"Alice 6050"_qs}));
        QCOMPARE(alices.takeFailures(), QStringList());
    }

    void aCopyStartingDuringAnothersSaveLeavesItAlone()
    {
        QTemporaryDir dir(scratchParent() + u"/tst_recordcrash-XXXXXX"_qs);
        RandomGenerator random;
        Copy bobs([&](Copy &copy) {
            StoppingRecordFiles files(dir.path(), copy, 4);
            HighScoreBook book(files, random);
            book.enter(6700, u"Bob"_qs);
            copy.say(book.takeFailures().isEmpty() ? "kept" : "lost");
        });
        QCOMPARE(bobs.hear(), "held"); // its journal and both temporary files are on disk
        const QStringList saving = filesBesideTheRecords(dir.path());
        QCOMPARE(saving.size(), 4); // with the lock
        RecordFiles alices(dir.path());
        QCOMPARE(filesBesideTheRecords(dir.path()), saving);
        bobs.say("go");
        QCOMPARE(bobs.hear(), "kept");
        QCOMPARE(entries(alices.readHighScores()), QStringList{u"Bob 6700"_qs});
    }

    void aCopyKilledBetweenItsRenamesIsFinishedByTheOther()
    {
        QTemporaryDir dir(scratchParent() + u"/tst_recordcrash-XXXXXX"_qs);
        RandomGenerator random;
        RecordFiles files(dir.path());
        HighScoreBook alices(files, random);
        Copy bobs([&](Copy &copy) {
            StoppingRecordFiles files(dir.path(), copy, 4);
            HighScoreBook(files, random).enter(6700, u"Bob"_qs);
        });
        QCOMPARE(bobs.hear(), "held");
        // Killed after its first rename: the test makes that rename, as the copy was about to.
        QFile journal(dir.filePath(RecordFiles::JournalFile));
        QVERIFY(journal.open(QIODevice::ReadOnly));
        journal.readLine();
        const QList<QByteArray> first = journal.readLine().trimmed().split(' ');
        QCOMPARE(::rename(QFile::encodeName(dir.filePath(QString::fromLatin1(first.value(0)))).constData(),
                          QFile::encodeName(dir.filePath(QString::fromLatin1(first.value(1)))).constData()),
                 0);
        bobs.kill();
        alices.enter(6050, u"Alice"_qs);
        QCOMPARE(entries(files.readHighScores()), QStringList({u"Bob 6700"_qs, u"Alice 6050"_qs}));
        QCOMPARE(filesBesideTheRecords(dir.path()), QStringList());
    }

    void aCopyThatFindsTheRecordsLockedSaysSoAndSavesLater()
    {
        QTemporaryDir dir(scratchParent() + u"/tst_recordcrash-XXXXXX"_qs);
        RandomGenerator random;
        Copy stuck([&](Copy &copy) {
            StoppingRecordFiles files(dir.path(), copy, 1);
            HighScoreBook(files, random).chooseBack(3);
        });
        QCOMPARE(stuck.hear(), "held"); // it holds the lock, and keeps it past the wait
        RecordFiles files(dir.path());
        HighScoreBook book(files, random);
        book.raiseHighRun(5);
        QCOMPARE(files.readHighRun(), 0);
        const QStringList told = book.takeFailures();
        QCOMPARE(told.size(), 1);
        QVERIFY2(told.first().contains(u"locked"_qs) && told.first().contains(u"the new best run"_qs),
                 qPrintable(told.first()));
        // Closing now, it keeps no promise of a later save.
        QCOMPARE(book.saveBeforeClosing(), QStringList(u"Another copy of Marigold kept the records in \""_qs
                                                       + dir.path() + u"\" locked, so the new best run could "
                                                                        "not be saved before Marigold closed."_qs));
        stuck.say("go");
        QCOMPARE(stuck.hear(), QByteArray());
        book.chooseBack(7); // the best run goes first
        QCOMPARE(QList<int>({files.readHighRun(), files.readBackIndex()}), QList<int>({5, 7}));
    }

    void twoCopiesKilledAtRandomKeepEveryEntryTheySaved()
    {
        const int kills = killCount(500);
        QTemporaryDir dir(scratchParent() + u"/tst_recordcrash-XXXXXX"_qs);
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        QList<qint32> saved; // the scores the copies saw saved, none of which may be lost
        qint16 bestRun = 0;
        for (int round = 0; round * 2 < kills; ++round) {
            // Copy c enters scores 2n + c, rising from round to round, and ever longer best runs.
            const auto saver = [&](int c) {
                return [&, c](Copy &copy) {
                    RecordFiles files(dir.path());
                    RandomGenerator names;
                    HighScoreBook book(files, names);
                    for (int n = 1;; ++n) {
                        const qint32 score = (round * 100'000 + n) * 2 + c;
                        const qint16 run = qint16(round * 40 + std::min(n, 39));
                        book.enter(score, QString::number(score));
                        book.raiseHighRun(run);
                        if (book.takeFailures().isEmpty())
                            copy.say(QByteArray::number(score) + ' ' + QByteArray::number(run));
                    }
                };
            };
            const std::array copies = {std::make_unique<Copy>(saver(0)), std::make_unique<Copy>(saver(1))};
            const int first = random.bounded(2);
            for (const int c : {first, 1 - first}) { // the other saves on after the first is killed
                ::usleep(random.bounded(20'000));
                copies[c]->kill();
            }
            for (const auto &copy : copies) {
                for (QByteArray line; !(line = copy->hear()).isEmpty();) {
                    saved << line.split(' ').value(0).toInt();
                    bestRun = std::max(bestRun, line.split(' ').value(1).toShort());
                }
            }
            letTimePassSinceTheKills(dir.path());
            RecordFiles next(dir.path());
            const HighScoreTable table = next.readHighScores();
            const QString where = u"round %1, seed %2: "_qs.arg(round).arg(seed) + entries(table).join(u", ");
            QVERIFY2(filesBesideTheRecords(dir.path()).isEmpty(), qPrintable(where));
            // Every entry whole (its name is its score) and in order, and no saved one lost.
            for (int k = 1; k <= HighScoreTable::EntryCount; ++k) {
                const HighScoreTable::Entry entry = table.entry(k);
                QVERIFY2(entry.name.trimmed() == (entry.score ? QString::number(entry.score) : QString())
                             && (k == 1 || !entry.score || entry.score < table.entry(k - 1).score),
                         qPrintable(where));
            }
            for (const qint32 score : std::as_const(saved))
                QVERIFY2(score < table.entry(HighScoreTable::EntryCount).score
                             || entries(table).contains(QString::number(score) + u' ' + QString::number(score)),
                         qPrintable(where + u" lost "_qs + QString::number(score)));
            QVERIFY2(next.readHighRun() >= bestRun, qPrintable(where + u" best run down from "_qs
                                                                   + QString::number(bestRun)));
            bestRun = next.readHighRun();
        }
        qInfo("%d kills of two copies (seed %u), %lld saves seen", kills, seed, qint64(saved.size()));
    }

    void killedSavesLeaveWholeRecords()
    {
        const int kills = killCount(1000);
        constexpr int LongestWaitMicroseconds = 20'000, LookAhead = 20'000; // waits span a few saves
        QTemporaryDir dir(scratchParent() + u"/tst_recordcrash-XXXXXX"_qs);
        QVERIFY(dir.isValid());
        const auto read = [&] {
            QList<QByteArray> files;
            for (const QString &record : Records) {
                QFile file(dir.filePath(record));
                files << (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>"));
            }
            return files;
        };
        RecordFiles first(dir.path());
        for (qint64 generation = 0; generation <= FirstWhole; ++generation)
            save(first, generation);
        qint64 saved = FirstWhole;
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        int journals = 0;
        for (int kill = 1; kill <= kills; ++kill) {
            const pid_t saver = ::fork();
            QVERIFY(saver >= 0);
            if (saver == 0) { // the child saves generation after generation until it is killed
                ::prctl(PR_SET_PDEATHSIG, SIGKILL);
                RecordFiles records(dir.path());
                for (qint64 generation = saved + 1;; ++generation)
                    save(records, generation);
            }
            ::usleep(random.bounded(LongestWaitMicroseconds));
            ::kill(saver, SIGKILL);
            ::waitpid(saver, nullptr, 0);
            journals += QFile::exists(dir.filePath(RecordFiles::JournalFile));
            letTimePassSinceTheKills(dir.path());
            RecordFiles next(dir.path());
            const QStringList left = filesBesideTheRecords(dir.path());
            QVERIFY2(left.isEmpty(),
                     qPrintable(u"kill %1, seed %2: left %3"_qs.arg(kill).arg(seed).arg(left.join(u' '))));
            const QList<QByteArray> files = read();
            const qint64 before = saved;
            while (saved <= before + LookAhead && files != expectedAfter(saved))
                ++saved;
            QVERIFY2(saved <= before + LookAhead,
                     qPrintable(u"kill %1, seed %2: the files match no generation after %3: %4"_qs.arg(kill)
                                    .arg(seed).arg(before).arg(QDebug::toString(files))));
        }
        qInfo("%d kills (seed %u) after %lld saves; %d left a journal for the next start", kills, seed,
              saved - FirstWhole, journals);
    }
};

QTEST_GUILESS_MAIN(tst_RecordCrash)
#include "tst_recordcrash.moc"
