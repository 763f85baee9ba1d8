#include "frmcards.h"

#include "cardimage.h"

frmCards::frmCards()
    : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("frmCards"));
    setWindowTitle(QStringLiteral("Cards"));
    resize(592, 464);
    // Four rows of thirteen, one suit to a row.
    for (int index = 0; index < int(m_imgCard.size()); ++index) {
        auto *image = new CardImage(this);
        image->setObjectName(QStringLiteral("imgCard[%1]").arg(index));
        image->setPicture(CardPicture::face(index + 1));
        image->move(8 + 44 * (index % 13), 8 + 112 * (index / 13));
        m_imgCard[index] = image;
    }
}
