#pragma once

#include "records/recordfiles.h"

#include <QByteArray>
#include <QtEndian>

// The saves that the crash test's probe makes, one per generation, in a cycle of every
// kind the game makes: a game-end entry, a new best run, a card back, and Clear. Each
// generation leaves its own values, so the files tell which saves have been made.
namespace RecordGenerations {

// Generations 0 to 3 lay every file down once; expectations hold from there on.
constexpr qint64 FirstWhole = 3;

enum Kind { Entry, Run, Back, Clear };

inline Kind kindOf(qint64 generation)
{
    return Kind(generation % 4);
}

inline qint32 score(qint64 generation, int k)
{
    return qint32(generation * 10 + 10 - k);
}

inline QString name(qint64 generation, int k)
{
    return QStringLiteral("g%1/%2").arg(generation).arg(k);
}

inline qint16 value(qint64 generation)
{
    return qint16(1 + generation % 30000);
}

inline void save(RecordFiles &records, qint64 generation)
{
    switch (kindOf(generation)) {
    case Entry: {
        HighScoreTable table;
        for (int k = 1; k <= HighScoreTable::EntryCount; ++k)
            table.setEntry(k, {score(generation, k), HighScoreTable::fittedName(name(generation, k))});
        records.writeHighScores(table);
        break;
    }
    case Run:
        records.writeHighRun(value(generation));
        break;
    case Back:
        records.writeBackIndex(value(generation));
        break;
    case Clear:
        records.clearHighScoresAndRun();
        break;
    }
}

struct Files
{
    QByteArray scores;
    QByteArray names;
    QByteArray run;
    QByteArray backs;

    bool operator==(const Files &) const = default;
};

inline QByteArray littleEndian16(qint16 value)
{
    QByteArray bytes(2, Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// The bytes every file holds once `generation` and all before it are saved, written out
// here by hand rather than by the code under test.
inline Files expectedAfter(qint64 generation)
{
    qint64 table = generation;
    while (kindOf(table) != Entry && kindOf(table) != Clear)
        --table;
    qint64 run = generation;
    while (kindOf(run) != Run && kindOf(run) != Clear)
        --run;
    qint64 back = generation;
    while (kindOf(back) != Back)
        --back;

    Files files;
    files.scores = QByteArray(9, '\0');
    files.names = QByteArray(9, '\0');
    for (int k = 1; k <= HighScoreTable::EntryCount; ++k) {
        QByteArray scoreBytes(4, '\0');
        QByteArray nameBytes(HighScoreTable::NameLength, ' ');
        if (kindOf(table) == Entry) {
            qToLittleEndian(score(table, k), scoreBytes.data());
            nameBytes.replace(0, name(table, k).size(), name(table, k).toLatin1());
        }
        files.scores += scoreBytes;
        files.names += nameBytes;
    }
    files.run = (kindOf(run) == Run ? littleEndian16(value(run)) : QByteArray(2, '\0'))
        + QByteArray(2, '\0');
    files.backs = littleEndian16(value(back));
    return files;
}

} // namespace RecordGenerations
