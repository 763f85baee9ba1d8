// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmteampic.h"

#include "assets/artwork.h"
#include "picturebox.h"
#include "platform/actionguard.h"

#include <QPushButton>

frmTeamPic::frmTeamPic()
    : FramedWindow(QStringLiteral("frmTeamPic"), QString(), QSize(319, 268),
                   {QLine(0, 2, 317, 2), QLine(0, 265, 317, 265), QLine(2, 0, 2, 266),
                    QLine(316, 0, 316, 266)})
{
    auto *picture = new PictureBox("Image1", {8, 8, 300, 208}, &Artwork::teamPicture, this);
    picture->setAccessibleName(tr("The Marigold team"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(112, 224, 81, 33);
    // The focus lands here when the picture opens; the picture itself takes none.
    cmdOK->setAccessibleDescription(picture->accessibleName());
    ActionGuard::connectAction(cmdOK, &QPushButton::clicked, this, &frmTeamPic::cmdOK_Click);
}

void frmTeamPic::cmdOK_Click()
{
    hide();
    Q_EMIT closed();
}

void frmTeamPic::closeLikeButton()
{
    cmdOK_Click();
}
