#include "frminstruct.h"

#include "platform/designfonts.h"
#include "table/cardimage.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>

const QString frmInstruct::RulesText = QStringLiteral(
    "Click on the Deal button to begin.  Then click on the face-up cards that are either one "
    "greater or one less than the face up card at the bottom. Example - You can put a seven or a "
    "five on a six. A king or a two can go on an ace. Click on the face down deck to get a new "
    "card.");

frmInstruct::frmInstruct(Forms &forms)
    : InfoWindow(forms, QStringLiteral("frmInstruct"), QStringLiteral("Instructions"),
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
    addLabel("Label1", {128, 40, 161, 121}, RulesText, white, DesignFonts::dialog(),
             Qt::AlignLeft);
    addLabel("Label3", {128, 168, 169, 33},
             QStringLiteral("Get 12,000 in two rounds and you get a bonus round."), white,
             DesignFonts::dialog(), Qt::AlignLeft);
}
