// SPDX-License-Identifier: GPL-3.0-or-later
#include "cardpictures.h"

#include "cardpainter.h"

#include <QHash>
#include <QPainter>

namespace CardPictures {

QPixmap pixmap(CardPicture picture, qreal devicePixelRatio)
{
    using Key = std::pair<CardPicture, qreal>;
    static QHash<Key, QPixmap> cache;

    const Key key{picture, devicePixelRatio};
    if (const auto it = cache.constFind(key); it != cache.cend())
        return *it;

    QPixmap pixmap(QSize(CardPainter::Width, CardPainter::Height) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        if (picture.isFace())
            CardPainter::paintFace(painter, picture.index);
        else
            CardPainter::paintBack(painter, picture.index);
    }
    cache.insert(key, pixmap);
    return pixmap;
}

} // namespace CardPictures
