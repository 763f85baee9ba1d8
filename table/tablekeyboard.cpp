// SPDX-License-Identifier: GPL-3.0-or-later
#include "tablekeyboard.h"

#include "cardimage.h"
#include "platform/focusvisibility.h"
#include "platform/windowowner.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include <limits>

namespace {

qint64 squaredDistance(QPoint a, QPoint b)
{
    const qint64 dx = a.x() - b.x();
    const qint64 dy = a.y() - b.y();
    return dx * dx + dy * dy;
}

bool canHoldFocus(const QWidget *widget)
{
    return widget && widget->isVisible() && widget->isEnabled() && widget->focusPolicy() != Qt::NoFocus;
}

} // namespace

TableKeyboard::TableKeyboard(QWidget *table, const QList<CardImage *> &spots,
                             const QList<QPushButton *> &buttons)
    : QObject(table)
    , m_table(table)
    , m_spots(spots)
    , m_buttons(buttons)
{
    FocusVisibility::install();

    // Reading order: row by row from the peaks down, the stock last. Spots that do not
    // react take no focus, so Tab passes over them.
    QList<CardImage *> order = m_spots;
    std::stable_sort(order.begin(), order.end(), [](const CardImage *a, const CardImage *b) {
        return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
    });
    QWidget *previous = m_buttons.isEmpty() ? nullptr : m_buttons.last();
    for (CardImage *spot : std::as_const(order)) {
        if (previous)
            QWidget::setTabOrder(previous, spot);
        previous = spot;
        spot->installEventFilter(this);
        // A deal can cover the focused card without taking it off the table; the focus
        // then moves on as if it had left.
        connect(spot, &CardImage::focusGivenUp, this, [this, spot] {
            const QRect place = spot->geometry();
            QTimer::singleShot(0, this, [this, place] { refocusNear(place); });
        });
    }
    for (QPushButton *button : m_buttons) {
        button->installEventFilter(this);
        // A screen reader presses a button without moving the focus to it, so the
        // button that opens a window is known by its press, not by the focus.
        connect(button, &QAbstractButton::clicked, this, [this, button] {
            m_pressed = button;
            QTimer::singleShot(0, this, [this] { m_pressed = nullptr; });
        });
    }
    // Disabling the table takes the focus away; enabling it again gives none back.
    m_table->installEventFilter(this);
}

int TableKeyboard::neighbour(const QList<QRect> &places, const QList<int> &reacting, int from,
                             int key)
{
    const QRect origin = places.at(from);
    int best = -1;
    qint64 bestRank = std::numeric_limits<qint64>::max();
    for (int spot : reacting) {
        if (spot == from)
            continue;
        const QRect place = places.at(spot);
        const int across = place.center().x() - origin.center().x();
        const int down = place.top() - origin.top();
        qint64 rank = -1;
        switch (key) {
        case Qt::Key_Left:
            if (down == 0 && across < 0)
                rank = -across;
            break;
        case Qt::Key_Right:
            if (down == 0 && across > 0)
                rank = across;
            break;
        case Qt::Key_Up:
        case Qt::Key_Down:
            // The nearest row first, then the nearest spot in it.
            if (key == Qt::Key_Up ? down < 0 : down > 0)
                rank = qint64(qAbs(down)) * 100000 + qAbs(across);
            break;
        default:
            break;
        }
        if (rank >= 0 && rank < bestRank) {
            bestRank = rank;
            best = spot;
        }
    }
    return best;
}

bool TableKeyboard::eventFilter(QObject *watched, QEvent *event)
{
    auto *spot = qobject_cast<CardImage *>(watched);
    switch (event->type()) {
    case QEvent::EnabledChange:
        // A secondary window disables the table while it is up. When the window gives
        // the table back, the focus goes to the button that opened it, whatever Qt
        // handed the focus to meanwhile.
        if (watched == m_table && !m_table->isEnabled())
            m_opener = m_pressed;
        else if (watched == m_table)
            QTimer::singleShot(0, this, &TableKeyboard::takeTableBack);
        return false;
    case QEvent::WindowActivate:
        // A click on the disabled table makes it the active window, where keys do
        // nothing; the window that disabled it takes them.
        if (watched == m_table && !m_table->isEnabled()) {
            if (QWidget *owned = WindowOwner::ownedWindow(m_table))
                QTimer::singleShot(0, owned, [owned] { owned->activateWindow(); });
        }
        return false;
    case QEvent::KeyPress: {
        const auto *keyEvent = static_cast<QKeyEvent *>(event);
        const int key = keyEvent->key();
        auto *button = qobject_cast<QPushButton *>(watched);
        if (button && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            // Return presses a focused button as Space does, once per press.
            if (!keyEvent->isAutoRepeat())
                button->click();
            return true;
        }
        if (!spot || !(key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up
                       || key == Qt::Key_Down))
            return false;
        const int target = neighbour(places(), reactingSpots(), m_spots.indexOf(spot), key);
        if (target >= 0)
            moveFocusTo(m_spots.at(target));
        return true;
    }
    case QEvent::Hide:
        // Qt hands the focus on to the next control in the chain; once the handler that
        // took the card has opened what lies beneath, the nearest spot gets it instead.
        if (spot && spot->hasFocus()) {
            const QRect place = spot->geometry();
            QTimer::singleShot(0, this, [this, place] { refocusNear(place); });
        }
        return false;
    case QEvent::Show:
        QTimer::singleShot(0, this, &TableKeyboard::refocusIfLost);
        return false;
    default:
        return false;
    }
}

QList<int> TableKeyboard::reactingSpots() const
{
    QList<int> reacting;
    for (int index = 0; index < m_spots.size(); ++index) {
        if (m_spots.at(index)->canPress())
            reacting.append(index);
    }
    return reacting;
}

QList<QRect> TableKeyboard::places() const
{
    QList<QRect> places;
    for (const CardImage *spot : m_spots)
        places.append(spot->geometry());
    return places;
}

void TableKeyboard::moveFocusTo(QWidget *widget)
{
    // A move the keyboard asked for: the focus stays visible.
    widget->setFocus(Qt::TabFocusReason);
}

void TableKeyboard::takeTableBack()
{
    if (!m_table->isEnabled())
        return;
    // A window the game opened by itself (its end's high scores, the team picture) has
    // no opener: the first button takes the focus.
    if (canHoldFocus(m_opener))
        moveFocusTo(m_opener);
    else if (QPushButton *button = firstButton())
        moveFocusTo(button);
    else
        refocusIfLost();
    m_table->activateWindow();
}

QPushButton *TableKeyboard::firstButton() const
{
    for (QPushButton *button : m_buttons) {
        if (canHoldFocus(button))
            return button;
    }
    return nullptr;
}

void TableKeyboard::refocusNear(QRect place)
{
    if (!m_table->isEnabled())
        return;
    CardImage *nearest = nullptr;
    qint64 nearestDistance = std::numeric_limits<qint64>::max();
    for (int index : reactingSpots()) {
        const qint64 distance =
            squaredDistance(m_spots.at(index)->geometry().center(), place.center());
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = m_spots.at(index);
        }
    }
    if (nearest)
        moveFocusTo(nearest);
    else
        refocusIfLost();
}

void TableKeyboard::refocusIfLost()
{
    if (!m_table->isEnabled())
        return;
    if (canHoldFocus(m_table->focusWidget()))
        return;
    if (QPushButton *button = firstButton()) {
        moveFocusTo(button);
        return;
    }
    const QList<int> reacting = reactingSpots();
    if (!reacting.isEmpty())
        moveFocusTo(m_spots.at(reacting.first()));
}
