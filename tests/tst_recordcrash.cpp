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
#include <unistd.h>
using namespace RecordGenerations;

// A process saving every kind of record in a loop, killed at random moments: the next start
// must find each file old or new and each pair matching.
class tst_RecordCrash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedSavesLeaveWholeRecords()
    {
        constexpr int Kills = 1000, LongestWaitMicroseconds = 20'000, LookAhead = 20'000; // waits span a few saves
        // A killed process leaves the page cache as it was, so a disk adds nothing but slow syncs.
        QTemporaryDir dir((QDir(u"/dev/shm"_qs).exists() ? u"/dev/shm"_qs : QDir::tempPath()) + u"/tst_recordcrash-XXXXXX"_qs);
        QVERIFY(dir.isValid());
        const QString folder = dir.path();
        const QStringList records{RecordFiles::ScoresFile, RecordFiles::NamesFile, RecordFiles::RunFile,
                                  RecordFiles::BacksFile};
        const auto contents = [&folder](const QString &name) {
            QFile file(QDir(folder).filePath(name));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
        };
        const auto read = [&] {
            return Files{contents(records[0]), contents(records[1]), contents(records[2]), contents(records[3])};
        };
        const auto leftovers = [&] {
            QStringList names = QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden);
            names.removeIf([&](const QString &name) { return records.contains(name); });
            return names;
        };
        {
            RecordFiles first(folder);
            for (qint64 generation = 0; generation <= FirstWhole; ++generation)
                save(first, generation);
        }
        qint64 saved = FirstWhole;
        QProcess saver;
        saver.start(QStringLiteral(RECORD_PROBE), {QStringLiteral("--saver"), folder});
        QVERIFY2(saver.waitForStarted(), qPrintable(saver.errorString()));
        const auto answer = [&saver] {
            while (!saver.canReadLine())
                if (!saver.waitForReadyRead(10'000))
                    return QByteArray();
            return saver.readLine().trimmed();
        };
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        int kills = 0, journalsFound = 0, temporariesFound = 0, failures = 0;
        QElapsedTimer timer;
        timer.start();
        for (; kills < Kills && failures == 0; ++kills) {
            saver.write(QByteArray::number(saved + 1) + '\n');
            const QByteArray saving = answer();
            QVERIFY2(saving.startsWith("saving "), saving.constData());
            ::usleep(random.bounded(LongestWaitMicroseconds));
            ::kill(pid_t(saving.mid(7).toInt()), SIGKILL);
            QCOMPARE(answer(), QByteArray("gone"));
            const QStringList left = leftovers();
            journalsFound += left.contains(RecordFiles::JournalFile);
            temporariesFound += left.size() > left.contains(RecordFiles::JournalFile);
            RecordFiles{folder}; // the next start
            if (const QStringList stray = leftovers(); !stray.isEmpty()) {
                qWarning("kill %d: left behind: %s", kills, qPrintable(stray.join(u' ')));
                ++failures;
            }
            const Files files = read();
            qint64 reached = saved;
            while (reached <= saved + LookAhead && files != expectedAfter(reached))
                ++reached;
            if (reached > saved + LookAhead) {
                qWarning("kill %d after generation %lld: files match no generation:\n"
                         "scores %s\nnames %s\nrun %s\nbacks %s",
                         kills, saved, files.scores.toHex().constData(), files.names.toHex().constData(),
                         files.run.toHex().constData(), files.backs.toHex().constData());
                ++failures;
            }
            saved = failures ? saved : reached;
        }
        qInfo("%d kills in %.1f s (seed %u), %lld saves made; %d kills came while a pair was being put in place "
              "(journal found, finished by the next start), %d left temporary files; %d failures",
              kills, timer.elapsed() / 1000.0, seed, saved - FirstWhole, journalsFound, temporariesFound, failures);
        saver.closeWriteChannel();
        QVERIFY(saver.waitForFinished());
        QCOMPARE(failures, 0);
    }
};

QTEST_GUILESS_MAIN(tst_RecordCrash)
#include "tst_recordcrash.moc"
