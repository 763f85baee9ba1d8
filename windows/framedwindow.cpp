// SPDX-License-Identifier: GPL-3.0-or-later
#include "framedwindow.h"

#include "platform/dialogkeys.h"

#include <QCloseEvent>
#include <QPainter>

FramedWindow::FramedWindow(const QString &name, const QString &caption, QSize clientSize,
                           const QList<QLine> &frameLines, QWidget *parent)
    : FramedWindow(name, caption, clientSize, Qt::FramelessWindowHint, parent)
{
    m_frameLines = frameLines;
}

FramedWindow::FramedWindow(const QString &name, const QString &caption, QSize clientSize,
                           Qt::WindowFlags flags, QWidget *parent)
    : QWidget(parent, Qt::Window | flags)
{
    setObjectName(name);
    setWindowTitle(caption);
    setFixedSize(clientSize);
    QPalette blue = palette();
    blue.setColor(QPalette::Window, QColor(0, 0, 255));
    setPalette(blue);
    setAutoFillBackground(true);
}

void FramedWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 5, Qt::SolidLine, Qt::FlatCap));
    painter.drawLines(m_frameLines);
}

void FramedWindow::closeEvent(QCloseEvent *event)
{
    // The window is only ever hidden, never destroyed, and a close the player asks for
    // runs the window's own way out.
    if (isVisible()) {
        event->ignore();
        closeLikeButton();
        return;
    }
    QWidget::closeEvent(event);
}

void FramedWindow::keyPressEvent(QKeyEvent *event)
{
    if (!DialogKeys::handle(event, this, defaultButton(), [this] { closeLikeButton(); }))
        QWidget::keyPressEvent(event);
}
