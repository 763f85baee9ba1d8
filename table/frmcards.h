#pragma once

#include <QWidget>

#include <array>

class CardImage;

// The hidden holder of the 52 card faces: imgCard[n - 1] shows card n. Never shown;
// the table copies pictures out of it.
class frmCards : public QWidget
{
    Q_OBJECT

public:
    frmCards();

    CardImage *imgCard(int index) const { return m_imgCard.at(index); }

private:
    std::array<CardImage *, 52> m_imgCard{};
};
