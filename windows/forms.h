// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/services.h"

#include <memory>

class BrowserProcess;
class frmAbout;
class frmBacks;
class frmCredits;
class frmHiScores;
class frmInstruct;
class frmMarigold;
class frmMenu;
class frmTeamPic;

// The game's windows, each created the first time it is asked for and kept for the
// rest of the run (the about box alone is unloaded when it closes). No window knows
// another: each asks by signal, and this connects what one asks for to the one that
// does it. None is the parent of another, so disabling the table disables only it.
class Forms
{
public:
    explicit Forms(const Services &services);
    ~Forms();

    Forms(const Forms &) = delete;
    Forms &operator=(const Forms &) = delete;

    frmMarigold *marigold();
    frmBacks *backs();
    frmHiScores *hiScores();
    frmTeamPic *teamPic();
    frmMenu *menu();
    frmCredits *credits();
    frmInstruct *instruct();
    frmAbout *about();
    // The built-in browser, which runs as a program of its own.
    BrowserProcess *browser();

    bool isHiScoresLoaded() const { return bool(m_hiScores); }
    bool isAboutLoaded() const { return bool(m_about); }
    void unloadAbout();

    // Takes every window off the screen, the browser's too, as leaving the game does.
    void hideAll();

private:
    // The window, with the menu shown again when it steps aside for it.
    template<typename Window>
    std::unique_ptr<Window> leadingBackToMenu(std::unique_ptr<Window> window);

    Services m_services;
    std::unique_ptr<frmMarigold> m_marigold;
    std::unique_ptr<frmBacks> m_backs;
    std::unique_ptr<frmHiScores> m_hiScores;
    std::unique_ptr<frmTeamPic> m_teamPic;
    std::unique_ptr<frmMenu> m_menu;
    std::unique_ptr<frmCredits> m_credits;
    std::unique_ptr<frmInstruct> m_instruct;
    std::unique_ptr<frmAbout> m_about;
    std::unique_ptr<BrowserProcess> m_browser;
};
