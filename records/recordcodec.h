// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/highscoretable.h"

#include <QByteArray>

// The byte layout of the four record files: little-endian fields at fixed offsets, no
// header. Readers take a file's whole contents, since no record file is more than a few
// hundred bytes; a field beyond the end reads blank. Writers change only their own
// fields and keep every other byte, extending a short file with zeros.
namespace RecordCodec {

// "zelscores.dat" and "names.dat", read and written together.
qint32 topScore(const QByteArray &scores);
HighScoreTable table(const QByteArray &scores, const QByteArray &names);
void putTable(QByteArray &scores, QByteArray &names, const HighScoreTable &table);

// "zelruntot.dat": clearing stores the best run as a 32-bit zero.
qint16 highRun(const QByteArray &run);
void putHighRun(QByteArray &run, qint16 highRun);
void clearHighRun(QByteArray &run);

// "zelbacks.dat".
qint16 backIndex(const QByteArray &backs);
void putBackIndex(QByteArray &backs, qint16 backIndex);

} // namespace RecordCodec
