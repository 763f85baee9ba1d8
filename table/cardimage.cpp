#include "cardimage.h"

#include "assets/cardpainter.h"
#include "assets/cardpictures.h"
#include "game/card.h"
#include "platform/actionguard.h"

#include <QAccessible>
#include <QAccessibleWidget>
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

    QAccessible::Role role() const override
    {
        return image()->canPress() ? QAccessible::Button : QAccessible::Graphic;
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
}

void CardImage::setPicture(CardPicture picture)
{
    if (picture == m_picture)
        return;
    m_picture = picture;
    update();
    announceChange();
}

void CardImage::setClickable(bool clickable)
{
    if (clickable == m_clickable)
        return;
    m_clickable = clickable;
    announceChange();
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

void CardImage::announceChange()
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
}
