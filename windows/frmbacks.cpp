// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmbacks.h"

#include "assets/cardpainter.h"
#include "platform/actionguard.h"
#include "platform/announcer.h"
#include "platform/designfonts.h"
#include "records/highscorebook.h"
#include "table/cardimage.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

frmBacks::frmBacks(const Services &services)
    : FramedWindow(QStringLiteral("frmBacks"), QStringLiteral("Change Cardbacks"), QSize(458, 298),
                   {QLine(0, 2, 498, 2), QLine(0, 295, 458, 295), QLine(2, 0, 2, 298),
                    QLine(455, 0, 455, 298)})
    , m_services(services)
{
    for (int index = 0; index < BackCount; ++index) {
        auto *image = new CardImage(this);
        image->setObjectName(QStringLiteral("imgCardBack[%1]").arg(index));
        image->setPicture(CardPicture::back(index));
        image->move(16 + 88 * (index % 5), index < 5 ? 16 : 176);
        // The keyboard moves the highlight with the arrows, so Enter stays with the buttons.
        image->setFocusPolicy(Qt::NoFocus);
        // Counted from 1, as a player counts them.
        image->setAccessibleName(
            tr("Card back %1: %2").arg(index + 1).arg(CardPainter::backDescription(index)));
        connect(image, &CardImage::clicked, this, [this, index] { imgCardBack_Click(index); });
        m_imgCardBack[index] = image;
    }

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(320, 128, 81, 33);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(56, 128, 81, 33);
    setTabOrder(cmdOK, cmdCancel);
    // Read with the button that has the focus when the window opens.
    cmdOK->setAccessibleDescription(
        tr("Highlight your card choice and click OK. The arrow keys move the highlight."));

    Label1 = new QLabel(QStringLiteral("Highlight your card choice and click OK."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(152, 128, 137, 33);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(true);
    Label1->setFont(DesignFonts::msSansSerif(9.75));
    QPalette cyan = Label1->palette();
    cyan.setColor(QPalette::WindowText, QColor(0, 255, 255));
    Label1->setPalette(cyan);

    cmdOK->installEventFilter(this);
    cmdCancel->installEventFilter(this);
    ActionGuard::connectAction(cmdOK, &QPushButton::clicked, this, &frmBacks::cmdOK_Click);
    ActionGuard::connectAction(cmdCancel, &QPushButton::clicked, this, &frmBacks::cmdCancel_Click);
}

void frmBacks::imgCardBack_Click(int Index)
{
    BackChoice = qint16(Index);
    m_highlighted = true;
    showHighlight();
    if (Announcer *announcer = m_services.announcer)
        announcer->announce(tr("Highlighted: %1.").arg(imgCardBack(Index)->accessibleName()));
}

void frmBacks::cmdOK_Click()
{
    m_services.book->chooseBack(BackChoice);
    Q_EMIT backChosen(BackChoice);
    hide();
    Q_EMIT backToMenu();
}

void frmBacks::cmdCancel_Click()
{
    hide();
    Q_EMIT backToMenu();
}

void frmBacks::keyPressEvent(QKeyEvent *event)
{
    if (!moveHighlight(event->key()))
        FramedWindow::keyPressEvent(event);
}

bool frmBacks::eventFilter(QObject *watched, QEvent *event)
{
    // The buttons would take the arrows to move the focus between themselves.
    if (event->type() == QEvent::KeyPress)
        return moveHighlight(static_cast<QKeyEvent *>(event)->key());
    return FramedWindow::eventFilter(watched, event);
}

bool frmBacks::moveHighlight(int key)
{
    constexpr int Columns = BackCount / 2;
    int column = BackChoice % Columns;
    int row = BackChoice / Columns;
    switch (key) {
    case Qt::Key_Left:
        column = qMax(0, column - 1);
        break;
    case Qt::Key_Right:
        column = qMin(Columns - 1, column + 1);
        break;
    case Qt::Key_Up:
        row = 0;
        break;
    case Qt::Key_Down:
        row = 1;
        break;
    default:
        return false;
    }
    const int target = row * Columns + column;
    if (ActionGuard::mayAct(imgCardBack(target)))
        imgCardBack_Click(target);
    return true;
}

void frmBacks::closeLikeButton()
{
    cmdCancel_Click();
}

void frmBacks::showHighlight()
{
    // The outlines belong to the images, so they outlive repaints and reopening.
    for (int index = 0; index < BackCount; ++index) {
        const bool chosen = m_highlighted && index == BackChoice;
        imgCardBack(index)->setOutline(!m_highlighted ? QColor()
                                       : chosen       ? QColor(255, 0, 0)
                                                      : QColor(0, 0, 0));
    }
}
