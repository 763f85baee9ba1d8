// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recordfiles.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>

class RandomGenerator;

// The high-score table and the other records as the game changes them, with no window:
// placing a final score, the default name, inserting, clearing, the best run and the card
// back. Every change is made to the files as they are at that moment, under the lock
// every copy of the game takes, so two copies sharing a folder lose nothing of each
// other's. A change that finds the records locked is kept, and saved with the next one.
//
// Failures are collected for the player rather than shown here: each file and reason is
// told once, until a later save of that file succeeds.
class HighScoreBook : public QObject
{
    Q_OBJECT

public:
    HighScoreBook(RecordFiles &files, RandomGenerator &random, QObject *parent = nullptr);

    // The table as it is in the files now.
    HighScoreTable table() const;
    // The entry a score would take in the table as it is now; 0 when it enters nowhere.
    int placeFor(qint32 score) const;

    // The name as the names file will hold it, without its padding: the nearest text the
    // code page holds, what it still lacks shown as '?'.
    static QString storedName(const QString &name);
    // Whether the name is stored with every character it shows, once accents the code
    // page lacks are dropped.
    static bool storesWhole(const QString &name);

    // Files a final score into the table as it is now: with a name, the score is inserted
    // where it belongs at this moment (an empty name draws a default one); with none, the
    // table is only written back. Returns the place it took in the file, 0 for none.
    int enter(qint32 score, const std::optional<QString> &name);
    // Raises the table window's high score to the final score and to the file's best.
    void raiseHighScore(qint32 &HighScore, qint32 Score);
    // The first opening of the high-score window: ten blank entries over a table whose
    // best score is 0, and the high score 0.
    void initialise();
    // The Clear button: an empty table and best run.
    void clear();
    // Saves a new best run if it beats the file's; the table then shows the higher.
    void raiseHighRun(qint16 highRun);
    void chooseBack(qint16 back);
    // As the game closes: tries once more to save the changes that found the records
    // locked, and answers every message the player has not yet had, with what is lost now.
    QStringList saveBeforeClosing();

    // The messages for the player not yet taken, oldest first.
    QStringList takeFailures();

Q_SIGNALS:
    void highScoreChanged(qint32 HighScore);
    void highRunChanged(qint16 HighRun);
    // There is something to tell the player; takeFailures() has it.
    void failuresPending();

private:
    using Change = std::function<void(RecordFiles::Edit &)>;
    struct Pending
    {
        QString what;
        Change change;
        RecordFiles::Loss loss;
    };

    // Saves the changes kept from before and then this one, and answers for this one.
    RecordFiles::Outcome save(const QString &what, Change change,
                              RecordFiles::Loss loss = RecordFiles::Loss::Told);
    RecordFiles::Outcome flush();
    void noteFailure(const QString &fileName, const QString &reason, const QString &message);
    void noteSaved(const QString &fileName);

    RecordFiles &m_files;
    RandomGenerator &m_random;
    QList<Pending> m_pending;
    qint32 m_fileTopScore = 0;
    QList<std::pair<QString, QString>> m_told;    // file and reason
    QList<std::pair<QString, QString>> m_untold;  // file and message
};
