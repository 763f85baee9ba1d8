// SPDX-License-Identifier: GPL-3.0-or-later
#include "cardpainter.h"

#include "game/card.h"
#include "marigoldflower.h"
#include "platform/designfonts.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace CardPainter {

namespace {

constexpr qreal CornerRadius = 5.0;
constexpr qreal BackBorder = 4.0;
const QColor Outline(0x33, 0x33, 0x33);
const QColor FaceRed(0xd4, 0x06, 0x06);
const QColor FaceBlack(0x14, 0x14, 0x14);
const QRectF RankArea(6, 4, CardPainter::Width - 12, 24);

QRectF cardRect()
{
    // Half a pixel in, so that the one-pixel outline lands on whole pixels at ratio 1.
    return QRectF(0.5, 0.5, Width - 1.0, Height - 1.0);
}

void paintBlankCard(QPainter &painter)
{
    painter.setPen(QPen(Outline, 1.0));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(cardRect(), CornerRadius, CornerRadius);
}

// The suit shapes are drawn once in a 100 x 100 box and scaled to wherever they go.
QPainterPath heartPath()
{
    QPainterPath path;
    path.moveTo(50, 100);
    path.cubicTo(36, 82, 0, 62, 0, 30);
    path.cubicTo(0, 10, 14, 0, 27, 0);
    path.cubicTo(40, 0, 48, 9, 50, 20);
    path.cubicTo(52, 9, 60, 0, 73, 0);
    path.cubicTo(86, 0, 100, 10, 100, 30);
    path.cubicTo(100, 62, 64, 82, 50, 100);
    path.closeSubpath();
    return path;
}

QPainterPath diamondPath()
{
    QPainterPath path;
    path.moveTo(50, 0);
    path.quadTo(66, 28, 92, 50);
    path.quadTo(66, 72, 50, 100);
    path.quadTo(34, 72, 8, 50);
    path.quadTo(34, 28, 50, 0);
    path.closeSubpath();
    return path;
}

QPainterPath stemPath()
{
    QPainterPath path;
    path.moveTo(47.5, 62);
    path.cubicTo(47, 84, 40, 94, 28, 100);
    path.lineTo(72, 100);
    path.cubicTo(60, 94, 53, 84, 52.5, 62);
    path.closeSubpath();
    return path;
}

QPainterPath spadePath()
{
    QPainterPath path;
    path.moveTo(50, 0);
    path.cubicTo(36, 20, 0, 38, 0, 62);
    path.cubicTo(0, 76, 11, 84, 24, 84);
    path.cubicTo(35, 84, 44, 78, 48, 70);
    path.lineTo(52, 70);
    path.cubicTo(56, 78, 65, 84, 76, 84);
    path.cubicTo(89, 84, 100, 76, 100, 62);
    path.cubicTo(100, 38, 64, 20, 50, 0);
    path.closeSubpath();
    return path.united(stemPath());
}

QPainterPath clubPath()
{
    constexpr qreal leaf = 22.5;
    QPainterPath path;
    path.addEllipse(QPointF(50, 23.5), leaf, leaf);
    path.addEllipse(QPointF(23.5, 60), leaf, leaf);
    path.addEllipse(QPointF(76.5, 60), leaf, leaf);
    path.addEllipse(QPointF(50, 50), 12, 12);
    path.setFillRule(Qt::WindingFill);
    return path.simplified().united(stemPath());
}

QPainterPath suitPath(Card::Suit suit)
{
    switch (suit) {
    case Card::Suit::Spades:
        return spadePath();
    case Card::Suit::Hearts:
        return heartPath();
    case Card::Suit::Clubs:
        return clubPath();
    case Card::Suit::Diamonds:
        return diamondPath();
    }
    return {};
}

QFont rankFont()
{
    // One size for every rank, the largest at which the widest word still sits clear
    // of both edges, so that a queen's word is not smaller than a king's.
    QFont font = DesignFonts::timesNewRoman(12, true);
    int pixelSize = 23;
    for (; pixelSize > 8; --pixelSize) {
        font.setPixelSize(pixelSize);
        const QFontMetricsF metrics(font);
        qreal widest = 0;
        for (int rank = 1; rank <= Card::RanksPerSuit; ++rank)
            widest = std::max(widest, metrics.horizontalAdvance(Card::rankLabel(rank)));
        if (widest <= RankArea.width())
            break;
    }
    font.setPixelSize(pixelSize);
    return font;
}

void paintRank(QPainter &painter, const QString &label, const QColor &colour)
{
    painter.setFont(rankFont());
    painter.setPen(colour);
    painter.drawText(RankArea, Qt::AlignCenter, label);
}

// Fills the card's white border and returns the inside, clipped, for the pattern.
QPainterPath beginBack(QPainter &painter)
{
    paintBlankCard(painter);
    const QRectF inner = cardRect().adjusted(BackBorder - 0.5, BackBorder - 0.5,
                                             0.5 - BackBorder, 0.5 - BackBorder);
    QPainterPath clip;
    clip.addRoundedRect(inner, 2.5, 2.5);
    painter.setClipPath(clip);
    return clip;
}

void endBack(QPainter &painter, const QPainterPath &inside)
{
    painter.setClipping(false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0, 70), 0.6));
    painter.drawPath(inside);
}

QPainterPath starPath(QPointF centre, qreal outer, qreal inner)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal r = (i % 2 == 0) ? outer : inner;
        const qreal angle = -M_PI / 2 + i * M_PI / 5;
        const QPointF point = centre + QPointF(std::cos(angle), std::sin(angle)) * r;
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

void paintMarigoldBack(QPainter &painter, const QRectF &area)
{
    QRadialGradient sky(area.center(), 60);
    sky.setColorAt(0.0, QColor(0x24, 0x4c, 0xa8));
    sky.setColorAt(1.0, QColor(0x0b, 0x1a, 0x52));
    painter.fillRect(area, sky);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x4a, 0x74, 0xd0, 110));
    for (int row = 0; row < 17; ++row) {
        for (int column = 0; column < 13; ++column) {
            const QPointF dot(area.left() + 3 + column * 6 + (row % 2) * 3, area.top() + 3 + row * 6);
            painter.drawEllipse(dot, 0.8, 0.8);
        }
    }

    const QRectF frame = area.adjusted(3.5, 3.5, -3.5, -3.5);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0xf2, 0xb1, 0x3a), 0.8));
    painter.drawRoundedRect(frame, 3, 3);
    painter.setPen(QPen(QColor(0xf2, 0xb1, 0x3a, 140), 0.5));
    painter.drawRoundedRect(frame.adjusted(2, 2, -2, -2), 2, 2);

    MarigoldFlower::paint(painter, area.center(), 22);
    const qreal inset = 9;
    for (const QPointF corner : {frame.topLeft() + QPointF(inset, inset),
                                 frame.topRight() + QPointF(-inset, inset),
                                 frame.bottomLeft() + QPointF(inset, -inset),
                                 frame.bottomRight() + QPointF(-inset, -inset)}) {
        MarigoldFlower::paint(painter, corner, 5.5);
    }
}

void paintLatticeBack(QPainter &painter, const QRectF &area)
{
    painter.fillRect(area, QColor(0xc4, 0x16, 0x1c));
    constexpr qreal halfWidth = 7.5;
    constexpr qreal halfHeight = 10.0;
    const QPointF origin = area.center();
    painter.setPen(QPen(QColor(0xff, 0xd6, 0xd0), 0.9));
    for (int row = -6; row <= 6; ++row) {
        for (int column = -6; column <= 6; ++column) {
            const bool shifted = (row % 2) != 0;
            const QPointF centre = origin + QPointF(column * 2 * halfWidth + (shifted ? halfWidth : 0),
                                                    row * halfHeight);
            QPolygonF diamond;
            diamond << centre + QPointF(0, -halfHeight) << centre + QPointF(halfWidth, 0)
                    << centre + QPointF(0, halfHeight) << centre + QPointF(-halfWidth, 0);
            painter.setBrush(shifted ? QColor(0x8c, 0x0c, 0x12) : QColor(0xc4, 0x16, 0x1c));
            painter.drawPolygon(diamond);
        }
    }
    // Small studs where the laths cross.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xff, 0xe8, 0xa0));
    for (int row = -6; row <= 6; ++row) {
        for (int column = -6; column <= 6; ++column) {
            const QPointF centre = origin + QPointF(column * 2 * halfWidth + ((row % 2) ? halfWidth : 0),
                                                    row * halfHeight);
            painter.drawEllipse(centre + QPointF(halfWidth, 0), 1.3, 1.3);
        }
    }
}

void paintTartanBack(QPainter &painter, const QRectF &area)
{
    painter.fillRect(area, QColor(0x3c, 0x96, 0x50));
    struct Stripe
    {
        qreal offset;
        qreal width;
        QColor colour;
    };
    // One repeat of the sett, laid both across and down; the translucent colours
    // blend where they cross, as woven threads do.
    const Stripe sett[] = {
        {0, 8, QColor(0x0c, 0x3a, 0x1c, 140)},
        {10, 4, QColor(0x1a, 0x2a, 0x6a, 130)},
        {16, 1.4, QColor(0xf6, 0xd8, 0x40, 230)},
        {19, 1.4, QColor(0xd8, 0x24, 0x24, 220)},
    };
    constexpr qreal period = 22;
    painter.setPen(Qt::NoPen);
    for (qreal start = area.left() - 4; start < area.right(); start += period) {
        for (const Stripe &stripe : sett)
            painter.fillRect(QRectF(start + stripe.offset, area.top(), stripe.width, area.height()), stripe.colour);
    }
    for (qreal start = area.top() - 6; start < area.bottom(); start += period) {
        for (const Stripe &stripe : sett)
            painter.fillRect(QRectF(area.left(), start + stripe.offset, area.width(), stripe.width), stripe.colour);
    }
    // A fine twill so the cloth does not look printed.
    painter.setPen(QPen(QColor(255, 255, 255, 22), 0.5));
    for (qreal x = area.left() - area.height(); x < area.right(); x += 2.0)
        painter.drawLine(QPointF(x, area.bottom()), QPointF(x + area.height(), area.top()));
}

void paintFramesBack(QPainter &painter, const QRectF &area)
{
    const QColor shades[] = {QColor(0x4a, 0x1d, 0x72), QColor(0x7a, 0x3f, 0xab)};
    painter.setPen(QPen(QColor(0xe0, 0xc8, 0xf4), 0.6));
    QRectF frame = area.adjusted(-1, -1, 1, 1);
    for (int ring = 0; frame.width() > 8; ++ring) {
        painter.setBrush(shades[ring % 2]);
        const qreal radius = std::min(6.0, frame.width() / 4);
        painter.drawRoundedRect(frame, radius, radius);
        frame.adjust(4.5, 4.5, -4.5, -4.5);
    }
    const QPointF c = area.center();
    painter.setBrush(QColor(0xf0, 0xdd, 0xff));
    painter.drawPolygon(QPolygonF{c + QPointF(0, -9), c + QPointF(5, 0), c + QPointF(0, 9), c + QPointF(-5, 0)});
}

void paintSunburstBack(QPainter &painter, const QRectF &area)
{
    const QPointF c = area.center();
    painter.fillRect(area, QColor(0xf4, 0x8c, 0x1e));
    constexpr int rays = 28;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xd8, 0x5c, 0x0c));
    for (int i = 0; i < rays; i += 2) {
        const qreal a0 = 2 * M_PI * i / rays;
        const qreal a1 = 2 * M_PI * (i + 1) / rays;
        painter.drawPolygon(QPolygonF{c, c + QPointF(std::cos(a0), std::sin(a0)) * 80,
                                      c + QPointF(std::cos(a1), std::sin(a1)) * 80});
    }
    QRadialGradient glow(c, 55);
    glow.setColorAt(0.0, QColor(0xff, 0xe0, 0x70, 170));
    glow.setColorAt(0.5, QColor(0xff, 0xc0, 0x40, 40));
    glow.setColorAt(1.0, QColor(0x90, 0x30, 0x00, 90));
    painter.fillRect(area, glow);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0xff, 0xf2, 0xc0), 1.0));
    painter.drawEllipse(c, 15, 15);
    painter.setPen(QPen(QColor(0xa8, 0x40, 0x05), 1.2));
    painter.setBrush(QColor(0xff, 0xd2, 0x40));
    painter.drawEllipse(c, 10, 10);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xff, 0xf4, 0xc8));
    painter.drawEllipse(c + QPointF(-2.5, -2.5), 3.5, 3.5);
}

void paintWavesBack(QPainter &painter, const QRectF &area)
{
    painter.fillRect(area, QColor(0x0d, 0x6e, 0x70));
    constexpr qreal spacing = 7;
    constexpr qreal wavelength = 16;
    constexpr qreal amplitude = 2.4;
    const auto wave = [&](qreal baseline) {
        QPainterPath path;
        path.moveTo(area.left() - wavelength, baseline);
        int half = 0;
        for (qreal x = area.left() - wavelength; x < area.right() + wavelength; x += wavelength / 2, ++half) {
            const qreal crest = (half % 2) ? amplitude : -amplitude;
            path.quadTo(x + wavelength / 4, baseline + crest * 2, x + wavelength / 2, baseline);
        }
        return path;
    };
    int band = 0;
    for (qreal y = area.top() - spacing; y < area.bottom() + spacing; y += spacing, ++band) {
        QPainterPath body = wave(y);
        body.lineTo(area.right() + wavelength, area.bottom() + 10);
        body.lineTo(area.left() - wavelength, area.bottom() + 10);
        body.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush((band % 2) ? QColor(0x12, 0x92, 0x92) : QColor(0x0a, 0x5c, 0x60));
        painter.drawPath(body);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0xd8, 0xf6, 0xf2, 200), 0.8));
        painter.drawPath(wave(y));
    }
}

void paintDecoBack(QPainter &painter, const QRectF &area)
{
    const QColor gold(0xd8, 0xb2, 0x4a);
    const QColor paleGold(0xf2, 0xdc, 0x96);
    const QColor deepGold(0x4a, 0x3a, 0x10);
    painter.fillRect(area, QColor(0x12, 0x12, 0x14));

    // Two fans open towards each other from the short edges.
    const auto fan = [&](QPointF pivot, qreal radius, qreal startDegrees) {
        constexpr int blades = 9;
        const qreal step = 180.0 / blades;
        const QRectF box(pivot.x() - radius, pivot.y() - radius, 2 * radius, 2 * radius);
        for (int i = 0; i < blades; ++i) {
            QPainterPath blade;
            blade.moveTo(pivot);
            blade.arcTo(box, startDegrees + i * step, step);
            blade.closeSubpath();
            painter.setPen(QPen(gold, 0.7));
            painter.setBrush(i % 2 ? deepGold : QColor(0x12, 0x12, 0x14));
            painter.drawPath(blade);
        }
        painter.setBrush(Qt::NoBrush);
        for (const qreal r : {radius * 0.45, radius * 0.72}) {
            painter.setPen(QPen(r < radius * 0.5 ? paleGold : gold, 0.7));
            painter.drawArc(QRectF(pivot.x() - r, pivot.y() - r, 2 * r, 2 * r),
                            int(startDegrees * 16), 180 * 16);
        }
        painter.setPen(QPen(paleGold, 0.8));
        painter.setBrush(gold);
        const qreal hub = radius * 0.16;
        painter.drawPie(QRectF(pivot.x() - hub, pivot.y() - hub, 2 * hub, 2 * hub), int(startDegrees * 16), 180 * 16);
    };
    fan(QPointF(area.center().x(), area.bottom() - 3), 40, 0);
    fan(QPointF(area.center().x(), area.top() + 3), 40, 180);

    const QPointF c = area.center();
    painter.setPen(QPen(paleGold, 0.7));
    painter.drawLine(QPointF(area.left(), c.y()), QPointF(area.right(), c.y()));
    painter.setBrush(QColor(0x12, 0x12, 0x14));
    painter.drawPolygon(QPolygonF{c + QPointF(0, -6), c + QPointF(8, 0), c + QPointF(0, 6), c + QPointF(-8, 0)});
    painter.setBrush(gold);
    painter.drawPolygon(QPolygonF{c + QPointF(0, -3), c + QPointF(4, 0), c + QPointF(0, 3), c + QPointF(-4, 0)});

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(gold, 0.8));
    painter.drawRect(area.adjusted(2, 2, -2, -2));
    painter.setPen(QPen(gold, 0.5));
    painter.drawRect(area.adjusted(3.6, 3.6, -3.6, -3.6));
}

void paintStarsBack(QPainter &painter, const QRectF &area)
{
    QLinearGradient night(area.topLeft(), area.bottomRight());
    night.setColorAt(0.0, QColor(0x1a, 0x2c, 0x66));
    night.setColorAt(1.0, QColor(0x0a, 0x12, 0x38));
    painter.fillRect(area, night);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xf6, 0xe8, 0xb0));
    const QPointF c = area.center();
    // Rows of six and five alternate, so the field is symmetric about the middle.
    for (int row = -4; row <= 4; ++row) {
        const int columns = (row % 2) ? 5 : 6;
        for (int column = 0; column < columns; ++column) {
            const QPointF centre = c + QPointF((column - (columns - 1) / 2.0) * 12, row * 10.5);
            if (QLineF(centre, c).length() > 19)
                painter.drawPath(starPath(centre, 2.6, 1.05));
        }
    }
    painter.setBrush(QColor(0x0e, 0x18, 0x44));
    painter.drawEllipse(c, 17, 17);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0xe8, 0xc8, 0x5a), 0.9));
    painter.drawEllipse(c, 15.5, 15.5);
    painter.setPen(QPen(QColor(0xff, 0xf4, 0xd0), 0.7));
    painter.setBrush(QColor(0xf0, 0xc0, 0x3a));
    painter.drawPath(starPath(c, 12.5, 5.0));
}

void paintCheckerBack(QPainter &painter, const QRectF &area)
{
    painter.fillRect(area, QColor(0x4e, 0x0a, 0x18));
    constexpr qreal square = 6.7;
    const int columns = int(std::ceil(area.width() / square)) + 1;
    const int rows = int(std::ceil(area.height() / square)) + 1;
    // Centred, so the board ends the same on both sides.
    const QPointF origin = area.center() - QPointF(columns * square, rows * square) / 2;
    painter.setPen(Qt::NoPen);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            if ((row + column) % 2)
                continue;
            const QRectF cell(origin + QPointF(column * square, row * square), QSizeF(square, square));
            painter.fillRect(cell, QColor(0xa2, 0x24, 0x3e));
            painter.fillRect(QRectF(cell.topLeft(), QSizeF(square, 0.7)), QColor(0xcc, 0x4a, 0x62));
        }
    }
    painter.setBrush(QColor(0xe6, 0xc0, 0x6a));
    for (int row = 1; row < rows; ++row) {
        for (int column = 1; column < columns; ++column) {
            if ((row + column) % 4 == 0)
                painter.drawEllipse(origin + QPointF(column * square, row * square), 0.9, 0.9);
        }
    }
    const QRectF plaque(area.center() - QPointF(12, 12), QSizeF(24, 24));
    painter.setPen(QPen(QColor(0xe6, 0xc0, 0x6a), 1.0));
    painter.setBrush(QColor(0x4e, 0x0a, 0x18));
    painter.drawEllipse(plaque);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xe6, 0xc0, 0x6a));
    painter.drawPath(starPath(area.center(), 8, 3.2));
}

QPainterPath leafPath(QPointF base, qreal length, qreal angleDegrees)
{
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.cubicTo(length * 0.3, -length * 0.35, length * 0.75, -length * 0.3, length, 0);
    leaf.cubicTo(length * 0.75, length * 0.3, length * 0.3, length * 0.35, 0, 0);
    QTransform turn;
    turn.translate(base.x(), base.y());
    turn.rotate(angleDegrees);
    return turn.map(leaf);
}

void paintScrollBack(QPainter &painter, const QRectF &area)
{
    QLinearGradient forest(area.topLeft(), area.bottomLeft());
    forest.setColorAt(0.0, QColor(0x16, 0x42, 0x22));
    forest.setColorAt(1.0, QColor(0x0c, 0x2c, 0x16));
    painter.fillRect(area, forest);

    const QColor vine(0xb4, 0xd6, 0x8a);
    const QColor leafFill(0x5e, 0xa4, 0x4c);
    const QColor leafVein(0x1c, 0x4e, 0x26);
    constexpr qreal bend = 16;
    for (int column = 0; column < 3; ++column) {
        const qreal x = area.left() + 11 + column * 22.5;
        const bool mirrored = column % 2;
        QPainterPath stem;
        const qreal top = area.top() - 8;
        stem.moveTo(x, top);
        int segment = 0;
        for (qreal y = top; y < area.bottom() + bend; y += bend, ++segment) {
            const qreal swing = ((segment % 2) != mirrored) ? 5 : -5;
            stem.cubicTo(x + swing, y + bend * 0.3, x + swing, y + bend * 0.7, x, y + bend);

            // A leaf and a curl at each bend, on opposite sides.
            const qreal side = swing > 0 ? 1 : -1;
            const QPointF bendPoint(x + swing * 0.75, y + bend * 0.5);
            const QPainterPath leaf = leafPath(bendPoint, 7.5, side > 0 ? -35 : 215);
            painter.setPen(QPen(leafVein, 0.5));
            painter.setBrush(leafFill);
            painter.drawPath(leaf);
            painter.drawLine(bendPoint, bendPoint + QPointF(side * 5.5, -3.8));

            QPainterPath curl;
            const QPointF start(x - swing * 0.4, y + bend * 0.85);
            curl.moveTo(start);
            curl.cubicTo(start + QPointF(-side * 5, 0), start + QPointF(-side * 6, 5), start + QPointF(-side * 3.2, 5));
            curl.cubicTo(start + QPointF(-side * 1.2, 5), start + QPointF(-side * 1.4, 2.6), start + QPointF(-side * 2.8, 2.8));
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(vine, 0.7, Qt::SolidLine, Qt::RoundCap));
            painter.drawPath(curl);
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(vine, 1.1, Qt::SolidLine, Qt::RoundCap));
        painter.drawPath(stem);
    }
}

} // namespace

void paintFace(QPainter &painter, int cardNumber)
{
    painter.save();
    paintBlankCard(painter);

    const QColor ink = Card::isRed(cardNumber) ? FaceRed : FaceBlack;
    paintRank(painter, Card::rankLabel(Card::rank(cardNumber)), ink);

    // The symbol fills a box under the word, centred across the card.
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawPath(suitShape(Card::suit(cardNumber), QRectF(Width / 2.0 - 25, 36, 50, 54)));
    painter.restore();
}

QPainterPath suitShape(Card::Suit suit, const QRectF &box)
{
    QTransform toBox;
    toBox.translate(box.left(), box.top());
    toBox.scale(box.width() / 100.0, box.height() / 100.0);
    return toBox.map(suitPath(suit));
}

QString backDescription(int backNumber)
{
    static const char *const descriptions[BackCount] = {
        "a marigold on a deep blue field, in a gold frame with a small marigold in each corner",
        "a red lattice of diamonds with gold studs",
        "a green tartan crossed with blue, yellow and red threads",
        "purple frames one inside another around a pale diamond",
        "an orange sunburst around a golden sun",
        "teal waves with pale crests",
        "black and gold fans in the Art Deco style",
        "gold stars on a night blue sky around one large star",
        "a wine red chequerboard with a gold star in the middle",
        "green vines with leaves and curls",
    };
    return QLatin1String(descriptions[std::clamp(backNumber, 0, BackCount - 1)]);
}

void paintBack(QPainter &painter, int backNumber)
{
    using BackPainter = void (*)(QPainter &, const QRectF &);
    static constexpr BackPainter backs[BackCount] = {
        paintMarigoldBack, paintLatticeBack, paintTartanBack, paintFramesBack, paintSunburstBack,
        paintWavesBack,    paintDecoBack,    paintStarsBack,   paintCheckerBack, paintScrollBack,
    };

    painter.save();
    const QPainterPath inside = beginBack(painter);
    backs[std::clamp(backNumber, 0, BackCount - 1)](painter, inside.boundingRect());
    endBack(painter, inside);
    painter.restore();
}

} // namespace CardPainter
