#pragma once

#include "framedwindow.h"

class Forms;
class QPushButton;

// The team's group picture, shown when a game ends on exactly 11,000.
class frmTeamPic : public FramedWindow
{
    Q_OBJECT

public:
    explicit frmTeamPic(Forms &forms);

    void cmdOK_Click();

protected:
    void closeLikeButton() override;
    QPushButton *defaultButton() const override { return cmdOK; }

private:
    Forms &m_forms;
    QPushButton *cmdOK;
};
