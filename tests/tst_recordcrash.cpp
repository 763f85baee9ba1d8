#include "support/recordgenerations.h"
#include "records/recordfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

#include <sys/types.h>
#include <time.h>

using namespace RecordGenerations;

// A process saving every kind of record in a loop, killed at random moments: whatever
// the moment, the next start must find each file old or new and each pair matching.
class tst_RecordCrash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedSavesLeaveWholeRecords();

private:
    static Files read(const QString &folder);
    static QStringList leftovers(const QString &folder);
};

RecordGenerations::Files tst_RecordCrash::read(const QString &folder)
{
    const auto contents = [&folder](const QString &name) {
        QFile file(QDir(folder).filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    };
    return {contents(RecordFiles::ScoresFile), contents(RecordFiles::NamesFile),
            contents(RecordFiles::RunFile), contents(RecordFiles::BacksFile)};
}

QStringList tst_RecordCrash::leftovers(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden);
    for (const QString &record : {RecordFiles::ScoresFile, RecordFiles::NamesFile,
                                  RecordFiles::RunFile, RecordFiles::BacksFile})
        names.removeOne(record);
    return names;
}

void tst_RecordCrash::killedSavesLeaveWholeRecords()
{
    constexpr int Kills = 1000;
    // Long enough to span several saves, short enough for many kills a minute.
    constexpr int LongestWaitMicroseconds = 20'000;
    constexpr qint64 LookAhead = 20'000;

    // A killed process leaves the page cache as it was, so a disk adds nothing here but
    // slow syncs; in memory, many more saves fall between two kills.
    auto dir = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/tst_recordcrash-XXXXXX"));
    if (!dir->isValid())
        dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    {
        RecordFiles records(dir->path());
        for (qint64 generation = 0; generation <= FirstWhole; ++generation)
            save(records, generation);
    }
    qint64 saved = FirstWhole;
    QCOMPARE(read(dir->path()), expectedAfter(saved));

    QProcess saver;
    saver.start(QStringLiteral(RECORD_PROBE), {QStringLiteral("--saver"), dir->path()});
    QVERIFY2(saver.waitForStarted(), qPrintable(saver.errorString()));
    const auto answer = [&saver] {
        while (!saver.canReadLine()) {
            if (!saver.waitForReadyRead(10'000))
                return QByteArray();
        }
        return saver.readLine().trimmed();
    };

    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    int kills = 0;
    int journalsFound = 0;
    int temporariesFound = 0;
    int failures = 0;
    QElapsedTimer timer;
    timer.start();
    for (int kill = 0; kill < Kills && failures == 0; ++kill, ++kills) {
        saver.write(QByteArray::number(saved + 1) + '\n');
        const QByteArray saving = answer();
        QVERIFY2(saving.startsWith("saving "), saving.constData());
        const timespec wait{0, long(random.bounded(LongestWaitMicroseconds)) * 1000};
        ::nanosleep(&wait, nullptr);
        ::kill(pid_t(saving.mid(7).toInt()), SIGKILL);
        QCOMPARE(answer(), QByteArray("gone"));

        const QStringList left = leftovers(dir->path());
        journalsFound += left.contains(RecordFiles::JournalFile);
        temporariesFound += left.size() > left.contains(RecordFiles::JournalFile);
        {
            RecordFiles nextStart(dir->path());
        }
        if (const QStringList stray = leftovers(dir->path()); !stray.isEmpty()) {
            qWarning("kill %d: left behind: %s", kill, qPrintable(stray.join(u' ')));
            ++failures;
        }
        const Files files = read(dir->path());
        qint64 reached = saved;
        while (reached <= saved + LookAhead && files != expectedAfter(reached))
            ++reached;
        if (reached > saved + LookAhead) {
            qWarning("kill %d after generation %lld: files match no generation:\n"
                     "scores %s\nnames %s\nrun %s\nbacks %s",
                     kill, saved, files.scores.toHex().constData(), files.names.toHex().constData(),
                     files.run.toHex().constData(), files.backs.toHex().constData());
            ++failures;
            break;
        }
        saved = reached;
    }
    qInfo("%d kills in %.1f s (seed %u), %lld saves made; %d kills came while a pair was "
          "being put in place (journal found, finished by the next start), %d left temporary "
          "files; %d failures",
          kills, timer.elapsed() / 1000.0, seed, saved - FirstWhole, journalsFound,
          temporariesFound, failures);
    saver.closeWriteChannel();
    QVERIFY(saver.waitForFinished());
    QCOMPARE(failures, 0);
}

QTEST_GUILESS_MAIN(tst_RecordCrash)
#include "tst_recordcrash.moc"
