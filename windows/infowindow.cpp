// SPDX-License-Identifier: GPL-3.0-or-later
#include "infowindow.h"

#include "assets/artwork.h"
#include "platform/actionguard.h"

#include <QLabel>
#include <QPushButton>

InfoWindow::InfoWindow(const QString &name, const QString &caption, QSize clientSize,
                       const QList<QLine> &frameLines, QPoint okPosition)
    : FramedWindow(name, caption, clientSize, frameLines)
{
    setWindowIcon(Artwork::smallIcon());
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(QRect(okPosition, QSize(81, 33)));
    ActionGuard::connectAction(Command1, &QPushButton::clicked, this, &InfoWindow::Command1_Click);
}

QLabel *InfoWindow::addLabel(const char *name, QRect geometry, const QString &text,
                             QColor colour, const QFont &font, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour);
    label->setPalette(colours);
    return label;
}

void InfoWindow::Command1_Click()
{
    Q_EMIT backToMenu();
    hide();
}

void InfoWindow::closeLikeButton()
{
    Command1_Click();
}
