// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// The page of the browser window: what the window asks of an embedded browser engine,
// and nothing more, so the window's own logic runs against a stand-in in tests.
// An operation the engine cannot carry out (going back with no history) does nothing.
class WebBrowserControl : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    virtual void Navigate(const QString &address) = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void GoHome() = 0;
    virtual void GoSearch() = 0;
    virtual void Refresh() = 0;
    virtual void Stop() = 0;

    // The current page's title and address, and whether a page is loading.
    virtual QString LocationName() const = 0;
    virtual QString LocationURL() const = 0;
    virtual bool Busy() const = 0;

Q_SIGNALS:
    void DownloadComplete();
    void NavigateComplete2(const QString &address);
};
