// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framedwindow.h"

class QLabel;
class QPushButton;

// An information window opened from the menu: fixed contents and an OK button that
// goes back to the menu.
class InfoWindow : public FramedWindow
{
    Q_OBJECT

public:
    void Command1_Click();

Q_SIGNALS:
    // OK: the menu comes back in this window's place.
    void backToMenu();

protected:
    InfoWindow(const QString &name, const QString &caption, QSize clientSize,
               const QList<QLine> &frameLines, QPoint okPosition);

    QLabel *addLabel(const char *name, QRect geometry, const QString &text, QColor colour,
                     const QFont &font, Qt::Alignment alignment);
    void closeLikeButton() override;
    QPushButton *defaultButton() const override { return Command1; }

    QPushButton *Command1;
};
