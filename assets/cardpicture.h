// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHashFunctions>

// Which picture a card image shows: the face of a card or one of the ten backs.
// Images copy this small value between each other; the pixels come from CardPictures.
struct CardPicture
{
    enum class Kind : quint8 { Back, Face };

    Kind kind = Kind::Back;
    int index = 0; // card number 1..52 for a face, back number 0..9 for a back

    static constexpr CardPicture face(int cardNumber) { return {Kind::Face, cardNumber}; }
    static constexpr CardPicture back(int backNumber) { return {Kind::Back, backNumber}; }

    constexpr bool isFace() const { return kind == Kind::Face; }

    friend constexpr bool operator==(CardPicture, CardPicture) = default;
};

inline size_t qHash(CardPicture picture, size_t seed = 0)
{
    return qHashMulti(seed, int(picture.kind), picture.index);
}
