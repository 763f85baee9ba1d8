// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "assets/cardpicture.h"

#include <QAccessible>
#include <QColor>
#include <QWidget>

// An image control holding one card picture, a short text tag and a clickable flag.
// It raises clicked() only while clickable; a screen reader's press action, and Space or
// Enter while it has the keyboard focus, do the same. Only a clickable image takes the
// focus, and the focus ring shows only while the player is using the keyboard.
//
// Not a QAbstractButton: its clicked() comes however the button is pressed, so every way
// in would still need the clickable and ActionGuard test here; it acts on Space's release
// and leaves Enter alone, which would then act on its press; and its screen-reader side is
// private to Qt, so the fixed Button role, the "unavailable" state and the spoken card
// stay ours anyway.
class CardImage : public QWidget
{
    Q_OBJECT

public:
    explicit CardImage(QWidget *parent = nullptr);

    CardPicture picture() const { return m_picture; }
    void setPicture(CardPicture picture);

    QString tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

    bool isClickable() const { return m_clickable; }

    // What a screen reader is told the image is: a button by default, pressable or
    // not; a picture that is never pressed says so.
    QAccessible::Role accessibleRole() const { return m_accessibleRole; }
    void setAccessibleRole(QAccessible::Role role) { m_accessibleRole = role; }
    void setClickable(bool clickable);

    // What a click does: clicked() when the image is clickable and a player could reach
    // it (on screen, enabled, not under a modal window).
    bool canPress() const;
    void press();

    // The name a screen reader speaks: the card for a face, never the card of a back.
    QString spokenName() const;

    // A one-pixel outline just inside the picture, as the card-back chooser marks its
    // choice; an invalid colour draws none.
    void setOutline(const QColor &colour);

    QSize sizeHint() const override;

Q_SIGNALS:
    void clicked();
    // It stopped reacting while it had the keyboard focus, which it has given up.
    void focusGivenUp();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool showsFocusRing() const;

    CardPicture m_picture;
    QColor m_outline;
    QString m_tag;
    bool m_clickable = true;
    QAccessible::Role m_accessibleRole = QAccessible::Button;
    bool m_pressed = false;
};
