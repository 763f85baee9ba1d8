// SPDX-License-Identifier: GPL-3.0-or-later
#include "cardimage.h"

#include "assets/cardpainter.h"
#include "assets/cardpictures.h"
#include "game/card.h"
#include "platform/accessiblenotice.h"
#include "platform/actionguard.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

class CardImageAccessible : public QAccessibleWidget
{
public:
    explicit CardImageAccessible(CardImage *image)
        : QAccessibleWidget(image, QAccessible::Graphic)
    {
    }

    // A screen reader keeps the role it first read, so the role never changes: a card
    // that cannot be pressed now is a button that is unavailable.
    QAccessible::Role role() const override { return image()->accessibleRole(); }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (role() == QAccessible::Button && !image()->canPress())
            state.disabled = true;
        return state;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && image()->accessibleName().isEmpty())
            return image()->spokenName();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override
    {
        return image()->canPress() ? QStringList{pressAction()} : QStringList();
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction())
            image()->press();
    }

private:
    CardImage *image() const { return static_cast<CardImage *>(widget()); }
};

QAccessibleInterface *cardImageAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("CardImage") && object && object->isWidgetType())
        return new CardImageAccessible(static_cast<CardImage *>(object));
    return nullptr;
}

} // namespace

CardImage::CardImage(QWidget *parent)
    : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(cardImageAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    resize(CardPainter::Width, CardPainter::Height);
    setFocusPolicy(Qt::StrongFocus);
}

void CardImage::setPicture(CardPicture picture)
{
    if (picture == m_picture)
        return;
    m_picture = picture;
    update();
    AccessibleNotice::nameChanged(this);
}

void CardImage::setClickable(bool clickable)
{
    if (clickable == m_clickable)
        return;
    m_clickable = clickable;
    // The window's focus, which it keeps while a message box has the activation.
    const bool hadFocus = window()->focusWidget() == this;
    setFocusPolicy(clickable ? Qt::StrongFocus : Qt::NoFocus);
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.disabled = true;
        changed.focusable = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
    if (!clickable && hadFocus)
        Q_EMIT focusGivenUp();
}

bool CardImage::canPress() const
{
    return m_clickable && ActionGuard::mayAct(this);
}

void CardImage::press()
{
    if (canPress())
        Q_EMIT clicked();
}

QString CardImage::spokenName() const
{
    return m_picture.isFace() ? Card::name(m_picture.index) : tr("Face-down card");
}

QSize CardImage::sizeHint() const
{
    return {CardPainter::Width, CardPainter::Height};
}

void CardImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, CardPictures::pixmap(m_picture, devicePixelRatioF()));
    if (m_outline.isValid()) {
        // From (1, 1) to the last column and row of the picture.
        painter.setPen(QPen(m_outline, 0));
        painter.drawRect(1, 1, width() - 2, height() - 2);
    }
    if (showsFocusRing()) {
        // Yellow between two black lines reads on the blue table, on white faces and on
        // every back, whatever its colours.
        const QRectF ring = QRectF(rect()).adjusted(2.5, 2.5, -2.5, -2.5);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 5));
        painter.drawRoundedRect(ring, 4, 4);
        painter.setPen(QPen(QColor(255, 255, 0), 3));
        painter.drawRoundedRect(ring, 4, 4);
    }
}

bool CardImage::showsFocusRing() const
{
    // Qt marks a window whose focus last moved by the keyboard; a mouse click clears the
    // mark, so a mouse player sees the table exactly as designed.
    return hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void CardImage::setOutline(const QColor &colour)
{
    if (colour == m_outline)
        return;
    m_outline = colour;
    update();
}

void CardImage::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void CardImage::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton
        && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        press();
}

void CardImage::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            press();
        break;
    default:
        // Arrows and the rest belong to the window, which knows where the other spots are.
        event->ignore();
        break;
    }
}

void CardImage::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void CardImage::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}
