// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/webbrowsercontrol.h"

#include <QStringList>

// A page control that only writes down what it is asked to do; a test plays the
// engine's part by setting its address and raising its notifications. It is never busy.
class FakeWebBrowser : public WebBrowserControl
{
public:
    // Like a real page it takes the focus, so Tab leaves the address box for it.
    FakeWebBrowser() { setFocusPolicy(Qt::StrongFocus); }

    void Navigate(const QString &address) override { calls << QStringLiteral("Navigate ") + address; }
    void GoBack() override { calls << QStringLiteral("GoBack"); }
    void GoForward() override { calls << QStringLiteral("GoForward"); }
    void GoHome() override { calls << QStringLiteral("GoHome"); }
    void GoSearch() override { calls << QStringLiteral("GoSearch"); }
    void Refresh() override { calls << QStringLiteral("Refresh"); }
    void Stop() override { calls << QStringLiteral("Stop"); }

    QString LocationName() const override { return QStringLiteral("Current page"); }
    QString LocationURL() const override { return url; }
    bool Busy() const override { return busy; }

    QStringList calls;
    bool busy = false;
    QString url;
};
