#pragma once

#include "framedwindow.h"

class Forms;
class QPushButton;

// The hub between games: credits, instructions, about box, card backs, the web page,
// and Close back to the table.
class frmMenu : public FramedWindow
{
    Q_OBJECT

public:
    explicit frmMenu(Forms &forms);

    void cmdCredits_Click();
    void cmdInst_Click();
    void cmdAbout_Click();
    void cmdWeb_Click();
    void cmdBacks_Click();
    void cmdClose_Click();

protected:
    void closeLikeButton() override;

private:
    QPushButton *addButton(const char *name, const QString &caption, QPoint position);

    Forms &m_forms;
    QPushButton *cmdCredits;
    QPushButton *cmdInst;
    QPushButton *cmdAbout;
    QPushButton *cmdWeb;
    QPushButton *cmdBacks;
    QPushButton *cmdClose;
};
