// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/randomgenerator.h"
#include "platform/accessibleannouncer.h"
#include "platform/designfonts.h"
#include "platform/gameclock.h"
#include "platform/programlauncher.h"
#include "platform/prompts.h"
#include "platform/registry.h"
#include "records/highscorebook.h"
#include "records/recordfiles.h"
#include "table/frmmarigold.h"
#include "windows/forms.h"

#include <QApplication>
#include <QByteArrayView>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString quoted(const QString &path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

QString systemReason(int error)
{
    QString text = QString::fromLocal8Bit(std::strerror(error));
    if (!text.isEmpty())
        text[0] = text.at(0).toLower();
    return text;
}

// Makes every missing folder on the way from `start`, which must exist, down to `folder`,
// as the base-directory rules ask (mode 0700). Answers why that cannot be done, or nothing.
QString makeFolders(const QString &start, const QString &folder)
{
    QStringList below = QDir(start).relativeFilePath(folder).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString path = start;
    for (;;) {
        const QByteArray local = QFile::encodeName(path);
        struct stat info;
        if (::lstat(local.constData(), &info) != 0) {
            if (errno != ENOENT || ::mkdir(local.constData(), 0700) != 0)
                return QObject::tr("%1 cannot be made: %2").arg(quoted(path), systemReason(errno));
        } else if (::stat(local.constData(), &info) != 0) {
            return QObject::tr("%1 is a link to something that is not there").arg(quoted(path));
        } else if (!S_ISDIR(info.st_mode)) {
            return QObject::tr("%1 is not a folder").arg(quoted(path));
        }
        if (below.isEmpty())
            break;
        path = QDir(path).filePath(below.takeFirst());
    }
    if (::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK | X_OK, AT_EACCESS) != 0) {
        return errno == EROFS ? QObject::tr("it is on a read-only disk")
                              : QObject::tr("it cannot be written to: %1").arg(systemReason(errno));
    }
    return QString();
}

// The player's own data folder for the records, made if missing: $XDG_DATA_HOME/marigold,
// or ~/.local/share/marigold. Answers why it cannot be used, or nothing. Qt's own answer
// is not taken: it uses a relative XDG_DATA_HOME from the start folder, which the rules
// say to ignore, and the root folder when HOME is not set.
QString prepareDataFolder(QString *folder)
{
    const QString dataHome = QFile::decodeName(qgetenv("XDG_DATA_HOME"));
    if (QDir::isAbsolutePath(dataHome)) {
        *folder = QDir::cleanPath(dataHome + QStringLiteral("/marigold"));
        return makeFolders(QStringLiteral("/"), *folder);
    }
    const QString home = QFile::decodeName(qgetenv("HOME"));
    if (!QDir::isAbsolutePath(home)) {
        *folder = QStringLiteral("~/.local/share/marigold");
        return home.isEmpty() ? QObject::tr("HOME is not set, so there is no home folder")
                              : QObject::tr("HOME, %1, is not a full path").arg(quoted(home));
    }
    *folder = QDir::cleanPath(home + QStringLiteral("/.local/share/marigold"));
    // The home folder itself is never made: one that is missing is a mistake to report.
    if (!QFileInfo(home).isDir()) {
        return QFileInfo(home).isSymLink() || !QFileInfo::exists(home)
            ? QObject::tr("the home folder %1 does not exist").arg(quoted(home))
            : QObject::tr("the home folder %1 is not a folder").arg(quoted(home));
    }
    return makeFolders(QDir::cleanPath(home), *folder);
}

void describeOptions(QCommandLineParser &parser, const QCommandLineOption &recordsInDataFolder)
{
    parser.setApplicationDescription(QStringLiteral(
        "A patience card game for one player. Its records (the best scores, the longest run "
        "and the card back) are kept in the folder it starts in."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(recordsInDataFolder);
}

// --help and --version print and leave; they should work where no display is at hand,
// so they are answered before the windowing system is touched.
bool asksOnlyForText(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView argument(argv[i]);
        if (argument == "-h" || argument == "-?" || argument == "--help" || argument == "--help-all"
            || argument == "-v" || argument == "--version")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Marigold"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MARIGOLD_VERSION));
    const QCommandLineOption recordsInDataFolder(
        QStringLiteral("records-in-data-folder"),
        QStringLiteral("Start in the player's own data folder, $XDG_DATA_HOME/marigold (by default "
                       "~/.local/share/marigold), created if missing, and keep the records there."));
    QCommandLineParser parser;
    describeOptions(parser, recordsInDataFolder);

    if (asksOnlyForText(argc, argv)) {
        QCoreApplication textOnly(argc, argv);
        parser.process(textOnly); // prints, then ends the program
        return 0;
    }

    QApplication app(argc, argv);
    parser.process(app);
    // The game keeps its records in the folder it starts in. A desktop menu starts programs
    // in the home folder, so the desktop entry asks for the player's data folder instead;
    // moving there (rather than only pointing the records at it) keeps "the folder it starts
    // in" true for everything the game does. Where that folder cannot be used, the game
    // still plays, with its records in memory.
    QString folder = QDir::currentPath();
    QString folderProblem;
    if (parser.isSet(recordsInDataFolder)) {
        folderProblem = prepareDataFolder(&folder);
        if (folderProblem.isEmpty() && !QDir::setCurrent(folder))
            folderProblem = QObject::tr("it cannot be entered");
    }
    if (!folderProblem.isEmpty()) {
        folderProblem = QObject::tr("Marigold cannot keep its records in %1 because %2. The game "
                                    "plays on, but its high scores, best run and card back are kept "
                                    "only until it closes.")
                            .arg(quoted(folder), folderProblem);
    }

    DesignFonts::installSubstitutions();
    QApplication::setFont(DesignFonts::dialog());

    SystemClock clock;
    DialogPrompts prompts;
    RecordFiles records(folderProblem.isEmpty() ? folder : QString());
    RandomGenerator random;
    HighScoreBook book(records, random);
    ProgramLauncher launcher;
    AccessibleAnnouncer announcer;
    Services services;
    services.clock = &clock;
    services.prompts = &prompts;
    services.records = &records;
    services.book = &book;
    services.random = &random;
    services.registry = systemRegistry();
    services.launcher = &launcher;
    services.announcer = &announcer;

    Forms forms(services);
    // The table is on screen for the whole run, so what the game says lives there.
    announcer.setHost(forms.marigold());
    forms.marigold()->show();
    if (!folderProblem.isEmpty()) {
        // Also for a terminal, and the journal of a start from the menu.
        QTextStream(stderr) << "marigold: " << folderProblem << Qt::endl;
        prompts.message(forms.marigold(), folderProblem);
    }
    const int code = app.exec();
    // A change that found the records locked by another copy gets one more try, and what
    // was not saved is told even now that the table is gone.
    const QStringList untold = book.saveBeforeClosing();
    if (!untold.isEmpty())
        prompts.message(nullptr, untold.join(QStringLiteral("\n\n")));
    return code;
}
