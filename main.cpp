#include "game/randomgenerator.h"
#include "platform/accessibleannouncer.h"
#include "platform/designfonts.h"
#include "platform/gameclock.h"
#include "platform/programlauncher.h"
#include "platform/prompts.h"
#include "platform/registry.h"
#include "records/recordfiles.h"
#include "table/frmmarigold.h"
#include "windows/forms.h"

#include <QApplication>
#include <QByteArrayView>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDir>
#include <QStandardPaths>
#include <QTextStream>

namespace {

// The game keeps its records in the folder it starts in. A desktop menu starts programs
// in the home folder, so the desktop entry asks for the player's data folder instead;
// moving there (rather than only pointing the records at it) keeps "the folder it starts
// in" true for everything the game does.
bool enterDataFolder()
{
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/marigold");
    if (QDir().mkpath(folder) && QDir::setCurrent(folder))
        return true;
    QTextStream(stderr) << "marigold: cannot use " << folder << " for the records" << Qt::endl;
    return false;
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
    if (parser.isSet(recordsInDataFolder) && !enterDataFolder())
        return 1;

    DesignFonts::installSubstitutions();
    QApplication::setFont(DesignFonts::dialog());

    SystemClock clock;
    DialogPrompts prompts;
    RecordFiles records(QDir::currentPath());
    RandomGenerator random;
    ProgramLauncher launcher;
    AccessibleAnnouncer announcer;
    Services services;
    services.clock = &clock;
    services.prompts = &prompts;
    services.records = &records;
    services.random = &random;
    services.registry = systemRegistry();
    services.launcher = &launcher;
    services.announcer = &announcer;

    Forms forms(services);
    // The table is on screen for the whole run, so what the game says lives there.
    announcer.setHost(forms.marigold());
    forms.marigold()->show();
    return app.exec();
}
