#include "recordfiles.h"

#include "codepage1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

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

RecordFiles::RecordFiles(const QString &directory, QObject *parent)
    : QObject(parent)
    , m_directory(directory)
{
}

qint32 RecordFiles::readTopScore()
{
    return readInt<qint32>(load(ScoresFile).value_or(QByteArray()), scoreOffset(1));
}

HighScoreTable RecordFiles::readHighScores()
{
    const QByteArray scores = load(ScoresFile).value_or(QByteArray());
    const QByteArray names = load(NamesFile).value_or(QByteArray());
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

void RecordFiles::writeHighScores(const HighScoreTable &table)
{
    std::optional<QByteArray> scores = load(ScoresFile);
    std::optional<QByteArray> names = load(NamesFile);
    if (!scores || !names)
        return; // never write half a table over a file we could not read
    for (int k = 1; k <= HighScoreTable::EntryCount; ++k) {
        place(*scores, scoreOffset(k), intField<qint32>(table.entry(k).score));
        QByteArray name = CodePage1252::encode(table.entry(k).name).left(NameWidth);
        name.append(QByteArray(NameWidth - name.size(), ' '));
        place(*names, nameOffset(k), name);
    }
    save(ScoresFile, *scores);
    save(NamesFile, *names);
}

qint16 RecordFiles::readHighRun()
{
    return readInt<qint16>(load(RunFile).value_or(QByteArray()), 0);
}

void RecordFiles::writeHighRun(qint16 highRun)
{
    patch(RunFile, 0, intField<qint16>(highRun));
}

void RecordFiles::clearHighRun()
{
    patch(RunFile, 0, intField<qint32>(0));
}

qint16 RecordFiles::readBackIndex()
{
    return readInt<qint16>(load(BacksFile).value_or(QByteArray()), 0);
}

void RecordFiles::writeBackIndex(qint16 backIndex)
{
    patch(BacksFile, 0, intField<qint16>(backIndex));
}

QString RecordFiles::pathOf(const QString &fileName) const
{
    return QDir(m_directory).filePath(fileName);
}

std::optional<QByteArray> RecordFiles::load(const QString &fileName)
{
    QFile file(pathOf(fileName));
    const QFileInfo info(file);
    if (info.isDir()) {
        report(fileName, tr("a folder of that name is in the way"));
        return std::nullopt;
    }
    if (info.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            report(fileName, file.errorString());
            return std::nullopt;
        }
        return file.readAll();
    }
    // Every record file comes into being empty at its first access.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        report(fileName, file.errorString());
    return QByteArray();
}

bool RecordFiles::save(const QString &fileName, const QByteArray &bytes)
{
    if (QFileInfo(pathOf(fileName)).isDir()) {
        report(fileName, tr("a folder of that name is in the way"));
        return false;
    }
    QSaveFile file(pathOf(fileName));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        report(fileName, file.errorString());
        return false;
    }
    return true;
}

void RecordFiles::patch(const QString &fileName, qsizetype offset, const QByteArray &field)
{
    // A file that exists but cannot be read is left alone rather than rebuilt from blanks.
    std::optional<QByteArray> bytes = load(fileName);
    if (!bytes)
        return;
    place(*bytes, offset, field);
    save(fileName, *bytes);
}

void RecordFiles::report(const QString &fileName, const QString &reason)
{
    if (m_reported)
        return;
    m_reported = true;
    Q_EMIT failed(tr("Marigold could not save its records in \"%1\" (%2). "
                     "You can go on playing, but what cannot be saved will be lost "
                     "when the game closes.")
                      .arg(QDir::toNativeSeparators(pathOf(fileName)), reason));
}
