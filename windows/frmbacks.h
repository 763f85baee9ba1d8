// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framedwindow.h"
#include "platform/services.h"

#include <array>

class CardImage;
class QLabel;
class QPushButton;

// The card-back chooser. It is made when the menu first asks for it and kept for the rest
// of the run, so the last back highlighted stays chosen; the table's own pictures come
// from the picture cache, as every card's do.
class frmBacks : public FramedWindow
{
    Q_OBJECT

public:
    static constexpr int BackCount = 10;

    explicit frmBacks(const Services &services);

    CardImage *imgCardBack(int index) const { return m_imgCardBack.at(index); }
    qint16 backChoice() const { return BackChoice; }

    void imgCardBack_Click(int Index);
    void cmdOK_Click();
    void cmdCancel_Click();

Q_SIGNALS:
    // OK stored `back`: every spot of the table shows it at once.
    void backChosen(qint16 back);
    // OK or Cancel: the chooser has stepped aside for the menu.
    void backToMenu();

protected:
    void closeLikeButton() override;
    QPushButton *defaultButton() const override { return cmdOK; }
    // The arrow keys move the highlight over the two rows of five, wherever the focus is.
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showHighlight();
    bool moveHighlight(int key);

    Services m_services;
    std::array<CardImage *, BackCount> m_imgCardBack{};
    QPushButton *cmdOK;
    QPushButton *cmdCancel;
    QLabel *Label1;

    qint16 BackChoice = 0;
    bool m_highlighted = false; // nothing is outlined until the player picks a back
};
