// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms.h"

#include "platform/windowowner.h"
#include "table/frmmarigold.h"
#include "windows/browserprocess.h"
#include "windows/frmabout.h"
#include "windows/frmbacks.h"
#include "windows/frmcredits.h"
#include "windows/frmhiscores.h"
#include "windows/frminstruct.h"
#include "windows/frmmenu.h"
#include "windows/frmteampic.h"

namespace {

template<typename Window, typename Make>
Window *loaded(std::unique_ptr<Window> &window, Make make, QWidget *table)
{
    if (!window)
        window = make();
    // Secondary windows open over the middle of the table, where the player is looking;
    // one made before the table was on screen is placed the first time it is asked for after.
    if (table && table->isVisible() && !window->testAttribute(Qt::WA_Moved))
        window->move(table->geometry().center() - window->rect().center());
    // Each stays above the table, which is disabled under it. Those the menu opens
    // belong to the table too: the menu steps aside for them, and a window manager
    // keeps no window above one that is off the screen.
    if (table && window->isHidden() && !WindowOwner::belongsTo(window.get(), table))
        WindowOwner::setOwner(window.get(), table);
    return window.get();
}

} // namespace

Forms::Forms(const Services &services)
    : m_services(services)
{
}

template<typename Window>
std::unique_ptr<Window> Forms::leadingBackToMenu(std::unique_ptr<Window> window)
{
    QObject::connect(window.get(), &Window::backToMenu, window.get(), [this] { menu()->show(); });
    return window;
}

// The browser goes first, so that no game ending leaves its process behind.
Forms::~Forms()
{
    m_browser.reset();
}

frmMarigold *Forms::marigold()
{
    if (!m_marigold) {
        // The chooser is made when the menu first asks for it, not at start-up: the table
        // draws its backs from the picture cache, and the chooser's highlight starts at
        // the first back either way.
        m_marigold = std::make_unique<frmMarigold>(m_services);
        frmMarigold *table = m_marigold.get();
        QObject::connect(table, &frmMarigold::menuRequested, table, [this] { menu()->show(); });
        QObject::connect(table, &frmMarigold::highScoresRequested, table, [this] {
            hiScores()->show();
            hiScores()->GetScores();
        });
        QObject::connect(table, &frmMarigold::teamPictureRequested, table,
                         [this] { teamPic()->show(); });
        QObject::connect(table, &frmMarigold::gameEnded, table,
                         [this](qint32 &Score, qint32 &HighScore) {
                             hiScores()->HighScores(Score, HighScore);
                         });
        QObject::connect(table, &frmMarigold::leaving, table, [this] { hideAll(); });
    }
    return m_marigold.get();
}

frmBacks *Forms::backs()
{
    return loaded(m_backs, [this] {
        auto window = leadingBackToMenu(std::make_unique<frmBacks>(m_services));
        QObject::connect(window.get(), &frmBacks::backChosen, window.get(),
                         [this](qint16 back) { marigold()->putBackOnEverySpot(back); });
        return window;
    }, m_marigold.get());
}

frmHiScores *Forms::hiScores()
{
    return loaded(m_hiScores,
                  [this] { return std::make_unique<frmHiScores>(m_services, marigold()); },
                  m_marigold.get());
}

frmTeamPic *Forms::teamPic()
{
    return loaded(m_teamPic, [this] {
        auto window = std::make_unique<frmTeamPic>();
        QObject::connect(window.get(), &frmTeamPic::closed, marigold(),
                         &frmMarigold::teamPictureClosed);
        return window;
    }, m_marigold.get());
}

frmMenu *Forms::menu()
{
    return loaded(m_menu, [this] {
        auto window = std::make_unique<frmMenu>();
        frmMenu *menu = window.get();
        QObject::connect(menu, &frmMenu::creditsRequested, menu, [this] { credits()->show(); });
        QObject::connect(menu, &frmMenu::instructionsRequested, menu, [this] { instruct()->show(); });
        QObject::connect(menu, &frmMenu::aboutRequested, menu, [this] { about()->show(); });
        QObject::connect(menu, &frmMenu::backsRequested, menu, [this] { backs()->show(); });
        QObject::connect(menu, &frmMenu::webPageRequested, menu,
                         [this, menu](const QString &address) {
                             BrowserProcess *process = browser();
                             process->StartingAddress = address;
                             process->show(menu);
                         });
        QObject::connect(menu, &frmMenu::closed, menu, [this] {
            frmMarigold *table = marigold();
            table->setEnabled(true);
            table->show();
            table->activateWindow();
            table->raise();
        });
        return window;
    }, m_marigold.get());
}

frmCredits *Forms::credits()
{
    return loaded(m_credits, [this] { return leadingBackToMenu(std::make_unique<frmCredits>()); },
                  m_marigold.get());
}

frmInstruct *Forms::instruct()
{
    return loaded(m_instruct, [this] { return leadingBackToMenu(std::make_unique<frmInstruct>()); },
                  m_marigold.get());
}

frmAbout *Forms::about()
{
    return loaded(m_about, [this] {
        auto window = std::make_unique<frmAbout>(m_services);
        QObject::connect(window.get(), &frmAbout::backToMenu, window.get(), [this] {
            unloadAbout();
            menu()->show();
        });
        return window;
    }, m_marigold.get());
}

BrowserProcess *Forms::browser()
{
    if (!m_browser)
        m_browser = std::make_unique<BrowserProcess>(*m_services.prompts);
    return m_browser.get();
}

void Forms::unloadAbout()
{
    // The about box is unloaded from inside its own handler, so it goes once that returns.
    if (m_about)
        m_about.release()->unload();
}

void Forms::hideAll()
{
    const QList<QWidget *> windows = {m_about.get(),   m_instruct.get(), m_credits.get(),
                                      m_menu.get(),    m_teamPic.get(),  m_hiScores.get(),
                                      m_backs.get(),   m_marigold.get()};
    for (QWidget *window : windows) {
        if (window)
            window->hide();
    }
    if (m_browser)
        m_browser->close();
}
