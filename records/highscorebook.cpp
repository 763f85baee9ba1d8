// SPDX-License-Identifier: GPL-3.0-or-later
#include "highscorebook.h"

#include "codepage1252.h"
#include "game/names.h"
#include "game/randomgenerator.h"
#include "recordcodec.h"

#include <QDir>

#include <algorithm>
#include <memory>

namespace {

// A name as the table keeps it: the nearest text the code page holds, cut and padded.
QString fitted(const QString &name)
{
    return HighScoreTable::fittedName(CodePage1252::nearest(name));
}

} // namespace

HighScoreBook::HighScoreBook(RecordFiles &files, RandomGenerator &random, QObject *parent)
    : QObject(parent)
    , m_files(files)
    , m_random(random)
{
    connect(&m_files, &RecordFiles::failed, this, &HighScoreBook::noteFailure);
    connect(&m_files, &RecordFiles::saved, this, &HighScoreBook::noteSaved);
}

HighScoreTable HighScoreBook::table() const
{
    return m_files.readHighScores();
}

int HighScoreBook::placeFor(qint32 score) const
{
    return table().placeFor(score);
}

QString HighScoreBook::storedName(const QString &name)
{
    QString stored = CodePage1252::decode(CodePage1252::encode(fitted(name)));
    while (stored.endsWith(QLatin1Char(' ')))
        stored.chop(1);
    return stored;
}

bool HighScoreBook::storesWhole(const QString &name)
{
    return CodePage1252::holds(fitted(name));
}

int HighScoreBook::enter(qint32 score, const std::optional<QString> &name)
{
    std::optional<QString> entered = name;
    if (entered && entered->isEmpty())
        entered = Names::DefaultNames[m_random.nextBelow(Names::DefaultNameCount)].toString();
    // Shared, since a change kept for later outlives this call.
    const auto place = std::make_shared<int>(0);
    save(tr("the high-score table"), [score, entered, place](RecordFiles::Edit &edit) {
        QByteArray *scores = edit.file(RecordFiles::ScoresFile);
        QByteArray *names = edit.file(RecordFiles::NamesFile);
        if (!scores || !names)
            return;
        HighScoreTable table = RecordCodec::table(*scores, *names);
        *place = entered ? table.placeFor(score) : 0;
        if (*place > 0)
            table.insert(*place, score, CodePage1252::nearest(*entered));
        // Written back even when nothing enters, as every game end does.
        RecordCodec::putTable(*scores, *names, table);
    });
    m_fileTopScore = m_files.readTopScore();
    return *place;
}

void HighScoreBook::raiseHighScore(qint32 &HighScore, qint32 Score)
{
    const qint32 raised = std::max({HighScore, Score, m_fileTopScore});
    if (raised == HighScore)
        return;
    HighScore = raised;
    Q_EMIT highScoreChanged(HighScore);
}

void HighScoreBook::initialise()
{
    // A loss here is nothing the player did, so it is not told.
    save(tr("the high-score table"), [](RecordFiles::Edit &edit) {
        QByteArray *scores = edit.file(RecordFiles::ScoresFile);
        QByteArray *names = edit.file(RecordFiles::NamesFile);
        // Another copy may have filed a score since this one looked.
        if (scores && names && RecordCodec::topScore(*scores) == 0)
            RecordCodec::putTable(*scores, *names, HighScoreTable());
    }, RecordFiles::Loss::Untold);
    if (m_files.readTopScore() == 0)
        Q_EMIT highScoreChanged(0);
}

void HighScoreBook::clear()
{
    // One save, so that no crash can keep the table without the best run or the other way.
    save(tr("the cleared high-score table and best run"), [](RecordFiles::Edit &edit) {
        QByteArray *scores = edit.file(RecordFiles::ScoresFile);
        QByteArray *names = edit.file(RecordFiles::NamesFile);
        QByteArray *run = edit.file(RecordFiles::RunFile);
        if (!scores || !names || !run)
            return;
        RecordCodec::putTable(*scores, *names, HighScoreTable());
        RecordCodec::clearHighRun(*run);
    });
    m_fileTopScore = 0;
    Q_EMIT highScoreChanged(0);
    Q_EMIT highRunChanged(0);
}

void HighScoreBook::raiseHighRun(qint16 highRun)
{
    const RecordFiles::Outcome outcome = save(tr("the new best run"), [highRun](RecordFiles::Edit &edit) {
        QByteArray *run = edit.file(RecordFiles::RunFile);
        // Another copy may have saved a longer run meanwhile.
        if (run && highRun > RecordCodec::highRun(*run))
            RecordCodec::putHighRun(*run, highRun);
    });
    if (outcome != RecordFiles::Outcome::Locked) {
        if (const qint16 stored = m_files.readHighRun(); stored > highRun)
            Q_EMIT highRunChanged(stored);
    }
}

void HighScoreBook::chooseBack(qint16 back)
{
    save(tr("the chosen card back"), [back](RecordFiles::Edit &edit) {
        if (QByteArray *backs = edit.file(RecordFiles::BacksFile))
            RecordCodec::putBackIndex(*backs, back);
    });
}

QStringList HighScoreBook::saveBeforeClosing()
{
    flush();
    // A lock message promises a later save, and there is none after this one.
    m_untold.removeIf([](const std::pair<QString, QString> &entry) {
        return entry.first == RecordFiles::LockFile;
    });
    QStringList messages = takeFailures();
    QStringList lost;
    for (const Pending &change : std::as_const(m_pending)) {
        if (change.loss == RecordFiles::Loss::Told && !lost.contains(change.what))
            lost.append(change.what);
    }
    if (!lost.isEmpty()) {
        messages.append(tr("Another copy of Marigold kept the records in \"%1\" locked, so %2 could not be "
                           "saved before Marigold closed.")
                            .arg(QDir::toNativeSeparators(m_files.directory()), lost.join(tr(" and "))));
    }
    return messages;
}

RecordFiles::Outcome HighScoreBook::flush()
{
    RecordFiles::Outcome outcome = RecordFiles::Outcome::Saved;
    while (!m_pending.isEmpty()) {
        const Pending &next = m_pending.first();
        outcome = m_files.change(next.what, next.change, next.loss);
        if (outcome == RecordFiles::Outcome::Locked) {
            noteFailure(RecordFiles::LockFile, QString(),
                        tr("Another copy of Marigold kept the records in \"%1\" locked for more than "
                           "%2 seconds, so %3 is not saved yet. It will be saved with the next change "
                           "to the records.")
                            .arg(QDir::toNativeSeparators(m_files.directory()))
                            .arg(RecordFiles::LockWait.count() / 1000)
                            .arg(next.what));
            return outcome;
        }
        m_pending.removeFirst();
    }
    return outcome;
}

QStringList HighScoreBook::takeFailures()
{
    QStringList messages;
    for (const auto &[fileName, message] : std::as_const(m_untold))
        messages.append(message);
    m_untold.clear();
    return messages;
}

RecordFiles::Outcome HighScoreBook::save(const QString &what, Change change, RecordFiles::Loss loss)
{
    // Kept behind the earlier ones, so that the changes reach the files in the order made.
    m_pending.append({what, std::move(change), loss});
    return flush();
}

void HighScoreBook::noteFailure(const QString &fileName, const QString &reason, const QString &message)
{
    const std::pair<QString, QString> told{fileName, reason};
    if (m_told.contains(told))
        return;
    m_told.append(told);
    m_untold.append({fileName, message});
    Q_EMIT failuresPending();
}

void HighScoreBook::noteSaved(const QString &fileName)
{
    // What failed before is now superseded by what is on disk: nothing of it is lost.
    const auto concerns = [&fileName](const std::pair<QString, QString> &entry) {
        return entry.first == fileName;
    };
    m_told.removeIf(concerns);
    m_untold.removeIf(concerns);
    // Getting the lock at all ends the trouble with a copy that kept it.
    const auto lock = [](const std::pair<QString, QString> &entry) {
        return entry.first == RecordFiles::LockFile;
    };
    m_told.removeIf(lock);
    m_untold.removeIf(lock);
}
