// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordcodec.h"

#include "codepage1252.h"

#include <QtEndian>

namespace RecordCodec {

namespace {

constexpr qsizetype TableOffset = 9; // the first nine bytes of both table files are unused
constexpr qsizetype ScoreWidth = 4;
constexpr qsizetype NameWidth = HighScoreTable::NameLength;

qsizetype scoreOffset(int k)
{
    return TableOffset + ScoreWidth * (k - 1);
}

qsizetype nameOffset(int k)
{
    return TableOffset + NameWidth * (k - 1);
}

template<typename T>
T readInt(const QByteArray &bytes, qsizetype offset)
{
    if (offset + qsizetype(sizeof(T)) > bytes.size())
        return 0;
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

template<typename T>
QByteArray intField(T value)
{
    QByteArray field(sizeof(T), Qt::Uninitialized);
    qToLittleEndian<T>(value, field.data());
    return field;
}

void place(QByteArray &bytes, qsizetype offset, const QByteArray &field)
{
    if (bytes.size() < offset + field.size())
        bytes.append(QByteArray(offset + field.size() - bytes.size(), '\0'));
    bytes.replace(offset, field.size(), field);
}

} // namespace

qint32 topScore(const QByteArray &scores)
{
    return readInt<qint32>(scores, scoreOffset(1));
}

HighScoreTable table(const QByteArray &scores, const QByteArray &names)
{
    HighScoreTable table;
    for (int k = 1; k <= HighScoreTable::EntryCount; ++k) {
        HighScoreTable::Entry entry;
        entry.score = readInt<qint32>(scores, scoreOffset(k));
        if (nameOffset(k) + NameWidth <= names.size())
            entry.name = CodePage1252::decode(names.mid(nameOffset(k), NameWidth));
        table.setEntry(k, entry);
    }
    return table;
}

void putTable(QByteArray &scores, QByteArray &names, const HighScoreTable &table)
{
    for (int k = 1; k <= HighScoreTable::EntryCount; ++k) {
        place(scores, scoreOffset(k), intField<qint32>(table.entry(k).score));
        QByteArray name = CodePage1252::encode(table.entry(k).name).left(NameWidth);
        name.append(QByteArray(NameWidth - name.size(), ' '));
        place(names, nameOffset(k), name);
    }
}

qint16 highRun(const QByteArray &run)
{
    return readInt<qint16>(run, 0);
}

void putHighRun(QByteArray &run, qint16 highRun)
{
    place(run, 0, intField<qint16>(highRun));
}

void clearHighRun(QByteArray &run)
{
    place(run, 0, intField<qint32>(0));
}

qint16 backIndex(const QByteArray &backs)
{
    return readInt<qint16>(backs, 0);
}

void putBackIndex(QByteArray &backs, qint16 backIndex)
{
    place(backs, 0, intField<qint16>(backIndex));
}

} // namespace RecordCodec
