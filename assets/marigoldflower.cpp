// SPDX-License-Identifier: GPL-3.0-or-later
#include "marigoldflower.h"

#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>

namespace MarigoldFlower {

namespace {

struct PetalRing
{
    int count;
    qreal length;    // fraction of the flower's radius
    qreal halfWidth; // fraction of the petal's own length
    qreal turn;      // degrees, so the rings interleave instead of stacking
    QColor fill;
    QColor edge;
};

// One petal pointing up from the origin, with the notched tip that makes a
// marigold look frilly rather than like a daisy.
QPainterPath petalPath(qreal length, qreal halfWidth)
{
    const qreal w = halfWidth * length;
    const qreal l = length;
    QPainterPath path;
    path.moveTo(0, 0);
    path.cubicTo(-w * 1.3, -0.25 * l, -w * 1.15, -0.8 * l, -w * 0.7, -0.95 * l);
    path.quadTo(-w * 0.35, -1.06 * l, 0, -0.93 * l);
    path.quadTo(w * 0.35, -1.06 * l, w * 0.7, -0.95 * l);
    path.cubicTo(w * 1.15, -0.8 * l, w * 1.3, -0.25 * l, 0, 0);
    path.closeSubpath();
    return path;
}

} // namespace

void paint(QPainter &painter, QPointF centre, qreal radius)
{
    static const std::array<PetalRing, 3> rings{{
        {12, 1.00, 0.36, 0.0, QColor(0xd9, 0x5a, 0x0b), QColor(0x9c, 0x3a, 0x05)},
        {12, 0.78, 0.38, 15.0, QColor(0xf2, 0x8c, 0x13), QColor(0xb8, 0x5c, 0x08)},
        {10, 0.56, 0.40, 9.0, QColor(0xff, 0xbd, 0x2e), QColor(0xcf, 0x86, 0x0c)},
    }};

    painter.save();
    painter.translate(centre);
    // Very small flowers (16 pixel icons) lose their colour to the outlines, so
    // the outlines thin out with the size.
    const qreal edgeWidth = std::max(0.25, radius * 0.035);
    for (const PetalRing &ring : rings) {
        const QPainterPath petal = petalPath(ring.length * radius, ring.halfWidth);
        painter.setPen(QPen(ring.edge, edgeWidth));
        painter.setBrush(ring.fill);
        for (int i = 0; i < ring.count; ++i) {
            painter.save();
            painter.rotate(ring.turn + 360.0 * i / ring.count);
            painter.drawPath(petal);
            painter.restore();
        }
    }

    const qreal heart = radius * 0.24;
    QRadialGradient shade(QPointF(-heart * 0.3, -heart * 0.3), heart * 1.3);
    shade.setColorAt(0.0, QColor(0xa0, 0x62, 0x1e));
    shade.setColorAt(1.0, QColor(0x5a, 0x2e, 0x0c));
    painter.setPen(QPen(QColor(0x4a, 0x24, 0x08), edgeWidth));
    painter.setBrush(shade);
    painter.drawEllipse(QPointF(0, 0), heart, heart);

    // A few seeds only where there is room to see them.
    if (radius >= 12) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xe0, 0xa0, 0x40, 170));
        const qreal seed = heart * 0.12;
        for (int i = 0; i < 8; ++i) {
            const qreal angle = i * M_PI / 4 + 0.3;
            painter.drawEllipse(QPointF(std::cos(angle), std::sin(angle)) * heart * 0.6, seed, seed);
        }
    }
    painter.restore();
}

} // namespace MarigoldFlower
