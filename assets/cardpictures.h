// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cardpicture.h"

#include <QPixmap>

// The one cache of rendered card pictures, keyed by picture and device pixel ratio.
namespace CardPictures {

QPixmap pixmap(CardPicture picture, qreal devicePixelRatio);

} // namespace CardPictures
