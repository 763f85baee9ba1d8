#include "game/randomgenerator.h"
#include "platform/designfonts.h"
#include "platform/gameclock.h"
#include "platform/programlauncher.h"
#include "platform/prompts.h"
#include "platform/registry.h"
#include "records/recordfiles.h"
#include "table/frmmarigold.h"
#include "windows/forms.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marigold"));
    QApplication::setApplicationVersion(QStringLiteral(MARIGOLD_VERSION));
    DesignFonts::installSubstitutions();
    QApplication::setFont(DesignFonts::dialog());

    SystemClock clock;
    DialogPrompts prompts;
    RecordFiles records(QDir::currentPath());
    RandomGenerator random;
    ProgramLauncher launcher;
    Services services;
    services.clock = &clock;
    services.prompts = &prompts;
    services.records = &records;
    services.random = &random;
    services.registry = systemRegistry();
    services.launcher = &launcher;

    Forms forms(services);
    forms.marigold()->show();
    return app.exec();
}
