// SPDX-License-Identifier: GPL-3.0-or-later
#include "userinput.h"

#include <QGuiApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <limits>
#include <optional>

namespace {

// Whether a click at `point` of `control` lands on it.
bool reaches(QWidget *control, QPoint point)
{
    QWidget *window = control->window();
    QWidget *onTop = window->childAt(control->mapTo(window, point));
    return control == window ? !onTop : onTop == control || control->isAncestorOf(onTop);
}

// The middle of what shows of `area` of `control`; nothing when nothing does. The cards
// of a lower row lie over those above, so a card may show only in part.
std::optional<QPoint> visibleMiddle(QWidget *control, const QRect &area)
{
    if (reaches(control, area.center()))
        return area.center();
    QList<QPoint> shown;
    qint64 sumX = 0;
    qint64 sumY = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (reaches(control, {x, y})) {
                shown.append({x, y});
                sumX += x;
                sumY += y;
            }
        }
    }
    if (shown.isEmpty())
        return std::nullopt;
    const QPoint centre(int(sumX / shown.size()), int(sumY / shown.size()));
    QPoint best = shown.first();
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (QPoint point : std::as_const(shown)) {
        const qint64 distance = qint64(point.x() - centre.x()) * (point.x() - centre.x())
            + qint64(point.y() - centre.y()) * (point.y() - centre.y());
        if (distance < bestDistance) {
            bestDistance = distance;
            best = point;
        }
    }
    return best;
}

} // namespace

namespace UserInput {

bool press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWindow *window = QGuiApplication::focusWindow();
    if (!window) {
        qWarning("no window has the keyboard focus");
        return false;
    }
    QTest::keyClick(window, key, modifiers);
    return true;
}

bool type(const QString &text)
{
    for (const QChar character : text) {
        QWindow *window = QGuiApplication::focusWindow();
        if (!window || character.unicode() > 0x7f) {
            qWarning("cannot type %s", qPrintable(QString(character)));
            return false;
        }
        QTest::keyClick(window, char(character.unicode()));
    }
    return true;
}

bool click(QWidget *control, const QRect &part, Qt::MouseButton button)
{
    if (!control || !control->isVisible()) {
        qWarning("%s is not on screen", control ? qPrintable(control->objectName()) : "nothing");
        return false;
    }
    const std::optional<QPoint> middle = visibleMiddle(control, part.isNull() ? control->rect() : part);
    if (!middle) {
        qWarning("%s is covered", qPrintable(control->objectName()));
        return false;
    }
    QWidget *window = control->window();
    QTest::mouseClick(window->windowHandle(), button, Qt::NoModifier, control->mapTo(window, *middle));
    return true;
}

bool closeWindow(QWidget *window)
{
    if (!window || !window->isVisible() || !window->isWindow() || !window->windowHandle())
        return false;
    // The window system's close request, which a window may refuse or answer its own way.
    window->windowHandle()->close();
    return true;
}

} // namespace UserInput
