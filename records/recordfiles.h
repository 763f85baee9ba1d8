// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/highscoretable.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <map>
#include <optional>

#include <sys/types.h>

// The four record files in one folder. Every access opens, reads or writes, and closes
// within the call; the byte layout itself is RecordCodec's. A missing file is created
// empty by its first access.
//
// Several copies of the game may share the folder, so every change is made to the files
// as they are at that moment, under the lock file "marigold-records.lock" that every copy
// takes (QLockFile: a lock left by a copy that is gone is taken over). A copy that cannot
// get the lock within LockWait gives up and says so, rather than hang the game.
//
// A file is only ever replaced whole: the new contents go to a temporary file
// "<name>.marigold-save-XXXXXX" beside it, are forced to disk and checked, and only then
// renamed over the old file, so a full disk or a crash leaves the old file as it was.
// When one change replaces several files (the scores and the names, or a cleared table
// with the best run), the renames still to do are listed in the journal
// "marigold-records.journal" before the first one. Whoever next holds the lock, at a start
// or before a change, finishes a complete journal that a killed copy left behind, so both
// files of a pair are old or both new, and removes that copy's temporary files. Nothing
// else in the folder is ever removed, so a player's "zelscores.dat.backup" is safe.
//
// A record file that is not a plain file (a symbolic link, even a dangling one, a pipe,
// a device, a folder) or is larger than MaxFileSize is never read, written or replaced:
// it reads blank, and the player is told once per run.
//
// Made with no folder, the records live in memory only, for a game whose records folder
// cannot be used.
class RecordFiles : public QObject
{
    Q_OBJECT

public:
    static inline const QString ScoresFile = QStringLiteral("zelscores.dat");
    static inline const QString NamesFile = QStringLiteral("names.dat");
    static inline const QString RunFile = QStringLiteral("zelruntot.dat");
    static inline const QString BacksFile = QStringLiteral("zelbacks.dat");
    static inline const QString JournalFile = QStringLiteral("marigold-records.journal");
    static inline const QString LockFile = QStringLiteral("marigold-records.lock");
    static inline const QString TemporaryMark = QStringLiteral(".marigold-save-");
    static constexpr qint64 MaxFileSize = 64 * 1024;
    static constexpr std::chrono::milliseconds LockWait{2000};

    enum class Outcome { Saved, Failed, Locked };
    // Whether a failed save is told: only where it loses something the player did.
    enum class Loss { Told, Untold };

    // The record files as they are at the moment of one change.
    class Edit
    {
    public:
        // The file's contents, to be changed in place; nullptr when the file is left
        // alone, and then nothing of the change is saved.
        QByteArray *file(const QString &fileName);

    private:
        friend class RecordFiles;
        explicit Edit(RecordFiles &files) : m_files(files) { }

        RecordFiles &m_files;
        QStringList m_order;
        std::map<QString, QByteArray> m_before;
        std::map<QString, QByteArray> m_after;
        bool m_blocked = false;
    };

    explicit RecordFiles(const QString &directory, QObject *parent = nullptr);

    QString directory() const { return m_directory; }
    bool inMemory() const { return m_directory.isEmpty(); }

    qint32 readTopScore();
    HighScoreTable readHighScores();
    qint16 readHighRun();
    qint16 readBackIndex();

    // Reads the files `edit` asks for as they are now, lets it change them, and saves
    // every file it changed together, all under the lock. `what` names the change for
    // the player ("the new best run").
    Outcome change(const QString &what, const std::function<void(Edit &)> &edit,
                   Loss loss = Loss::Told);

Q_SIGNALS:
    // A sentence for the player about a save that failed or a file left alone, with the
    // file and the reason apart, for a listener that tells each only once.
    void failed(const QString &fileName, const QString &reason, const QString &message);
    // A change that needed the file is on disk.
    void saved(const QString &fileName);

protected:
    // The two steps that put bytes on disk, apart so that a test can make them fail the
    // way a full disk does, or stop a save half-way. Each answers 0 or an errno value.
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
    // Empty when every change is in place, else the reason, with the file it concerns.
    QString commit(const QList<Change> &changes, QString *failedFile);
    // Writes every byte and waits until they are on disk.
    int writeWhole(int fd, const QByteArray &bytes);
    int writeTemporary(const QString &fileName, const QByteArray &bytes, mode_t mode,
                       QString *temporary);
    QString writeJournal(const QByteArray &journal);
    int syncDirectory();
    // Only with the lock held: then no other copy is part-way through a save. False when
    // a journal is left with renames that could not be done.
    bool finishInterruptedSave();
    void removeStrayTemporaries();
    void leaveAlone(const QString &fileName, const QString &reason);

    QString m_directory;
    QSet<QString> m_leftAlone;
    QHash<QString, QByteArray> m_memory;
};
