// SPDX-License-Identifier: GPL-3.0-or-later
// marigold-browser: the game's built-in web browser, in a process of its own so that
// the web engine costs the game's start-up nothing.
//
//   marigold-browser [--game-channel] [ADDRESS]
//
// With --game-channel it takes commands from the game on standard input and closes
// when that input ends; see GameChannel.

#include "browser/frmbrowser.h"
#include "browser/gamechannel.h"
#include "browser/webenginebrowser.h"
#include "platform/designfonts.h"
#include "platform/webaddresses.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLoggingCategory>

#include <csignal>
#include <cstdio>

#include <unistd.h>

namespace {

QtMessageHandler engineMessages = nullptr;

// The browser says in its own words that the sandbox is off, in one line; the engine's
// own notice of it would only say so twice.
void withoutSandboxNotice(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtInfoMsg && message == QLatin1String("Sandboxing disabled by user."))
        return;
    if (engineMessages)
        engineMessages(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char *argv[])
{
    // Chromium will not start sandboxed as root; only then is the sandbox turned off.
    if (::geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        std::fputs("marigold-browser: running as root, so the web engine's sandbox is off\n",
                   stderr);
        engineMessages = qInstallMessageHandler(withoutSandboxNotice);
    }
    // A game that is gone must not take the browser down with a write to its pipe;
    // the end of input closes the browser properly instead.
    std::signal(SIGPIPE, SIG_IGN);

    // The engine describes its graphics set-up at every start; the player's terminal
    // need not read it (QT_LOGGING_RULES can still ask for it).
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    // The web engine shares OpenGL contexts between its views; this must come before
    // the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marigold"));
    QApplication::setApplicationVersion(QStringLiteral(MARIGOLD_VERSION));
    DesignFonts::installSubstitutions();
    QApplication::setFont(DesignFonts::dialog());

    QCommandLineParser parser;
    const QCommandLineOption gameChannel(
        QStringLiteral("game-channel"),
        QStringLiteral("Take commands from the game on standard input; close when it ends."));
    parser.addOption(gameChannel);
    parser.addPositionalArgument(QStringLiteral("address"),
                                 QStringLiteral("The page to open; the home page if none."));
    parser.addHelpOption();
    parser.process(app);

    frmBrowser window(new WebEngineBrowser);
    GameChannel channel(window);
    const QStringList addresses = parser.positionalArguments();
    window.StartingAddress = addresses.isEmpty() ? WebAddresses::homePage() : addresses.first();
    window.show();
    if (parser.isSet(gameChannel))
        channel.listen();
    return app.exec();
}
