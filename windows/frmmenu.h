// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framedwindow.h"

class QPushButton;

// The hub between games: credits, instructions, about box, card backs, the web page,
// and Close back to the table. It asks for each by signal; Forms opens them.
class frmMenu : public FramedWindow
{
    Q_OBJECT

public:
    frmMenu();

    void cmdCredits_Click();
    void cmdInst_Click();
    void cmdAbout_Click();
    void cmdWeb_Click();
    void cmdBacks_Click();
    void cmdClose_Click();

Q_SIGNALS:
    // Each comes before the menu steps aside for the window asked for.
    void creditsRequested();
    void instructionsRequested();
    void aboutRequested();
    void backsRequested();
    // The browser, at `address`; the menu stays open.
    void webPageRequested(const QString &address);
    // The menu has gone: the table takes the player back.
    void closed();

protected:
    void closeLikeButton() override;

private:
    QPushButton *addButton(const char *name, const QString &caption, QPoint position);

    QPushButton *cmdCredits;
    QPushButton *cmdInst;
    QPushButton *cmdAbout;
    QPushButton *cmdWeb;
    QPushButton *cmdBacks;
    QPushButton *cmdClose;
};
