// SPDX-License-Identifier: GPL-3.0-or-later
#include "browsericons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace BrowserIcons {

namespace {

constexpr qreal DesignSize = 24;

using Drawing = std::function<void(QPainter &)>;

const QColor Outline(40, 40, 40);

QPainterPath arrow(bool pointsLeft)
{
    QPainterPath path;
    path.moveTo(2, 12);
    path.lineTo(11, 3);
    path.lineTo(11, 8);
    path.lineTo(21, 8);
    path.lineTo(21, 16);
    path.lineTo(11, 16);
    path.lineTo(11, 21);
    path.closeSubpath();
    if (pointsLeft)
        return path;
    return QTransform(-1, 0, 0, 1, DesignSize, 0).map(path);
}

void drawArrow(QPainter &painter, bool pointsLeft)
{
    painter.setPen(QPen(Outline, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(46, 160, 67));
    painter.drawPath(arrow(pointsLeft));
}

void drawStop(QPainter &painter)
{
    QPolygonF octagon;
    for (const QPointF point : {QPointF(8, 2), QPointF(16, 2), QPointF(22, 8), QPointF(22, 16),
                                QPointF(16, 22), QPointF(8, 22), QPointF(2, 16), QPointF(2, 8)})
        octagon << point;
    painter.setPen(QPen(Outline, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(208, 32, 32));
    painter.drawPolygon(octagon);
    painter.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(8, 8), QPointF(16, 16));
    painter.drawLine(QPointF(16, 8), QPointF(8, 16));
}

void drawRefresh(QPainter &painter)
{
    const QColor blue(30, 100, 200);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(blue, 3, Qt::SolidLine, Qt::FlatCap));
    // Most of a circle, open at the top right, where the arrow head sits.
    painter.drawArc(QRectF(4, 4, 16, 16), 60 * 16, 280 * 16);
    QPainterPath head;
    head.moveTo(13, 1.5);
    head.lineTo(20.5, 6.5);
    head.lineTo(13, 10);
    head.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(blue);
    painter.drawPath(head);
}

void drawHome(QPainter &painter)
{
    painter.setPen(QPen(Outline, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(250, 240, 210));
    painter.drawRect(QRectF(5, 11, 14, 11));
    QPolygonF roof;
    roof << QPointF(1.5, 12.5) << QPointF(12, 2.5) << QPointF(22.5, 12.5);
    painter.setBrush(QColor(196, 64, 40));
    painter.drawPolygon(roof);
    painter.setBrush(QColor(120, 72, 32));
    painter.drawRect(QRectF(10, 15, 4.5, 7));
}

void drawSearch(QPainter &painter)
{
    painter.setPen(QPen(Outline, 3.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(14.5, 14.5), QPointF(21, 21));
    painter.setPen(QPen(Outline, 2));
    painter.setBrush(QColor(200, 228, 255));
    painter.drawEllipse(QPointF(9.5, 9.5), 6.5, 6.5);
}

Drawing drawingFor(const QString &key)
{
    if (key == QLatin1String("Back"))
        return [](QPainter &painter) { drawArrow(painter, true); };
    if (key == QLatin1String("Forward"))
        return [](QPainter &painter) { drawArrow(painter, false); };
    if (key == QLatin1String("Stop"))
        return drawStop;
    if (key == QLatin1String("Refresh"))
        return drawRefresh;
    if (key == QLatin1String("Home"))
        return drawHome;
    if (key == QLatin1String("Search"))
        return drawSearch;
    return {};
}

// Paints the drawing afresh for every size asked, instead of scaling one bitmap; QIcon
// asks for the size in device pixels.
class VectorIconEngine : public QIconEngine
{
public:
    explicit VectorIconEngine(Drawing draw)
        : m_draw(std::move(draw))
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / DesignSize, rect.height() / DesignSize);
        // A disabled button shows its picture faded rather than a second drawing.
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.35);
        m_draw(*painter);
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QIconEngine *clone() const override { return new VectorIconEngine(m_draw); }

private:
    Drawing m_draw;
};

} // namespace

QIcon icon(const QString &key)
{
    Drawing draw = drawingFor(key);
    if (!draw)
        return {};
    return QIcon(new VectorIconEngine(std::move(draw)));
}

} // namespace BrowserIcons
