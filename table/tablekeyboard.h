// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>

class CardImage;
class QPushButton;
class QWidget;

// The table by keyboard. Tab runs through the buttons, then the reacting spots in
// reading order, then the stock; the arrow keys move between reacting spots by their
// places on the table; and when the focused card leaves the table the focus goes to the
// nearest spot that still reacts, never to nothing, and so it does when a deal covers the
// focused card; Return presses a focused button as Space does. When a secondary window
// gives the table back, the focus returns to the control that opened it and the table
// becomes the active window again.
class TableKeyboard : public QObject
{
    Q_OBJECT

public:
    // The spots by index, the waste among them; the buttons in their tab order.
    TableKeyboard(QWidget *table, const QList<CardImage *> &spots,
                  const QList<QPushButton *> &buttons);

    // The spot an arrow key leads to from `from`, among `reacting`, by the places of the
    // spots; -1 when there is none that way. Left and right stay in the row; up and down
    // go to the nearest row that way holding a reacting spot, and there to the spot
    // nearest across.
    static int neighbour(const QList<QRect> &places, const QList<int> &reacting, int from,
                         int key);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<int> reactingSpots() const;
    QList<QRect> places() const;
    void moveFocusTo(QWidget *widget);
    void refocusNear(QRect place);
    void refocusIfLost();
    void takeTableBack();
    QPushButton *firstButton() const;

    QWidget *m_table;
    QList<CardImage *> m_spots;
    QList<QPushButton *> m_buttons;
    // The button just pressed, until the event loop next turns: long enough for the
    // Menu and High Scores handlers, which open their window and disable the table at once.
    QPointer<QPushButton> m_pressed;
    // The button that opened the secondary window that disabled the table; none when
    // the game opened it by itself.
    QPointer<QPushButton> m_opener;
};
