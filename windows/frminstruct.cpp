// SPDX-License-Identifier: GPL-3.0-or-later
#include "frminstruct.h"

#include "platform/designfonts.h"
#include "table/cardimage.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

const QString frmInstruct::RulesText = QStringLiteral(
    "Click on the Deal button to begin.  Then click on the face-up cards that are either one "
    "greater or one less than the face up card at the bottom. Example - You can put a seven or a "
    "five on a six. A king or a two can go on an ace. Click on the face down deck to get a new "
    "card.");

const QString frmInstruct::BonusText =
    QStringLiteral("Get 12,000 in two rounds and you get a bonus round.");

const QString frmInstruct::KeysText = QStringLiteral(
    "By keyboard: Tab and the arrow keys move between the buttons and the cards that can be "
    "played, Space presses the focused button or plays the focused card, and S on the table "
    "says the waste card, the score, the run, the time left, the round and the cards left in "
    "the stock.");

frmInstruct::frmInstruct()
    : InfoWindow(QStringLiteral("frmInstruct"), QStringLiteral("Instructions"),
                 QSize(312, 211),
                 {QLine(0, 1, 312, 1), QLine(0, 209, 312, 209), QLine(1, 0, 1, 211),
                  QLine(310, 0, 310, 211)},
                 {8, 168})
{
    const QColor white = QApplication::palette().color(QPalette::Base);
    addLabel("Label2", {48, 8, 225, 25}, QStringLiteral("INSTRUCTIONS"), QColor(255, 0, 0),
             DesignFonts::futura(15.75, false), Qt::AlignHCenter);
    auto *back = new CardImage(this);
    back->setObjectName(QStringLiteral("Image1"));
    back->move(16, 40);
    back->setPicture(CardPicture::back(0));
    back->setClickable(false);
    back->setAccessibleRole(QAccessible::Graphic);
    addLabel("Label1", {128, 40, 161, 121}, RulesText, white, DesignFonts::dialog(),
             Qt::AlignLeft);
    addLabel("Label3", {128, 168, 169, 33}, BonusText, white, DesignFonts::dialog(), Qt::AlignLeft);
    // A screen reader reads the rules, and the keys a sighted player finds by looking,
    // with the button that has the focus when the window opens.
    Command1->setAccessibleDescription(RulesText + QLatin1Char(' ') + BonusText + QLatin1Char(' ')
                                       + KeysText);
}
