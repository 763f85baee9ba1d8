// Feeds arbitrary contents for the four record files, a journal left by a killed run and a
// temporary file it may name, then reads every record, enters a score and reads it back.
//
// Input: five length bytes (scores, names, run, backs, journal; 255 leaves that file
// out), a sixth for the temporary file "zelscores.dat.Fz0000", the six contents in that
// order, a 32-bit little-endian score, and the rest as the typed name in UTF-8.
#include "records/codepage1252.h"
#include "game/highscoretable.h"
#include "records/recordfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int Absent = 255;

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_records: %s\n", what);
    std::abort();
}

void check(bool condition, const char *what)
{
    if (!condition)
        fail(what);
}

const QString &folder()
{
    // In memory where there is a tmpfs, so the syncs cost nothing.
    static const std::unique_ptr<QTemporaryDir> dir = [] {
        auto inMemory = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/marigold-fuzz-XXXXXX"));
        return inMemory->isValid() ? std::move(inMemory) : std::make_unique<QTemporaryDir>();
    }();
    static const QString path = dir->path();
    check(dir->isValid(), "no scratch folder");
    return path;
}

void put(const QString &name, const QByteArray &bytes)
{
    QFile file(QDir(folder()).filePath(name));
    check(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), "cannot lay a file down");
}

QString storedName(const QString &name)
{
    QByteArray bytes = CodePage1252::encode(name).left(HighScoreTable::NameLength);
    bytes.append(QByteArray(HighScoreTable::NameLength - bytes.size(), ' '));
    return CodePage1252::decode(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList names = {RecordFiles::ScoresFile, RecordFiles::NamesFile, RecordFiles::RunFile,
                               RecordFiles::BacksFile, RecordFiles::JournalFile,
                               QStringLiteral("zelscores.dat.Fz0000")};
    const QString sentinel = QStringLiteral("sentinel");

    QDir dir(folder());
    for (const QString &name : dir.entryList(QDir::Files | QDir::System | QDir::Hidden))
        dir.remove(name);
    put(sentinel, "untouched");
    qsizetype at = names.size();
    for (qsizetype i = 0; i < names.size(); ++i) {
        const int length = i < input.size() ? quint8(input.at(i)) : Absent;
        if (length == Absent)
            continue;
        put(names.at(i), input.mid(at, length));
        at += length;
    }
    const qint32 score = at + 4 <= input.size() ? qFromLittleEndian<qint32>(input.constData() + at) : 0;
    const QString name = QString::fromUtf8(input.mid(at + 4));

    RecordFiles records(folder());
    int failures = 0;
    QObject::connect(&records, &RecordFiles::failed, [&failures] { ++failures; });

    // A start may finish or drop a journal, but never touches anything but the records.
    QStringList left = dir.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &record : names.first(4))
        left.removeOne(record);
    check(left == QStringList(sentinel), "the start left or made a file other than the records");

    records.readHighRun();
    records.readBackIndex();
    HighScoreTable table = records.readHighScores();
    check(records.readTopScore() == table.entry(1).score, "top score differs from entry 1");
    const int place = table.placeFor(score);
    if (place > 0)
        table.insert(place, score, name);
    records.writeHighScores(table);

    const HighScoreTable stored = records.readHighScores();
    for (int k = 1; k <= HighScoreTable::EntryCount; ++k) {
        check(stored.entry(k).score == table.entry(k).score, "a score did not read back");
        check(stored.entry(k).name == storedName(table.entry(k).name), "a name did not read back");
    }
    records.writeHighRun(qint16(score));
    check(records.readHighRun() == qint16(score), "the best run did not read back");
    records.writeBackIndex(qint16(score >> 16));
    check(records.readBackIndex() == qint16(score >> 16), "the card back did not read back");
    records.clearHighScoresAndRun();
    check(records.readTopScore() == 0 && records.readHighRun() == 0, "Clear did not clear");
    check(failures == 0, "a save failed on a healthy folder");

    QFile untouched(dir.filePath(sentinel));
    check(untouched.open(QIODevice::ReadOnly) && untouched.readAll() == "untouched",
          "a file beside the records changed");
    return 0;
}
