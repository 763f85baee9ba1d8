#pragma once

#include "game/highscoretable.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

#include <sys/types.h>

// The four record files in one folder. Every access opens, reads or writes, and closes
// within the call; the byte layout itself is RecordCodec's. A missing file is created
// empty by its first access.
//
// A file is only ever replaced whole: the new contents go to a temporary file
// "<name>.XXXXXX" beside it, are forced to disk and checked, and only then renamed over
// the old file, so a full disk or a crash leaves the old file as it was. The scores and
// the names, and a cleared table together with the best run, are one change each: once
// all their temporary files are on disk, the renames still to do are listed in the
// journal "marigold-records.journal" in the same folder before the first rename. The
// constructor finishes a complete journal that a killed run left behind, so every start
// sees both files of a pair old or both new, and removes stray temporary files (also
// those of earlier versions, which used the same "<name>.XXXXXX" pattern).
//
// A record file that is not a plain file (a symbolic link, even a dangling one, a pipe,
// a device, a folder) or is larger than MaxFileSize is never read, written or replaced:
// it reads blank, and the player is told once per run. A failed save is told every time,
// once per call, since it loses what the player has just done.
class RecordFiles : public QObject
{
    Q_OBJECT

public:
    static inline const QString ScoresFile = QStringLiteral("zelscores.dat");
    static inline const QString NamesFile = QStringLiteral("names.dat");
    static inline const QString RunFile = QStringLiteral("zelruntot.dat");
    static inline const QString BacksFile = QStringLiteral("zelbacks.dat");
    static inline const QString JournalFile = QStringLiteral("marigold-records.journal");
    static constexpr qint64 MaxFileSize = 64 * 1024;

    explicit RecordFiles(const QString &directory, QObject *parent = nullptr);

    QString directory() const { return m_directory; }

    qint32 readTopScore();
    HighScoreTable readHighScores();
    void writeHighScores(const HighScoreTable &table);
    // The high-score window's first-load initialisation: ten blank entries over a table
    // whose best score is 0. A failure loses nothing the player did, so it is not told.
    void initialiseHighScores();
    // The Clear button: an empty table, and the best run stored as a 32-bit zero.
    void clearHighScoresAndRun();

    qint16 readHighRun();
    void writeHighRun(qint16 highRun);

    qint16 readBackIndex();
    void writeBackIndex(qint16 backIndex);

Q_SIGNALS:
    // A sentence for the player about a save that failed or a file left alone.
    void failed(const QString &message);

protected:
    // The two steps that put bytes on disk, apart so that a test can make them fail the
    // way a full disk does. Each answers 0 or an errno value.
    virtual int writeSome(int fd, const char *data, qsizetype size, qsizetype *written);
    virtual int syncToDisk(int fd);

private:
    struct Change
    {
        QString fileName;
        QByteArray bytes;
    };

    QString pathOf(const QString &fileName) const;
    std::optional<QByteArray> load(const QString &fileName);
    enum class Loss { Told, Untold };
    // The changes that store the table, or none at all when either file is left alone.
    std::optional<QList<Change>> tableChanges(const HighScoreTable &table);
    // Adds the file's edited contents to the changes unless they are what it holds; false
    // when the file is left alone.
    bool patch(const QString &fileName, const std::function<void(QByteArray &)> &edit,
               QList<Change> &changes);
    void save(const QString &what, const QList<Change> &changes, Loss loss = Loss::Told);
    // Empty when every change is in place, else the reason, with the file it concerns.
    QString commit(const QList<Change> &changes, QString *failedFile);
    // Writes every byte and waits until they are on disk.
    int writeWhole(int fd, const QByteArray &bytes);
    int writeTemporary(const QString &fileName, const QByteArray &bytes, mode_t mode,
                       QString *temporary);
    QString writeJournal(const QByteArray &journal);
    int syncDirectory();
    void finishInterruptedSave();
    void removeStrayTemporaries();
    void leaveAlone(const QString &fileName, const QString &reason);
    void tell(const QString &message);

    QString m_directory;
    QSet<QString> m_leftAlone;
};
