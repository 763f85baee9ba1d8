// Runs record-file operations in a folder of its own choosing, as a separate process:
//   recordprobe FOLDER          a few saves, so that a test can run them as another user
//   recordprobe --saver FOLDER  for every number read from its input, forks a child that
//                               says "saving PID" and saves generation after generation
//                               from that number on until it is killed; then says "gone"
// Forking from one started process makes a kill cost milliseconds, not a program start.
#include "recordgenerations.h"
#include "records/recordfiles.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

#include <sys/wait.h>
#include <unistd.h>

namespace {

[[noreturn]] void saveForever(const QString &folder, qint64 first)
{
    RecordFiles records(folder);
    QObject::connect(&records, &RecordFiles::failed, [](const QString &message) {
        QTextStream(stderr) << message << Qt::endl;
    });
    std::printf("saving %d\n", int(::getpid()));
    std::fflush(stdout);
    for (qint64 generation = first;; ++generation)
        RecordGenerations::save(records, generation);
}

int serveSavers(const QString &folder)
{
    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {
        const qint64 first = std::atoll(line);
        const pid_t child = ::fork();
        if (child < 0)
            return 3;
        if (child == 0)
            saveForever(folder, first);
        int status = 0;
        while (::waitpid(child, &status, 0) < 0) { }
        std::puts("gone");
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--saver") == 0)
        return serveSavers(QString::fromLocal8Bit(argv[2]));
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    RecordFiles records(QString::fromLocal8Bit(argv[1]));
    int failures = 0;
    QObject::connect(&records, &RecordFiles::failed, [&failures] { ++failures; });
    const qint16 run = records.readHighRun();
    records.writeHighRun(9);
    records.writeBackIndex(2);
    records.writeHighScores(HighScoreTable());
    QTextStream(stdout) << "run=" << run << " failures=" << failures << Qt::endl;
    return 0;
}
