// SPDX-License-Identifier: GPL-3.0-or-later
// Input: six length bytes (255 leaves that file out) for the four records, a journal and a temporary
// file it may name, their contents, a 32-bit little-endian score, and the rest as the typed name.
#include "game/randomgenerator.h"
#include "records/codepage1252.h"
#include "records/highscorebook.h"
#include "records/recordfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>

// Ends the run with an abort, so that libFuzzer keeps the input that did it.
static void check(bool condition, const char *what) { if (!condition) qFatal("fuzz_records: %s", what); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // In memory where there is a tmpfs, so the syncs cost nothing.
    const QTemporaryDir dir((QDir(u"/dev/shm"_qs).exists() ? u"/dev/shm"_qs : QDir::tempPath()) + u"/marigold-fuzz-XXXXXX"_qs);
    const auto put = [&dir](const QString &name, const QByteArray &bytes) {
        QFile file(dir.filePath(name));
        check(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), "cannot lay a file down");
    };
    put(u"sentinel"_qs, "untouched");
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList names = {RecordFiles::ScoresFile, RecordFiles::NamesFile, RecordFiles::RunFile,
                               RecordFiles::BacksFile, RecordFiles::JournalFile, u"zelscores.dat.marigold-save-Fz0000"_qs};
    qsizetype at = names.size();
    for (qsizetype i = 0, length; i < names.size(); ++i)
        if ((length = i < input.size() ? quint8(input.at(i)) : 255) != 255)
            put(names.at(i), input.mid(at, length)), at += length;
    const qint32 score = at + 4 <= input.size() ? qFromLittleEndian<qint32>(input.constData() + at) : 0;

    RecordFiles records(dir.path());
    RandomGenerator random;
    HighScoreBook book(records, random);
    HighScoreTable table = book.table();
    check(records.readTopScore() == table.entry(1).score, "top score differs from entry 1");
    const QString name = input.size() > at + 4 ? QString::fromUtf8(input.mid(at + 4)) : u"Player"_qs; // empty draws one
    const int place = table.placeFor(score);
    check(book.enter(score, name) == place, "the score took another place");
    if (place > 0)
        table.insert(place, score, CodePage1252::nearest(name));
    const HighScoreTable stored = records.readHighScores();
    for (int k = 1; k <= HighScoreTable::EntryCount; ++k) {
        const QByteArray kept = CodePage1252::encode(table.entry(k).name).left(HighScoreTable::NameLength);
        check(stored.entry(k).score == table.entry(k).score
                  && stored.entry(k).name == CodePage1252::decode(kept.leftJustified(15)), "an entry did not read back");
    }
    check(place == 0 || stored.entry(place).name == HighScoreBook::storedName(name).leftJustified(15),
          "the name stored is not the one shown");
    const qint16 run = std::max(records.readHighRun(), qint16(score));
    book.raiseHighRun(qint16(score));
    book.chooseBack(qint16(score >> 16));
    check(records.readHighRun() == run && records.readBackIndex() == qint16(score >> 16), "a run or back is lost");
    book.clear();
    check(records.readTopScore() == 0 && records.readHighRun() == 0, "Clear did not clear");
    check(book.takeFailures().isEmpty(), "a save failed on a healthy folder");
    // A start may finish or drop a journal, but no start or save touches anything but the records.
    QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    left.removeIf([&names](const QString &name) { return names.first(4).contains(name); });
    QFile sentinel(dir.filePath(u"sentinel"_qs));
    check(left == QStringList(u"sentinel"_qs) && sentinel.open(QIODevice::ReadOnly)
              && sentinel.readAll() == "untouched", "a file beside the records was left, made or changed");
    return 0;
}
