// SPDX-License-Identifier: GPL-3.0-or-later
// The built programs on a real X server under a real window manager, driven by real key
// presses and clicks from outside, as a player meets them.
#include "support/desktopsession.h"

#include <QProcess>
#include <QTest>

class tst_Desktop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theTableOpensActiveUnderTheWindowManager()
    {
        DesktopSession desktop;
        DESKTOPSESSION_START_OR_SKIP(desktop, DesktopSession::WindowManager::Openbox);
        QProcess *game = desktop.launch(QStringLiteral(MARIGOLD_PROGRAM), {}, desktop.scratchPath());
        const DesktopSession::WindowId table = desktop.waitForWindow(QStringLiteral("^Marigold$"), game->processId());
        QVERIFY(table);
        QVERIFY(DesktopSession::waitUntil([&] { return desktop.activeWindow() == table; }));
    }
};

QTEST_GUILESS_MAIN(tst_Desktop)
#include "tst_desktop.moc"
