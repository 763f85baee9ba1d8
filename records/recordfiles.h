#pragma once

#include "game/highscoretable.h"

#include <QObject>
#include <QString>

#include <optional>

// The four record files and their byte layout: little-endian fields at fixed offsets,
// no header. Every access opens, reads or writes, and closes within the call. A
// missing file is created empty by its first access; a field beyond the end of a file
// reads blank. Writes are atomic: a file is either replaced whole or left as it was.
class RecordFiles : public QObject
{
    Q_OBJECT

public:
    static inline const QString ScoresFile = QStringLiteral("zelscores.dat");
    static inline const QString NamesFile = QStringLiteral("names.dat");
    static inline const QString RunFile = QStringLiteral("zelruntot.dat");
    static inline const QString BacksFile = QStringLiteral("zelbacks.dat");

    explicit RecordFiles(const QString &directory, QObject *parent = nullptr);

    QString directory() const { return m_directory; }

    qint32 readTopScore();
    HighScoreTable readHighScores();
    void writeHighScores(const HighScoreTable &table);

    qint16 readHighRun();
    void writeHighRun(qint16 highRun);
    // Clearing stores the best run as a 32-bit zero.
    void clearHighRun();

    qint16 readBackIndex();
    void writeBackIndex(qint16 backIndex);

Q_SIGNALS:
    // Emitted for the first file of the run that could not be created, read or saved,
    // with a sentence for the player.
    void failed(const QString &message);

private:
    QString pathOf(const QString &fileName) const;
    std::optional<QByteArray> load(const QString &fileName);
    bool save(const QString &fileName, const QByteArray &bytes);
    void patch(const QString &fileName, qsizetype offset, const QByteArray &field);
    void report(const QString &fileName, const QString &reason);

    QString m_directory;
    bool m_reported = false;
};
