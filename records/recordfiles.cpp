// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordfiles.h"

#include "recordcodec.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Version 1 came from the releases before the lock, whose temporary files were named
// "<record file>.XXXXXX"; one they left behind is still finished.
const QByteArray JournalHeader = QByteArrayLiteral("marigold records journal 2\n");
const QByteArray OldJournalHeader = QByteArrayLiteral("marigold records journal 1\n");
const QByteArray JournalEnd = QByteArrayLiteral("end ");
constexpr qint64 JournalLimit = 4096;
constexpr int TemporarySuffixLength = 6;

// Closes a descriptor on every way out of a function.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) { }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }
    // Closes now, for callers that must know whether the close itself failed.
    int close()
    {
        const int error = ::close(std::exchange(m_fd, -1)) == 0 ? 0 : errno;
        return error == EINTR ? 0 : error;
    }

private:
    int m_fd;
};

QByteArray local(const QString &path)
{
    return QFile::encodeName(path);
}

const QStringList &recordNames()
{
    static const QStringList names = {RecordFiles::ScoresFile, RecordFiles::NamesFile,
                                      RecordFiles::RunFile, RecordFiles::BacksFile};
    return names;
}

bool isSuffix(const QString &name, qsizetype from)
{
    if (name.size() - from != TemporarySuffixLength)
        return false;
    for (qsizetype i = from; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80))
            return false;
    }
    return true;
}

// "<record file>.marigold-save-XXXXXX": a name no player would give a copy of a record.
bool isTemporaryOf(const QString &name, const QString &record)
{
    const QString stem = record + RecordFiles::TemporaryMark;
    return name.startsWith(stem) && isSuffix(name, stem.size());
}

// "<record file>.XXXXXX", the temporary files of the releases before; only a journal of
// theirs can name one, since a player's "zelscores.dat.backup" looks just the same.
bool isOldTemporaryOf(const QString &name, const QString &record)
{
    return name.startsWith(record + QLatin1Char('.')) && isSuffix(name, record.size() + 1);
}

bool isTemporary(const QString &name)
{
    for (const QString &record : recordNames()) {
        if (isTemporaryOf(name, record))
            return true;
    }
    return false;
}

// A lock file whose copy is gone is taken over at once; one that names no copy (a copy
// was killed between making it and writing its name in) after this long. A copy that
// holds the lock keeps it however long it takes, since QLockFile also locks the open
// file, and a lock so held is never removed.
constexpr std::chrono::milliseconds StaleAfter{1000};

enum class Lock { Held, Busy, Unavailable };

// QLockFile takes a stale lock over under a helper lock "<lock>.rmlock"; one left by a copy
// killed right then would stop every takeover for half a minute. Taking it over removes it.
bool clearStaleHelper(const QString &lockPath)
{
    const QString helperPath = lockPath + QStringLiteral(".rmlock");
    if (!QFileInfo::exists(helperPath))
        return false;
    QLockFile helper(helperPath);
    helper.setStaleLockTime(StaleAfter);
    if (!helper.tryLock(0))
        return false;
    helper.unlock();
    return true;
}

// Waits for the lock in short sleeps.
Lock take(QLockFile &lock, const QString &lockPath, std::chrono::milliseconds wait)
{
    lock.setStaleLockTime(StaleAfter);
    const QDeadlineTimer deadline(wait);
    forever {
        if (lock.tryLock(0))
            return Lock::Held;
        if (lock.error() != QLockFile::LockFailedError)
            return Lock::Unavailable;
        if (clearStaleHelper(lockPath))
            continue;
        if (deadline.hasExpired())
            return Lock::Busy;
        QThread::msleep(10);
    }
}

QString unsuitability(const struct stat &info)
{
    if (S_ISLNK(info.st_mode))
        return RecordFiles::tr("it is a symbolic link");
    if (S_ISDIR(info.st_mode))
        return RecordFiles::tr("a folder of that name is in the way");
    if (S_ISFIFO(info.st_mode))
        return RecordFiles::tr("it is a named pipe, not a plain file");
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return RecordFiles::tr("it is a device, not a plain file");
    if (!S_ISREG(info.st_mode))
        return RecordFiles::tr("it is not a plain file");
    if (info.st_size > RecordFiles::MaxFileSize)
        return RecordFiles::tr("it is larger than 64 KiB, far larger than any record file");
    return QString();
}

QString plainReason(int error)
{
    switch (error) {
    case ENOSPC:
        return RecordFiles::tr("the disk is full");
    case EDQUOT:
        return RecordFiles::tr("the disk quota is used up");
    case EACCES:
    case EPERM:
        return RecordFiles::tr("access to it is denied");
    case EROFS:
        return RecordFiles::tr("the disk is read-only");
    case EIO:
        return RecordFiles::tr("the disk reported an error");
    case ELOOP:
        return RecordFiles::tr("it is a symbolic link");
    case EISDIR:
        return RecordFiles::tr("a folder of that name is in the way");
    default:
        break;
    }
    QString text = QString::fromLocal8Bit(std::strerror(error));
    if (!text.isEmpty())
        text[0] = text.at(0).toLower();
    return text;
}

// The renames a complete journal lists, or nothing for a torn, foreign or damaged one.
// Only renames of our own temporary files onto the four record files are accepted, so
// whatever a journal says, nothing else in the folder can be touched.
std::optional<QList<std::pair<QString, QString>>> parseJournal(const QByteArray &journal)
{
    const qsizetype end = journal.lastIndexOf('\n' + JournalEnd);
    const bool old = journal.startsWith(OldJournalHeader);
    if (!(old || journal.startsWith(JournalHeader)) || end < 0 || !journal.endsWith('\n'))
        return std::nullopt;
    const QByteArray body = journal.left(end + 1);
    const QByteArray sum = journal.mid(end + 1 + JournalEnd.size()).chopped(1);
    if (sum != QByteArray::number(qChecksum(body)))
        return std::nullopt;

    QList<std::pair<QString, QString>> renames;
    const QList<QByteArray> lines = body.mid(JournalHeader.size()).chopped(1).split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> words = line.split(' ');
        if (words.size() != 2)
            return std::nullopt;
        const QString temporary = QString::fromLatin1(words.at(0));
        const QString target = QString::fromLatin1(words.at(1));
        if (!recordNames().contains(target)
            || !(old ? isOldTemporaryOf(temporary, target) : isTemporaryOf(temporary, target)))
            return std::nullopt;
        for (const auto &rename : std::as_const(renames)) {
            if (rename.second == target)
                return std::nullopt;
        }
        renames.append({temporary, target});
    }
    return renames;
}

} // namespace

QByteArray *RecordFiles::Edit::file(const QString &fileName)
{
    if (m_blocked)
        return nullptr;
    if (const auto found = m_after.find(fileName); found != m_after.end())
        return &found->second;
    const std::optional<QByteArray> bytes = m_files.load(fileName);
    if (!bytes) {
        m_blocked = true; // never half a change; the player has been told which file is in the way
        return nullptr;
    }
    m_order.append(fileName);
    m_before[fileName] = *bytes;
    return &(m_after[fileName] = *bytes);
}

RecordFiles::RecordFiles(const QString &directory, QObject *parent)
    : QObject(parent)
    , m_directory(directory)
{
    if (inMemory())
        return;
    // Before anything reads: a pair must be whole before either half is shown. A copy
    // holding the lock is saving, and finishes its own save.
    QLockFile lock(pathOf(LockFile));
    if (take(lock, pathOf(LockFile), std::chrono::milliseconds(0)) == Lock::Held)
        finishInterruptedSave();
}

qint32 RecordFiles::readTopScore()
{
    return RecordCodec::topScore(load(ScoresFile).value_or(QByteArray()));
}

HighScoreTable RecordFiles::readHighScores()
{
    const QByteArray scores = load(ScoresFile).value_or(QByteArray());
    const QByteArray names = load(NamesFile).value_or(QByteArray());
    return RecordCodec::table(scores, names);
}

qint16 RecordFiles::readHighRun()
{
    return RecordCodec::highRun(load(RunFile).value_or(QByteArray()));
}

qint16 RecordFiles::readBackIndex()
{
    return RecordCodec::backIndex(load(BacksFile).value_or(QByteArray()));
}

RecordFiles::Outcome RecordFiles::change(const QString &what, const std::function<void(Edit &)> &edit,
                                         Loss loss)
{
    Edit files(*this);
    QString failedFile;
    QString reason;
    {
        QLockFile lock(pathOf(LockFile));
        const Lock state = inMemory() ? Lock::Unavailable : take(lock, pathOf(LockFile), LockWait);
        if (state == Lock::Busy)
            return Outcome::Locked;
        // A copy killed part-way through its save is finished before anything is read;
        // its journal must not be written over while it still lists renames to do.
        // Without the lock for want of rights or room, the save below says why it fails.
        if (state == Lock::Held && !finishInterruptedSave()) {
            failedFile = JournalFile;
            reason = tr("an earlier save, listed in \"%1\", could not be finished").arg(JournalFile);
        } else {
            edit(files);
            if (files.m_blocked)
                return Outcome::Failed;
            QList<Change> changes;
            for (const QString &fileName : std::as_const(files.m_order)) {
                // Bytes that are on disk already cannot be lost, so they are not written again.
                if (files.m_after[fileName] != files.m_before[fileName])
                    changes.append({fileName, files.m_after[fileName]});
            }
            if (!changes.isEmpty())
                reason = commit(changes, &failedFile);
        }
    }
    if (reason.isEmpty()) {
        for (const QString &fileName : std::as_const(files.m_order))
            Q_EMIT saved(fileName);
        return Outcome::Saved;
    }
    if (loss == Loss::Told) {
        Q_EMIT failed(failedFile, reason,
                      tr("Marigold could not save %1 in \"%2\" because %3. The game plays on, but "
                         "this change is not kept.")
                          .arg(what, QDir::toNativeSeparators(pathOf(failedFile)), reason));
    }
    return Outcome::Failed;
}

int RecordFiles::writeSome(int fd, const char *data, qsizetype size, qsizetype *written)
{
    const ssize_t count = ::write(fd, data, size_t(size));
    if (count < 0)
        return errno;
    *written = count;
    return 0;
}

int RecordFiles::syncToDisk(int fd)
{
    return ::fsync(fd) == 0 ? 0 : errno;
}

QString RecordFiles::pathOf(const QString &fileName) const
{
    return QDir(m_directory).filePath(fileName);
}

std::optional<QByteArray> RecordFiles::load(const QString &fileName)
{
    if (inMemory())
        return m_memory.value(fileName);
    if (m_leftAlone.contains(fileName))
        return std::nullopt;
    const QByteArray path = local(pathOf(fileName));
    struct stat info;
    if (::lstat(path.constData(), &info) != 0) {
        if (errno != ENOENT) {
            leaveAlone(fileName, plainReason(errno));
            return std::nullopt;
        }
        // Every record file comes into being empty at its first access. O_EXCL never
        // follows a link, so a dangling one that appeared meanwhile creates nothing. Where
        // nothing may be created the file reads blank, and a save there says why it failed.
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                              0666);
        if (fd >= 0)
            ::close(fd);
        return QByteArray();
    }
    if (const QString reason = unsuitability(info); !reason.isEmpty()) {
        leaveAlone(fileName, reason);
        return std::nullopt;
    }
    // Checked again on the open file, in case it was swapped since; O_NONBLOCK so that
    // even a pipe swapped in cannot stall the game.
    Descriptor fd(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.isValid() || ::fstat(fd.get(), &info) != 0) {
        leaveAlone(fileName, plainReason(errno));
        return std::nullopt;
    }
    if (const QString reason = unsuitability(info); !reason.isEmpty()) {
        leaveAlone(fileName, reason);
        return std::nullopt;
    }
    QByteArray bytes(qsizetype(info.st_size), Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t count = ::read(fd.get(), bytes.data() + filled, size_t(bytes.size() - filled));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            leaveAlone(fileName, plainReason(errno));
            return std::nullopt;
        }
        if (count == 0)
            break;
        filled += count;
    }
    bytes.truncate(filled);
    return bytes;
}

QString RecordFiles::commit(const QList<Change> &changes, QString *failedFile)
{
    if (inMemory()) {
        for (const Change &change : changes)
            m_memory.insert(change.fileName, change.bytes);
        return QString();
    }
    QStringList temporaries;
    const auto discard = [&] {
        for (const QString &temporary : std::as_const(temporaries))
            ::unlink(local(pathOf(temporary)).constData());
    };

    for (const Change &change : changes) {
        *failedFile = change.fileName;
        const QByteArray path = local(pathOf(change.fileName));
        struct stat info;
        mode_t mode = 0666;
        if (::lstat(path.constData(), &info) == 0) {
            // Loaded as a plain file a moment ago; anything else now is not ours to replace.
            if (const QString reason = unsuitability(info); !reason.isEmpty()) {
                discard();
                return reason;
            }
            // A write-protected record stays as it is, as it would under a plain write.
            if (::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0) {
                discard();
                return plainReason(errno);
            }
            mode = info.st_mode & 07777;
        }
        QString temporary;
        if (const int error = writeTemporary(change.fileName, change.bytes, mode, &temporary)) {
            discard();
            return plainReason(error);
        }
        temporaries.append(temporary);
    }

    const bool journalled = changes.size() > 1;
    const QByteArray journalPath = local(pathOf(JournalFile));
    if (journalled) {
        *failedFile = changes.first().fileName;
        QByteArray journal = JournalHeader;
        for (qsizetype i = 0; i < changes.size(); ++i)
            journal += temporaries.at(i).toLatin1() + ' ' + changes.at(i).fileName.toLatin1() + '\n';
        journal += JournalEnd + QByteArray::number(qChecksum(journal)) + '\n';
        if (const QString reason = writeJournal(journal); !reason.isEmpty()) {
            discard();
            return reason;
        }
        // The journal must be on disk before the first rename, or a crash could leave
        // half the pair renamed with nothing to finish it.
        if (const int error = syncDirectory()) {
            ::unlink(journalPath.constData());
            discard();
            return plainReason(error);
        }
    }

    for (qsizetype i = 0; i < changes.size(); ++i) {
        *failedFile = changes.at(i).fileName;
        if (::rename(local(pathOf(temporaries.at(i))).constData(),
                     local(pathOf(changes.at(i).fileName)).constData())
            != 0) {
            const int error = errno;
            if (i == 0) {
                if (journalled)
                    ::unlink(journalPath.constData());
                discard();
            }
            // After the first rename the journal stays, and the next start finishes the rest.
            return plainReason(error);
        }
    }
    // The files are in place; a failure to make that durable has nothing left to undo.
    syncDirectory();
    if (journalled)
        ::unlink(journalPath.constData());
    return QString();
}

int RecordFiles::writeWhole(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        qsizetype written = 0;
        const int error = writeSome(fd, bytes.constData() + done, bytes.size() - done, &written);
        if (error == EINTR)
            continue;
        if (error)
            return error;
        if (written <= 0)
            return ENOSPC;
        done += written;
    }
    // A buffered write can succeed on a full disk and fail only at the sync.
    return syncToDisk(fd);
}

int RecordFiles::writeTemporary(const QString &fileName, const QByteArray &bytes, mode_t mode,
                                QString *temporary)
{
    static constexpr char Letters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        // From the system's source, so that two copies forked from one never draw alike.
        QString name = fileName + TemporaryMark;
        for (int i = 0; i < TemporarySuffixLength; ++i)
            name += QLatin1Char(Letters[QRandomGenerator::system()->bounded(int(sizeof Letters) - 1)]);
        const QByteArray path = local(pathOf(name));
        Descriptor fd(::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                             0600));
        if (!fd.isValid()) {
            if (errno == EEXIST)
                continue;
            return errno;
        }
        *temporary = name;
        int error = ::fchmod(fd.get(), mode) == 0 ? 0 : errno;
        if (!error)
            error = writeWhole(fd.get(), bytes);
        struct stat info;
        if (!error && (::fstat(fd.get(), &info) != 0 || info.st_size != bytes.size()))
            error = EIO;
        if (!error)
            error = fd.close();
        if (error)
            ::unlink(path.constData());
        return error;
    }
    return EEXIST;
}

QString RecordFiles::writeJournal(const QByteArray &journal)
{
    const QByteArray path = local(pathOf(JournalFile));
    struct stat info;
    if (::lstat(path.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return tr("\"%1\", which Marigold needs beside it, is not a plain file").arg(JournalFile);
    Descriptor fd(::open(path.constData(),
                         O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644));
    if (!fd.isValid())
        return plainReason(errno);
    int error = writeWhole(fd.get(), journal);
    if (!error)
        error = fd.close();
    if (!error)
        return QString();
    ::unlink(path.constData());
    return plainReason(error);
}

int RecordFiles::syncDirectory()
{
    Descriptor fd(::open(local(m_directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.isValid())
        return errno;
    return syncToDisk(fd.get());
}

bool RecordFiles::finishInterruptedSave()
{
    const QByteArray journalPath = local(pathOf(JournalFile));
    struct stat info;
    if (::lstat(journalPath.constData(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return true; // not ours to remove; a save of a pair reports it
        std::optional<QList<std::pair<QString, QString>>> renames;
        Descriptor fd(::open(journalPath.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (fd.isValid() && ::fstat(fd.get(), &info) == 0 && S_ISREG(info.st_mode)
            && info.st_size <= JournalLimit) {
            QByteArray journal(qsizetype(info.st_size), Qt::Uninitialized);
            if (::read(fd.get(), journal.data(), size_t(journal.size())) == journal.size())
                renames = parseJournal(journal);
        }
        // A torn journal means the pair was never complete on disk: the old files stand.
        bool finished = true;
        for (const auto &[temporary, target] : renames.value_or(QList<std::pair<QString, QString>>())) {
            const QByteArray from = local(pathOf(temporary));
            struct stat temporaryInfo;
            if (::lstat(from.constData(), &temporaryInfo) != 0 || !S_ISREG(temporaryInfo.st_mode))
                continue; // renamed before the stop
            if (::rename(from.constData(), local(pathOf(target)).constData()) != 0)
                finished = false;
        }
        if (renames)
            syncDirectory();
        // An unfinished journal stays for the next try, and so do the files it names.
        if (!finished)
            return false;
        ::unlink(journalPath.constData());
    }
    removeStrayTemporaries();
    return true;
}

void RecordFiles::removeStrayTemporaries()
{
    DIR *folder = ::opendir(local(m_directory).constData());
    if (!folder)
        return;
    QStringList strays;
    while (const dirent *entry = ::readdir(folder)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (isTemporary(name))
            strays.append(name);
    }
    ::closedir(folder);
    for (const QString &name : std::as_const(strays)) {
        const QByteArray path = local(pathOf(name));
        struct stat info;
        if (::lstat(path.constData(), &info) == 0 && !S_ISDIR(info.st_mode))
            ::unlink(path.constData());
    }
    clearStaleHelper(pathOf(LockFile));
}

void RecordFiles::leaveAlone(const QString &fileName, const QString &reason)
{
    if (m_leftAlone.contains(fileName))
        return;
    m_leftAlone.insert(fileName);
    QString contents;
    if (fileName == ScoresFile)
        contents = tr("the high scores");
    else if (fileName == NamesFile)
        contents = tr("the names of the high scores");
    else if (fileName == RunFile)
        contents = tr("the best run");
    else
        contents = tr("the card back");
    Q_EMIT failed(fileName, reason,
                  tr("Marigold did not read or change its record file \"%1\" because %2. Until "
                     "that file is put right, the game plays on with %3 blank and cannot save "
                     "changes to it.")
                      .arg(QDir::toNativeSeparators(pathOf(fileName)), reason, contents));
}
