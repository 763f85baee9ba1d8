// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <functional>

// Shows a picture drawn for the screen it is on, so it stays crisp at any pixel ratio.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    using Painter = std::function<QPixmap(qreal devicePixelRatio)>;

    PictureBox(const char *name, QRect geometry, Painter picture, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Painter m_picture;
    QPixmap m_pixmap;
};
