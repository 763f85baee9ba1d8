// Runs record-file operations in a folder of its own choosing, as a separate process:
//   recordprobe FOLDER              a few saves, so a test can run them as another user
//   recordprobe --loop FOLDER FIRST saves generation after generation from FIRST on,
//                                   until a crash test kills it
#include "recordgenerations.h"
#include "records/recordfiles.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--loop") == 0) {
        RecordFiles records(QString::fromLocal8Bit(argv[2]));
        QObject::connect(&records, &RecordFiles::failed, [](const QString &message) {
            QTextStream(stderr) << message << Qt::endl;
        });
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
        for (qint64 generation = QByteArray(argv[3]).toLongLong();; ++generation)
            RecordGenerations::save(records, generation);
    }
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
