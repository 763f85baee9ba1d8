// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framedwindow.h"

class QPushButton;

// The team's group picture, shown when a game ends on exactly 11,000.
class frmTeamPic : public FramedWindow
{
    Q_OBJECT

public:
    frmTeamPic();

    void cmdOK_Click();

Q_SIGNALS:
    // The picture has gone; the game it held up goes on to its end.
    void closed();

protected:
    void closeLikeButton() override;
    QPushButton *defaultButton() const override { return cmdOK; }

private:
    QPushButton *cmdOK;
};
