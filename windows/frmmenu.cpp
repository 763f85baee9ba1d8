// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmmenu.h"

#include "assets/artwork.h"
#include "platform/actionguard.h"
#include "platform/webaddresses.h"

#include <QPushButton>

namespace {

// A caption wider than its button wraps onto a second line inside it, broken at the
// last space that lets the first line fit.
QString wrapped(const QString &caption, const QFontMetrics &metrics, int width)
{
    if (metrics.horizontalAdvance(caption) <= width)
        return caption;
    for (qsizetype space = caption.lastIndexOf(QLatin1Char(' ')); space > 0;
         space = caption.lastIndexOf(QLatin1Char(' '), space - 1)) {
        if (metrics.horizontalAdvance(caption.left(space)) <= width)
            return caption.left(space) + QLatin1Char('\n') + caption.mid(space + 1);
    }
    return caption;
}

} // namespace

frmMenu::frmMenu()
    : FramedWindow(QStringLiteral("frmMenu"), QStringLiteral("Menu"), QSize(293, 107),
                   {QLine(0, 2, 293, 2), QLine(0, 104, 293, 104), QLine(2, 0, 2, 104),
                    QLine(290, 0, 290, 104)})
{
    setWindowIcon(Artwork::menuIcon());
    cmdCredits = addButton("cmdCredits", QStringLiteral("Credits"), {8, 16});
    cmdInst = addButton("cmdInst", QStringLiteral("Instructions"), {105, 16});
    cmdAbout = addButton("cmdAbout", QStringLiteral("About"), {202, 16});
    cmdWeb = addButton("cmdWeb", QStringLiteral("Visit Me On The Web"), {8, 64});
    cmdBacks = addButton("cmdBacks", QStringLiteral("Change Cardbacks"), {105, 64});
    cmdClose = addButton("cmdClose", QStringLiteral("Close"), {202, 64});
    setTabOrder(cmdCredits, cmdInst);
    setTabOrder(cmdInst, cmdAbout);
    setTabOrder(cmdAbout, cmdWeb);
    setTabOrder(cmdWeb, cmdBacks);
    setTabOrder(cmdBacks, cmdClose);

    ActionGuard::connectAction(cmdCredits, &QPushButton::clicked, this, &frmMenu::cmdCredits_Click);
    ActionGuard::connectAction(cmdInst, &QPushButton::clicked, this, &frmMenu::cmdInst_Click);
    ActionGuard::connectAction(cmdAbout, &QPushButton::clicked, this, &frmMenu::cmdAbout_Click);
    ActionGuard::connectAction(cmdWeb, &QPushButton::clicked, this, &frmMenu::cmdWeb_Click);
    ActionGuard::connectAction(cmdBacks, &QPushButton::clicked, this, &frmMenu::cmdBacks_Click);
    ActionGuard::connectAction(cmdClose, &QPushButton::clicked, this, &frmMenu::cmdClose_Click);
}

QPushButton *frmMenu::addButton(const char *name, const QString &caption, QPoint position)
{
    auto *button = new QPushButton(this);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(QRect(position, QSize(81, 33)));
    button->setAutoDefault(false);
    button->setText(wrapped(caption, button->fontMetrics(), button->width() - 8));
    button->setAccessibleName(caption);
    return button;
}

void frmMenu::cmdCredits_Click()
{
    Q_EMIT creditsRequested();
    hide();
}

void frmMenu::cmdInst_Click()
{
    Q_EMIT instructionsRequested();
    hide();
}

void frmMenu::cmdAbout_Click()
{
    Q_EMIT aboutRequested();
    hide();
}

void frmMenu::cmdWeb_Click()
{
    Q_EMIT webPageRequested(WebAddresses::homePage());
}

void frmMenu::cmdBacks_Click()
{
    Q_EMIT backsRequested();
    hide();
}

void frmMenu::cmdClose_Click()
{
    hide();
    Q_EMIT closed();
}

void frmMenu::closeLikeButton()
{
    cmdClose_Click();
}
