// SPDX-License-Identifier: GPL-3.0-or-later
#include "userinput.h"

#include <QGuiApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <numeric>
#include <optional>

namespace {

bool reaches(QWidget *control, QPoint point)
{
    QWidget *window = control->window();
    QWidget *onTop = window->childAt(control->mapTo(window, point));
    return control == window ? !onTop : onTop == control || control->isAncestorOf(onTop);
}

// The shown point nearest the middle of what shows of `area`: a lower row's cards lie over
// those above, so a card may show only in part.
std::optional<QPoint> visibleMiddle(QWidget *control, const QRect &area)
{
    if (reaches(control, area.center()))
        return area.center();
    QList<QPoint> shown;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (reaches(control, {x, y}))
                shown.append({x, y});
    if (shown.isEmpty())
        return std::nullopt;
    const QPoint centre = (std::accumulate(shown.cbegin(), shown.cend(), QPointF()) / shown.size()).toPoint();
    const auto distance = [centre](QPoint point) { return QPoint::dotProduct(point - centre, point - centre); };
    return *std::min_element(shown.cbegin(), shown.cend(),
                             [&](QPoint a, QPoint b) { return distance(a) < distance(b); });
}

QWindow *focusWindow()
{
    QWindow *window = QGuiApplication::focusWindow();
    if (!window)
        qWarning("no window has the keyboard focus");
    return window;
}

} // namespace

namespace UserInput {

bool press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWindow *window = focusWindow();
    if (window)
        QTest::keyClick(window, key, modifiers);
    return window;
}

bool type(const QString &text)
{
    for (const QChar character : text) {
        QWindow *window = focusWindow();
        if (!window || character.unicode() > 0x7f)
            return false;
        QTest::keyClick(window, char(character.unicode()));
    }
    return true;
}

bool click(QWidget *control, const QRect &part, Qt::MouseButton button)
{
    const std::optional<QPoint> middle = control && control->isVisible()
        ? visibleMiddle(control, part.isNull() ? control->rect() : part) : std::nullopt;
    if (!middle) {
        qWarning("%s is not on screen or covered", control ? qPrintable(control->objectName()) : "nothing");
        return false;
    }
    QWidget *window = control->window();
    QTest::mouseClick(window->windowHandle(), button, Qt::NoModifier, control->mapTo(window, *middle));
    return true;
}

bool closeWindow(QWidget *window)
{
    const bool open = window && window->isVisible() && window->isWindow() && window->windowHandle();
    if (open)
        window->windowHandle()->close(); // which a window may refuse or answer its own way
    return open;
}

} // namespace UserInput
