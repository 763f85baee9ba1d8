// SPDX-License-Identifier: GPL-3.0-or-later
#include "artwork.h"

#include "marigoldflower.h"
#include "cardpainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>
#include <cmath>
#include <functional>

namespace Artwork {

namespace {

using Drawing = std::function<void(QPainter &)>;

// Paints a square drawing made in a design box of designSize units at pixelSize pixels.
QImage squareImage(int pixelSize, qreal designSize, const Drawing &draw)
{
    QImage image(pixelSize, pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(pixelSize / designSize, pixelSize / designSize);
        draw(painter);
    }
    return image;
}

QPixmap logicalPixmap(QSize logicalSize, qreal devicePixelRatio, const Drawing &draw)
{
    QPixmap pixmap(logicalSize * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        draw(painter);
    }
    return pixmap;
}

QPainterPath leafShape(QPointF base, qreal length, qreal width, qreal angleDegrees)
{
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.cubicTo(length * 0.25, -width, length * 0.7, -width, length, 0);
    leaf.cubicTo(length * 0.7, width, length * 0.25, width, 0, 0);
    QTransform place;
    place.translate(base.x(), base.y());
    place.rotate(angleDegrees);
    return place.map(leaf);
}

// A suit symbol of the cards, `size` across, centred on `centre`.
QPainterPath iconSuit(Card::Suit suit, QPointF centre, qreal size)
{
    return CardPainter::suitShape(suit, QRectF(centre.x() - size / 2, centre.y() - size / 2, size, size));
}

void drawWindowIcon(QPainter &painter)
{
    // Design box 32 x 32.
    painter.setPen(QPen(QColor(0x1e, 0x5a, 0x1e), 0.6));
    painter.setBrush(QColor(0x4c, 0x9a, 0x3a));
    painter.drawPath(leafShape(QPointF(16, 20), 15.5, 4.4, 155));
    painter.drawPath(leafShape(QPointF(16, 20), 15.5, 4.4, 25));
    MarigoldFlower::paint(painter, QPointF(16, 14.5), 13.2);
}

void drawMenuIcon(QPainter &painter)
{
    // Design box 32 x 32: three cards fanned from a point below the middle.
    const QRectF card(-7, -20, 14, 19);
    const QPointF pivot(16, 29);
    struct Fanned
    {
        qreal angle;
        QColor back;
    };
    const std::array<Fanned, 2> behind{{{-28, QColor(0x1d, 0x3f, 0x96)}, {0, QColor(0xc4, 0x16, 0x1c)}}};
    for (const Fanned &f : behind) {
        painter.save();
        painter.translate(pivot);
        painter.rotate(f.angle);
        painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 0.7));
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(card, 1.8, 1.8);
        painter.setPen(Qt::NoPen);
        painter.setBrush(f.back);
        painter.drawRoundedRect(card.adjusted(1.6, 1.6, -1.6, -1.6), 0.8, 0.8);
        painter.restore();
    }
    painter.save();
    painter.translate(pivot);
    painter.rotate(28);
    painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 0.7));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(card, 1.8, 1.8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xd4, 0x06, 0x06));
    painter.drawPath(iconSuit(Card::Suit::Hearts, card.center() + QPointF(0, 0.8), 9.5));
    painter.restore();
}

void drawSmallIcon(QPainter &painter)
{
    // Design box 16 x 16: an upright card with a flower on it.
    painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 0.8));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(2.4, 0.6, 11.2, 14.8), 1.6, 1.6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1d, 0x3f, 0x96));
    painter.drawRoundedRect(QRectF(3.8, 2.0, 8.4, 12.0), 0.8, 0.8);
    MarigoldFlower::paint(painter, QPointF(8, 8), 4.6);
}

QIcon iconFromSizes(std::initializer_list<int> sizes, qreal designSize, const Drawing &draw)
{
    QIcon icon;
    for (const int size : sizes)
        icon.addPixmap(QPixmap::fromImage(squareImage(size, designSize, draw)));
    return icon;
}

struct Person
{
    qreal x;
    qreal height; // 1 is the tallest
    QColor skin;
    QColor hair;
    int hairStyle;
    QColor top;
    QColor legs;
    bool holdsCards;
    bool glasses;
};

enum HairStyle { ShortHair, LongHair, Bun, Curls, Beard };

void drawHair(QPainter &painter, const Person &person, QPointF head, qreal r, bool behind)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(person.hair);
    if (behind) {
        if (person.hairStyle == LongHair) {
            QPainterPath hair;
            hair.moveTo(head + QPointF(-r * 1.1, 0));
            hair.cubicTo(head + QPointF(-r * 1.25, r * 1.6), head + QPointF(-r * 0.6, r * 2.0),
                         head + QPointF(0, r * 1.9));
            hair.cubicTo(head + QPointF(r * 0.6, r * 2.0), head + QPointF(r * 1.25, r * 1.6),
                         head + QPointF(r * 1.1, 0));
            hair.arcTo(QRectF(head.x() - r * 1.1, head.y() - r * 1.15, r * 2.2, r * 2.3), 0, 180);
            painter.drawPath(hair);
        } else if (person.hairStyle == Bun) {
            painter.drawEllipse(head + QPointF(0, -r * 1.05), r * 0.5, r * 0.45);
        } else if (person.hairStyle == Curls) {
            for (int i = 0; i < 9; ++i) {
                const qreal angle = M_PI + i * M_PI / 8;
                painter.drawEllipse(head + QPointF(std::cos(angle), std::sin(angle) * 1.02) * r * 0.95,
                                    r * 0.42, r * 0.42);
            }
        }
        return;
    }

    QPainterPath cap;
    switch (person.hairStyle) {
    case ShortHair:
    case Beard:
        cap.moveTo(head + QPointF(-r * 1.02, r * 0.05));
        cap.cubicTo(head + QPointF(-r * 1.1, -r * 1.25), head + QPointF(r * 1.1, -r * 1.3),
                    head + QPointF(r * 1.02, r * 0.05));
        cap.cubicTo(head + QPointF(r * 0.8, -r * 0.45), head + QPointF(-r * 0.1, -r * 0.7),
                    head + QPointF(-r * 1.02, r * 0.05));
        break;
    case LongHair:
    case Bun:
        cap.moveTo(head + QPointF(-r * 1.05, r * 0.3));
        cap.cubicTo(head + QPointF(-r * 1.15, -r * 1.3), head + QPointF(r * 1.15, -r * 1.3),
                    head + QPointF(r * 1.05, r * 0.3));
        cap.cubicTo(head + QPointF(r * 0.7, -r * 0.5), head + QPointF(-r * 0.2, -r * 0.35),
                    head + QPointF(-r * 0.1, -r * 0.75));
        cap.cubicTo(head + QPointF(-r * 0.5, -r * 0.35), head + QPointF(-r * 0.8, -r * 0.2),
                    head + QPointF(-r * 1.05, r * 0.3));
        break;
    case Curls:
        for (int i = 0; i < 5; ++i) {
            const qreal angle = M_PI * 1.15 + i * M_PI * 0.7 / 4;
            cap.addEllipse(head + QPointF(std::cos(angle), std::sin(angle)) * r * 0.85, r * 0.36, r * 0.36);
        }
        break;
    }
    painter.drawPath(cap);

    if (person.hairStyle == Beard) {
        // Jaw and chin, leaving the cheeks and the smile clear, and a moustache.
        QPainterPath beard;
        beard.moveTo(head + QPointF(-r * 0.98, r * 0.05));
        beard.cubicTo(head + QPointF(-r * 0.9, r * 1.3), head + QPointF(r * 0.9, r * 1.3),
                      head + QPointF(r * 0.98, r * 0.05));
        beard.cubicTo(head + QPointF(r * 0.7, r * 0.95), head + QPointF(-r * 0.7, r * 0.95),
                      head + QPointF(-r * 0.98, r * 0.05));
        beard.moveTo(head + QPointF(-r * 0.45, r * 0.25));
        beard.cubicTo(head + QPointF(-r * 0.2, r * 0.05), head + QPointF(r * 0.2, r * 0.05),
                      head + QPointF(r * 0.45, r * 0.25));
        beard.cubicTo(head + QPointF(r * 0.2, r * 0.22), head + QPointF(-r * 0.2, r * 0.22),
                      head + QPointF(-r * 0.45, r * 0.25));
        painter.drawPath(beard);
    }
}

void drawPerson(QPainter &painter, const Person &person, qreal ground)
{
    const qreal s = person.height;
    const qreal x = person.x;
    const qreal headRadius = 14.5;
    const QPointF head(x, ground - 150 * s + headRadius);
    const qreal shoulders = ground - 150 * s + 2 * headRadius + 6;
    const qreal waist = ground - 62 * s;
    const QColor outline(0, 0, 0, 60);

    // Shadow on the grass.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 40, 0, 50));
    painter.drawEllipse(QPointF(x, ground + 1), 24, 4);

    drawHair(painter, person, head, headRadius, true);

    // Legs and shoes.
    painter.setPen(QPen(outline, 0.6));
    painter.setBrush(person.legs);
    painter.drawRoundedRect(QRectF(x - 14, waist - 4, 12.5, ground - waist), 3, 3);
    painter.drawRoundedRect(QRectF(x + 1.5, waist - 4, 12.5, ground - waist), 3, 3);
    painter.setBrush(QColor(0x3a, 0x2a, 0x22));
    painter.drawRoundedRect(QRectF(x - 16, ground - 5, 15, 6), 3, 3);
    painter.drawRoundedRect(QRectF(x + 1, ground - 5, 15, 6), 3, 3);

    // Neck and body.
    painter.setBrush(person.skin.darker(108));
    painter.drawRect(QRectF(x - 5, head.y() + headRadius - 3, 10, 8));
    QPainterPath body;
    body.moveTo(x - 19, waist + 4);
    body.lineTo(x - 22, shoulders + 10);
    body.quadTo(x - 22, shoulders, x - 11, shoulders);
    body.lineTo(x + 11, shoulders);
    body.quadTo(x + 22, shoulders, x + 22, shoulders + 10);
    body.lineTo(x + 19, waist + 4);
    body.closeSubpath();
    painter.setBrush(person.top);
    painter.drawPath(body);
    // Collar.
    painter.setBrush(person.skin.darker(108));
    QPainterPath collar;
    collar.moveTo(x - 6, shoulders);
    collar.lineTo(x, shoulders + 7);
    collar.lineTo(x + 6, shoulders);
    collar.closeSubpath();
    painter.drawPath(collar);

    // Arms: sleeves down the sides, hands either at the hips or holding cards.
    painter.setPen(QPen(person.top.darker(118), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath arms;
    const QPointF leftShoulder(x - 18, shoulders + 7);
    const QPointF rightShoulder(x + 18, shoulders + 7);
    QPointF leftHand;
    QPointF rightHand;
    if (person.holdsCards) {
        leftHand = QPointF(x - 7, waist - 16);
        rightHand = QPointF(x + 7, waist - 16);
        arms.moveTo(leftShoulder);
        arms.quadTo(x - 24, waist - 10, leftHand.x(), leftHand.y());
        arms.moveTo(rightShoulder);
        arms.quadTo(x + 24, waist - 10, rightHand.x(), rightHand.y());
    } else {
        leftHand = QPointF(x - 24, waist + 2);
        rightHand = QPointF(x + 24, waist + 2);
        arms.moveTo(leftShoulder);
        arms.quadTo(x - 25, shoulders + 24, leftHand.x(), leftHand.y());
        arms.moveTo(rightShoulder);
        arms.quadTo(x + 25, shoulders + 24, rightHand.x(), rightHand.y());
    }
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(arms);

    if (person.holdsCards) {
        const QPointF pivot(x, waist - 15);
        for (int i = 0; i < 3; ++i) {
            painter.save();
            painter.translate(pivot);
            painter.rotate(-20 + i * 20);
            const QRectF card(-6, -19, 12, 16);
            painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 0.6));
            painter.setBrush(Qt::white);
            painter.drawRoundedRect(card, 1.5, 1.5);
            painter.setPen(Qt::NoPen);
            painter.setBrush(i == 1 ? QColor(0x14, 0x14, 0x14) : QColor(0xd4, 0x06, 0x06));
            painter.drawPath(iconSuit(i == 1 ? Card::Suit::Spades : Card::Suit::Hearts, card.center(), 7));
            painter.restore();
        }
    }
    painter.setPen(QPen(outline, 0.5));
    painter.setBrush(person.skin);
    painter.drawEllipse(leftHand, 4.2, 4.2);
    painter.drawEllipse(rightHand, 4.2, 4.2);

    // Head and face.
    painter.setPen(QPen(outline, 0.6));
    painter.setBrush(person.skin);
    painter.drawEllipse(head, headRadius, headRadius * 1.05);
    painter.drawEllipse(head + QPointF(-headRadius, 1), 2.6, 3.4);
    painter.drawEllipse(head + QPointF(headRadius, 1), 2.6, 3.4);
    drawHair(painter, person, head, headRadius, false);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2a, 0x1c, 0x16));
    painter.drawEllipse(head + QPointF(-5, -1), 1.6, 1.9);
    painter.drawEllipse(head + QPointF(5, -1), 1.6, 1.9);
    painter.setBrush(QColor(0xf0, 0x70, 0x70, 70));
    painter.drawEllipse(head + QPointF(-8, 4), 3, 2);
    painter.drawEllipse(head + QPointF(8, 4), 3, 2);
    if (person.glasses) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0x30, 0x24, 0x20), 1.0));
        painter.drawEllipse(head + QPointF(-5, -1), 4, 3.6);
        painter.drawEllipse(head + QPointF(5, -1), 4, 3.6);
        painter.drawLine(head + QPointF(-1, -1.5), head + QPointF(1, -1.5));
    }
    painter.setPen(QPen(QColor(0x8a, 0x2a, 0x2a), 1.3, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(head.x() - 5, head.y() + 1, 10, 7), 200 * 16, 140 * 16);
}

void drawTeam(QPainter &painter)
{
    constexpr qreal width = 300;
    constexpr qreal height = 208;
    constexpr qreal ground = 196;

    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0.0, QColor(0x8c, 0xc8, 0xf0));
    sky.setColorAt(0.6, QColor(0xd8, 0xee, 0xfa));
    painter.fillRect(QRectF(0, 0, width, height), sky);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 200));
    for (const QPointF cloud : {QPointF(46, 34), QPointF(236, 24)}) {
        painter.drawEllipse(cloud, 20, 8);
        painter.drawEllipse(cloud + QPointF(-10, -4), 10, 8);
        painter.drawEllipse(cloud + QPointF(8, -6), 12, 10);
    }
    QRadialGradient sun(QPointF(270, 50), 22);
    sun.setColorAt(0.0, QColor(0xff, 0xf0, 0xa0));
    sun.setColorAt(0.6, QColor(0xff, 0xd8, 0x50));
    sun.setColorAt(1.0, QColor(0xff, 0xd8, 0x50, 0));
    painter.setBrush(sun);
    painter.drawEllipse(QPointF(270, 50), 22, 22);

    // Distant hills, then the lawn the group stands on.
    QPainterPath hills;
    hills.moveTo(0, 150);
    hills.cubicTo(60, 110, 120, 140, 170, 128);
    hills.cubicTo(220, 116, 260, 124, 300, 138);
    hills.lineTo(300, height);
    hills.lineTo(0, height);
    hills.closeSubpath();
    painter.setBrush(QColor(0x8e, 0xc0, 0x6c));
    painter.drawPath(hills);
    QPainterPath lawn;
    lawn.moveTo(0, 168);
    lawn.cubicTo(90, 156, 200, 162, 300, 158);
    lawn.lineTo(300, height);
    lawn.lineTo(0, height);
    lawn.closeSubpath();
    QLinearGradient grass(0, 156, 0, height);
    grass.setColorAt(0.0, QColor(0x6a, 0xa8, 0x48));
    grass.setColorAt(1.0, QColor(0x4a, 0x8a, 0x34));
    painter.setBrush(grass);
    painter.drawPath(lawn);

    // A marigold border behind the group.
    for (int i = 0; i < 15; ++i) {
        const QPointF at(10 + i * 20 + (i % 2) * 4, 164 - (i % 3) * 2);
        painter.setPen(QPen(QColor(0x2e, 0x6a, 0x26), 1.2));
        painter.drawLine(at, at + QPointF(0, 8));
        MarigoldFlower::paint(painter, at, 5.2);
    }

    const std::array<Person, 5> team{{
        {52, 0.86, QColor(0xf1, 0xc2, 0x9a), QColor(0x6b, 0x3e, 0x1e), LongHair, QColor(0x2f, 0x7d, 0xc4),
         QColor(0x2c, 0x3e, 0x60), false, false},
        {103, 0.95, QColor(0x8d, 0x5a, 0x3b), QColor(0x1e, 0x14, 0x10), Curls, QColor(0xe8, 0x8a, 0x1a),
         QColor(0x3a, 0x3a, 0x48), true, false},
        {154, 1.0, QColor(0xf5, 0xd0, 0xb0), QColor(0x9a, 0x9a, 0xa0), Beard, QColor(0x9c, 0x2a, 0x3a),
         QColor(0x4a, 0x3a, 0x2c), false, true},
        {204, 0.9, QColor(0xd9, 0xa0, 0x70), QColor(0x24, 0x1a, 0x14), Bun, QColor(0x3a, 0x9a, 0x6a),
         QColor(0x2c, 0x3e, 0x60), true, true},
        {253, 0.93, QColor(0xf3, 0xc9, 0xa4), QColor(0xd0, 0x8a, 0x30), ShortHair, QColor(0x6a, 0x4a, 0xa8),
         QColor(0x34, 0x34, 0x3c), false, false},
    }};
    for (const Person &person : team)
        drawPerson(painter, person, ground);
}

void drawCreditsArt(QPainter &painter)
{
    constexpr qreal width = 75;
    constexpr qreal height = 100;
    const QRectF outer(0, 0, width, height);

    // A carved frame around a small canvas.
    QLinearGradient wood(outer.topLeft(), outer.bottomRight());
    wood.setColorAt(0.0, QColor(0xd8, 0xa8, 0x50));
    wood.setColorAt(0.5, QColor(0x9a, 0x68, 0x24));
    wood.setColorAt(1.0, QColor(0xc8, 0x94, 0x40));
    painter.fillRect(outer, wood);
    painter.setPen(QPen(QColor(0x5a, 0x3a, 0x12), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(outer.adjusted(0.5, 0.5, -0.5, -0.5));
    const QRectF canvas = outer.adjusted(6, 6, -6, -6);
    painter.setPen(QPen(QColor(0xf0, 0xd8, 0x98), 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(outer.adjusted(3, 3, -3, -3));

    QLinearGradient dusk(canvas.topLeft(), canvas.bottomLeft());
    dusk.setColorAt(0.0, QColor(0x24, 0x4a, 0x6e));
    dusk.setColorAt(0.65, QColor(0x4c, 0x86, 0x8a));
    dusk.setColorAt(1.0, QColor(0x6a, 0x8c, 0x4a));
    painter.fillRect(canvas, dusk);

    painter.save();
    painter.setClipRect(canvas);
    const QPointF bloom(canvas.center().x() + 2, canvas.top() + 28);
    // Loose brush strokes, as in a quick oil sketch, and the light the flower gives off.
    for (int i = 0; i < 10; ++i) {
        const qreal y = canvas.top() + 4 + i * 8.5;
        const QColor tint = (i % 2) ? QColor(255, 255, 255, 26) : QColor(255, 214, 120, 30);
        painter.setPen(QPen(tint, 3.5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(canvas.left() + 2 + (i % 3) * 7, y), QPointF(canvas.right() - 2 - (i % 2) * 12, y - 2));
    }
    QRadialGradient glow(bloom, 30);
    glow.setColorAt(0.0, QColor(255, 220, 120, 150));
    glow.setColorAt(1.0, QColor(255, 220, 120, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(bloom, 30, 30);
    QPainterPath stem;
    stem.moveTo(canvas.center().x() - 4, canvas.bottom() + 2);
    stem.cubicTo(canvas.center().x() - 6, canvas.bottom() - 30, bloom.x() + 5, bloom.y() + 30, bloom.x(), bloom.y());
    QPainterPath twig;
    twig.moveTo(canvas.center().x() - 4, canvas.bottom() - 26);
    twig.quadTo(canvas.left() + 10, canvas.bottom() - 34, canvas.left() + 12, canvas.top() + 50);
    painter.setPen(QPen(QColor(0x2e, 0x6a, 0x26), 2.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(stem);
    painter.setPen(QPen(QColor(0x2e, 0x6a, 0x26), 1.3, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(twig);

    painter.setPen(QPen(QColor(0x1e, 0x4e, 0x1a), 0.5));
    painter.setBrush(QColor(0x58, 0xa0, 0x42));
    painter.drawPath(leafShape(QPointF(canvas.center().x() - 3, canvas.bottom() - 16), 16, 4, -25));
    painter.drawPath(leafShape(QPointF(canvas.center().x() - 3.5, canvas.bottom() - 22), 14, 3.6, 205));
    painter.drawPath(leafShape(QPointF(canvas.center().x() - 1, canvas.bottom() - 36), 12, 3.2, -40));

    // A bud on the side twig, then the open flower.
    painter.setPen(QPen(QColor(0x1e, 0x4e, 0x1a), 0.5));
    painter.setBrush(QColor(0x58, 0xa0, 0x42));
    const QPointF bud(canvas.left() + 12, canvas.top() + 48);
    painter.drawEllipse(bud + QPointF(0, 1.5), 3.2, 3.6);
    painter.setBrush(QColor(0xf2, 0x8c, 0x13));
    painter.drawEllipse(bud + QPointF(0, -1.5), 2.6, 2.4);
    MarigoldFlower::paint(painter, bloom, 19);
    painter.restore();

    painter.setPen(QPen(QColor(0x3a, 0x24, 0x08), 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(canvas);
}

} // namespace

QIcon menuIcon()
{
    return iconFromSizes({16, 32}, 32, drawMenuIcon);
}

QIcon smallIcon()
{
    return iconFromSizes({16, 32}, 16, drawSmallIcon);
}

QPixmap teamPicture(qreal devicePixelRatio)
{
    return logicalPixmap(QSize(300, 208), devicePixelRatio, drawTeam);
}

QPixmap creditsArt(qreal devicePixelRatio)
{
    return logicalPixmap(QSize(75, 100), devicePixelRatio, drawCreditsArt);
}

QImage windowIconImage(int pixelSize)
{
    return squareImage(pixelSize, 32, drawWindowIcon);
}

} // namespace Artwork
