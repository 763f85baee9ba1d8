// SPDX-License-Identifier: GPL-3.0-or-later
// Times the web button: from the game asking for the browser to the home page's title
// in the browser window's caption, as the browser reports it back. Each run starts a
// fresh browser process and closes it again, as pressing the button after closing the
// browser does. Run by hand under an X server (run-browser.sh does that):
//   browserbench --browser PATH [--runs N]

#include "platform/prompts.h"
#include "platform/webaddresses.h"
#include "windows/browserprocess.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int TimeoutMs = 60000;
const QString HomeTitle = QStringLiteral("Marigold - a patience card game");

// The benchmark has no one to tell; a failure shows as a timed-out run.
class SilentPrompts : public Prompts
{
public:
    void message(QWidget *, const QString &text) override
    {
        std::fprintf(stderr, "browserbench: %s\n", qPrintable(text));
    }
    bool question(QWidget *, const QString &) override { return false; }
    QString input(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    void beep() override {}
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption browserOption(QStringLiteral("browser"), QStringLiteral("marigold-browser"),
                                           QStringLiteral("path"));
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("runs"),
                                        QStringLiteral("n"), QStringLiteral("1"));
    parser.addOptions({browserOption, runsOption});
    parser.process(app);

    SilentPrompts prompts;
    BrowserProcess browser(prompts);
    browser.setProgram(parser.value(browserOption));
    browser.StartingAddress = WebAddresses::homePage();

    QList<double> times;
    const int runs = std::max(1, parser.value(runsOption).toInt());
    for (int run = 0; run < runs; ++run) {
        QEventLoop loop;
        QElapsedTimer clock;
        double elapsed = -1;
        const auto connection =
            QObject::connect(&browser, &BrowserProcess::captionChanged, &loop, [&](const QString &caption) {
                if (caption == HomeTitle) {
                    elapsed = clock.nsecsElapsed() / 1e6;
                    loop.quit();
                }
            });
        QTimer::singleShot(TimeoutMs, &loop, &QEventLoop::quit);
        clock.start();
        browser.show();
        loop.exec();
        QObject::disconnect(connection);
        browser.close();
        if (elapsed < 0) {
            std::fprintf(stderr, "browserbench: run %d timed out\n", run + 1);
            return 1;
        }
        times << elapsed;
        std::printf("run %d: %.0f ms\n", run + 1, elapsed);
        std::fflush(stdout);
    }
    std::sort(times.begin(), times.end());
    std::printf("median %.0f ms, min %.0f ms, max %.0f ms over %d runs\n", times.at(times.size() / 2),
                times.first(), times.last(), int(times.size()));
    return 0;
}
