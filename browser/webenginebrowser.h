// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "webbrowsercontrol.h"

class QWebEngineView;

// The browser window's page on Qt WebEngine. Only the browser process links this:
// the engine is far too heavy for the game's own start-up.
class WebEngineBrowser : public WebBrowserControl
{
    Q_OBJECT

public:
    explicit WebEngineBrowser(QWidget *parent = nullptr);

    void Navigate(const QString &address) override;
    void GoBack() override;
    void GoForward() override;
    void GoHome() override;
    void GoSearch() override;
    void Refresh() override;
    void Stop() override;

    QString LocationName() const override;
    QString LocationURL() const override;
    bool Busy() const override;

private:
    void loadFinished();

    QWebEngineView *m_view;
    // Set as soon as a load is asked for, not when the engine gets round to starting
    // it, so that the window's next timer tick already sees the page as busy.
    bool m_busy = false;
};
