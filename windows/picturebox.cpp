// SPDX-License-Identifier: GPL-3.0-or-later
#include "picturebox.h"

#include <QPainter>

PictureBox::PictureBox(const char *name, QRect geometry, Painter picture, QWidget *parent)
    : QWidget(parent)
    , m_picture(std::move(picture))
{
    setObjectName(QLatin1String(name));
    setGeometry(geometry);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    if (m_pixmap.isNull() || m_pixmap.devicePixelRatio() != ratio)
        m_pixmap = m_picture(ratio);
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_pixmap);
}
