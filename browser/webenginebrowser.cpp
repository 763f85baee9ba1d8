// SPDX-License-Identifier: GPL-3.0-or-later
#include "webenginebrowser.h"

#include "platform/webaddresses.h"

#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineView>

WebEngineBrowser::WebEngineBrowser(QWidget *parent)
    : WebBrowserControl(parent)
    , m_view(new QWebEngineView(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    connect(m_view, &QWebEngineView::loadStarted, this, [this] { m_busy = true; });
    connect(m_view, &QWebEngineView::loadFinished, this, &WebEngineBrowser::loadFinished);
    // The page speaks its title to assistive technology.
    connect(m_view, &QWebEngineView::titleChanged, this, [this](const QString &title) {
        setAccessibleName(title);
        m_view->setAccessibleName(title);
    });
}

void WebEngineBrowser::Navigate(const QString &address)
{
    // Typed addresses may leave out the scheme, as they may in any browser.
    const QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid())
        return;
    m_busy = true;
    m_view->setUrl(url);
}

void WebEngineBrowser::GoBack()
{
    if (!m_view->history()->canGoBack())
        return;
    m_busy = true;
    m_view->back();
}

void WebEngineBrowser::GoForward()
{
    if (!m_view->history()->canGoForward())
        return;
    m_busy = true;
    m_view->forward();
}

void WebEngineBrowser::GoHome()
{
    Navigate(WebAddresses::homePage());
}

void WebEngineBrowser::GoSearch()
{
    Navigate(WebAddresses::searchPage());
}

void WebEngineBrowser::Refresh()
{
    if (m_view->url().isEmpty())
        return;
    m_busy = true;
    m_view->reload();
}

void WebEngineBrowser::Stop()
{
    m_view->stop();
    m_busy = false;
}

QString WebEngineBrowser::LocationName() const
{
    return m_view->title();
}

QString WebEngineBrowser::LocationURL() const
{
    return m_view->url().toString();
}

bool WebEngineBrowser::Busy() const
{
    return m_busy;
}

void WebEngineBrowser::loadFinished()
{
    // A finished load, a failed one and a stopped one all end here; a failed one
    // shows the engine's own error page.
    m_busy = false;
    Q_EMIT NavigateComplete2(LocationURL());
    Q_EMIT DownloadComplete();
}
