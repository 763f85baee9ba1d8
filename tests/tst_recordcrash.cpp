#include "records/recordfiles.h"
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <csignal>
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

void save(RecordFiles &records, qint64 generation)
{
    HighScoreTable table;
    for (int k = 1; k <= HighScoreTable::EntryCount; ++k)
        table.setEntry(k, {score(generation, k), QString::fromLatin1(name(generation, k))});
    switch (Kind(generation % 4)) {
    case Entry:
        return records.writeHighScores(table);
    case Run:
        return records.writeHighRun(value(generation));
    case Back:
        return records.writeBackIndex(value(generation));
    case Clear:
        return records.clearHighScoresAndRun();
    }
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

} // namespace

// Savers of every kind are killed at random moments: the next start must find each file old
// or new, each pair matching, and no temporary file left.
class tst_RecordCrash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedSavesLeaveWholeRecords()
    {
        const int kills = qEnvironmentVariableIsSet("MARIGOLD_CRASH_KILLS")
            ? qEnvironmentVariableIntValue("MARIGOLD_CRASH_KILLS") : 1000;
        constexpr int LongestWaitMicroseconds = 20'000, LookAhead = 20'000; // waits span a few saves
        // A killed process leaves the page cache as it was, so a disk adds nothing but slow syncs.
        const QString memory = QDir(u"/dev/shm"_qs).exists() ? u"/dev/shm"_qs : QDir::tempPath();
        QTemporaryDir dir(memory + u"/tst_recordcrash-XXXXXX"_qs);
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
            RecordFiles next(dir.path());
            QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden);
            left.removeIf([](const QString &name) { return Records.contains(name); });
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
