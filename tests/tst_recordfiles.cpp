#include "records/codepage1252.h"
#include "game/highscoretable.h"
#include "records/recordfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class tst_RecordFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstAccessCreatesEmptyFilesAndReadsBlank();
    void scoreAndNameBytesAreLittleEndianAtTheirOffsets();
    void aFullTableIs49And159Bytes();
    void shortFilesReadBlankBeyondTheirEnd();
    void bestRunAndClearing();
    void backIndexIsTwoBytes();
    void namesUseWindows1252_data();
    void namesUseWindows1252();
    void cutNeverSplitsACharacter();
    void readOnlyFolderKeepsOldFilesAndTellsOnce();
    void folderInPlaceOfAFileIsReported();
    void unreadableTableIsNotOverwritten();

private:
    static QByteArray read(const QTemporaryDir &dir, const QString &name);
    static void write(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes);
};

QByteArray tst_RecordFiles::read(const QTemporaryDir &dir, const QString &name)
{
    QFile file(dir.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void tst_RecordFiles::write(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void tst_RecordFiles::firstAccessCreatesEmptyFilesAndReadsBlank()
{
    QTemporaryDir dir;
    RecordFiles records(dir.path());
    QCOMPARE(records.readTopScore(), 0);
    QCOMPARE(records.readBackIndex(), qint16(0));
    QCOMPARE(records.readHighRun(), qint16(0));
    for (const QString &name : {RecordFiles::ScoresFile, RecordFiles::BacksFile, RecordFiles::RunFile}) {
        QVERIFY2(QFile::exists(dir.filePath(name)), qPrintable(name));
        QCOMPARE(QFileInfo(dir.filePath(name)).size(), 0);
    }
    QVERIFY(!QFile::exists(dir.filePath(RecordFiles::NamesFile)));

    const HighScoreTable table = records.readHighScores();
    for (int k = 1; k <= HighScoreTable::EntryCount; ++k) {
        QCOMPARE(table.entry(k).score, 0);
        QCOMPARE(table.entry(k).name, QString(15, QLatin1Char(' ')));
    }
}

void tst_RecordFiles::scoreAndNameBytesAreLittleEndianAtTheirOffsets()
{
    QTemporaryDir dir;
    RecordFiles records(dir.path());
    HighScoreTable table;
    table.insert(1, 500, QStringLiteral("AB"));
    records.writeHighScores(table);

    const QByteArray scores = read(dir, RecordFiles::ScoresFile);
    QCOMPARE(scores.mid(9, 4), QByteArray::fromHex("f4010000"));
    const QByteArray names = read(dir, RecordFiles::NamesFile);
    QCOMPARE(names.mid(9, 15), QByteArray("AB") + QByteArray(13, ' '));
    QCOMPARE(records.readTopScore(), 500);
    QCOMPARE(records.readHighScores().entry(1).name, QStringLiteral("AB") + QString(13, QLatin1Char(' ')));

    table.insert(1, -2, QString());
    records.writeHighScores(table);
    QCOMPARE(read(dir, RecordFiles::ScoresFile).mid(9, 4), QByteArray::fromHex("feffffff"));
}

void tst_RecordFiles::aFullTableIs49And159Bytes()
{
    QTemporaryDir dir;
    RecordFiles records(dir.path());
    records.writeHighScores(HighScoreTable());
    const QByteArray scores = read(dir, RecordFiles::ScoresFile);
    const QByteArray names = read(dir, RecordFiles::NamesFile);
    QCOMPARE(scores.size(), 49);
    QCOMPARE(names.size(), 159);
    QCOMPARE(scores.left(9), QByteArray(9, '\0'));
    QCOMPARE(names.left(9), QByteArray(9, '\0'));
    QCOMPARE(names.mid(9), QByteArray(150, ' '));

    // Whatever lies in the unused head of a file is kept as it was.
    QByteArray marked = scores;
    marked[3] = 'x';
    write(dir, RecordFiles::ScoresFile, marked);
    records.writeHighScores(HighScoreTable());
    QCOMPARE(read(dir, RecordFiles::ScoresFile).at(3), 'x');
}

void tst_RecordFiles::shortFilesReadBlankBeyondTheirEnd()
{
    QTemporaryDir dir;
    // Entry 1 whole, entry 2 cut after two of its four bytes.
    write(dir, RecordFiles::ScoresFile, QByteArray(9, '\0') + QByteArray::fromHex("e8030000") + QByteArray::fromHex("0102"));
    // Only the first name, and half of the second.
    write(dir, RecordFiles::NamesFile, QByteArray(9, '\0') + QByteArray("Winner         ") + QByteArray("Hal"));
    RecordFiles records(dir.path());
    const HighScoreTable table = records.readHighScores();
    QCOMPARE(table.entry(1).score, 1000);
    QCOMPARE(table.entry(2).score, 0);
    QCOMPARE(table.entry(1).name, QStringLiteral("Winner         "));
    QCOMPARE(table.entry(2).name, QString(15, QLatin1Char(' ')));
    // Reading leaves the files as they were.
    QCOMPARE(read(dir, RecordFiles::NamesFile).size(), 9 + 15 + 3);
}

void tst_RecordFiles::bestRunAndClearing()
{
    QTemporaryDir dir;
    RecordFiles records(dir.path());
    records.writeHighRun(7);
    QCOMPARE(read(dir, RecordFiles::RunFile), QByteArray::fromHex("0700"));
    QCOMPARE(records.readHighRun(), qint16(7));
    records.clearHighRun();
    QCOMPARE(read(dir, RecordFiles::RunFile), QByteArray(4, '\0'));
    QCOMPARE(records.readHighRun(), qint16(0));
    records.writeHighRun(300);
    QCOMPARE(read(dir, RecordFiles::RunFile), QByteArray::fromHex("2c010000"));
}

void tst_RecordFiles::backIndexIsTwoBytes()
{
    QTemporaryDir dir;
    write(dir, RecordFiles::BacksFile, QByteArray::fromHex("0300"));
    RecordFiles records(dir.path());
    QCOMPARE(records.readBackIndex(), qint16(3));
    records.writeBackIndex(7);
    QCOMPARE(read(dir, RecordFiles::BacksFile), QByteArray::fromHex("0700"));
}

void tst_RecordFiles::namesUseWindows1252_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("plain letters") << QStringLiteral("Zoe") << QByteArray("Zoe") << QStringLiteral("Zoe");
    QTest::newRow("Latin-1 letters") << QStringLiteral("Zoë Ågren") << QByteArray("Zo\xeb \xc5gren")
                                     << QStringLiteral("Zoë Ågren");
    QTest::newRow("the euro sign sits at 0x80") << QStringLiteral("€uro") << QByteArray("\x80uro")
                                                << QStringLiteral("€uro");
    QTest::newRow("a decomposed accent is composed first")
        << QStringLiteral("Rene\u0301") << QByteArray("Ren\xe9") << QStringLiteral("René");
    QTest::newRow("what the code page lacks becomes a question mark")
        << QStringLiteral("Ли 🂡") << QByteArray("?? ?") << QStringLiteral("?? ?");
}

void tst_RecordFiles::namesUseWindows1252()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, readBack);
    QCOMPARE(CodePage1252::encode(name), bytes);
    QCOMPARE(CodePage1252::decode(bytes), readBack);

    QTemporaryDir dir;
    RecordFiles records(dir.path());
    HighScoreTable table;
    table.insert(1, 10, name);
    records.writeHighScores(table);
    const QByteArray stored = read(dir, RecordFiles::NamesFile).mid(9, 15);
    QCOMPARE(stored, bytes + QByteArray(15 - bytes.size(), ' '));
}

void tst_RecordFiles::cutNeverSplitsACharacter()
{
    // Fifteen characters, the last outside the basic plane: two UTF-16 units, one byte.
    const QString fitted = HighScoreTable::fittedName(QStringLiteral("ABCDEFGHIJKLMN🂡X"));
    QCOMPARE(fitted, QStringLiteral("ABCDEFGHIJKLMN🂡"));
    QCOMPARE(CodePage1252::encode(fitted), QByteArray("ABCDEFGHIJKLMN?"));
}

void tst_RecordFiles::readOnlyFolderKeepsOldFilesAndTellsOnce()
{
    // Root ignores permission bits, so as root the probe runs as nobody.
    QTemporaryDir dir;
    write(dir, RecordFiles::RunFile, QByteArray::fromHex("0500"));
    const auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
        | QFile::ReadOther | QFile::ExeOther;
    QVERIFY(QFile::setPermissions(dir.filePath(RecordFiles::RunFile),
                                  QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(QFile::setPermissions(dir.path(), readOnly));

    // A copy of the probe where any user may run it, wherever the build tree lies.
    QTemporaryDir probeDir;
    const QString probeCopy = probeDir.filePath(QStringLiteral("recordprobe"));
    QVERIFY(QFile::copy(QStringLiteral(RECORD_PROBE), probeCopy));
    QVERIFY(QFile::setPermissions(probeDir.path(), readOnly | QFile::WriteOwner));
    QVERIFY(QFile::setPermissions(probeCopy, readOnly));

    QProcess probe;
    if (::geteuid() == 0) {
        probe.setChildProcessModifier([] {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(3);
        });
    }
    probe.start(probeCopy, {dir.path()});
    QVERIFY(probe.waitForFinished());
    QFile::setPermissions(dir.path(), readOnly | QFile::WriteOwner);
    QCOMPARE(probe.exitCode(), 0);
    QCOMPARE(QString::fromLocal8Bit(probe.readAllStandardOutput()).trimmed(),
             QStringLiteral("run=5 failures=1"));
    QCOMPARE(read(dir, RecordFiles::RunFile), QByteArray::fromHex("0500"));
    QVERIFY(!QFile::exists(dir.filePath(RecordFiles::BacksFile)));
}

void tst_RecordFiles::folderInPlaceOfAFileIsReported()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(RecordFiles::RunFile));
    QVERIFY(QDir(dir.path()).mkdir(RecordFiles::BacksFile));
    RecordFiles records(dir.path());
    QSignalSpy failures(&records, &RecordFiles::failed);
    QCOMPARE(records.readHighRun(), qint16(0));
    records.writeHighRun(9);
    records.writeBackIndex(3);
    QCOMPARE(failures.count(), 1);
    const QString message = failures.first().first().toString();
    QVERIFY2(message.contains(RecordFiles::RunFile), qPrintable(message));
    QVERIFY(QFileInfo(dir.filePath(RecordFiles::RunFile)).isDir());
}

void tst_RecordFiles::unreadableTableIsNotOverwritten()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(RecordFiles::NamesFile));
    write(dir, RecordFiles::ScoresFile, QByteArray(9, '\0') + QByteArray::fromHex("e8030000"));
    RecordFiles records(dir.path());
    HighScoreTable table = records.readHighScores();
    table.insert(1, 5000, QStringLiteral("Me"));
    records.writeHighScores(table);
    // Half a table is never written: the scores stay as they were.
    QCOMPARE(records.readTopScore(), 1000);
}

QTEST_GUILESS_MAIN(tst_RecordFiles)
#include "tst_recordfiles.moc"
