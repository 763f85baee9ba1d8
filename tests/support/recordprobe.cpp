// Runs record-file operations in a folder of its own choosing for tst_recordfiles,
// as a separate process so that the test can run it as an unprivileged user.
#include "records/recordfiles.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
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
