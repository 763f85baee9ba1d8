// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>

class QPainter;

// The marigold that recurs through the artwork: card back, icons, credits picture.
// Three rings of frilled petals around a brown heart, drawn as vector paths.
namespace MarigoldFlower {

void paint(QPainter &painter, QPointF centre, qreal radius);

} // namespace MarigoldFlower
