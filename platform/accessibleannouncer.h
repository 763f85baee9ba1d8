// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "announcer.h"

#include <QPointer>

#include <array>

class QWidget;

// Announces through the accessibility tree. Qt 6.4 has no announcement call, and the
// name changes it sends do not reach Orca in a form it speaks; what Orca 43 does speak,
// whatever has the focus, is a notification that comes into view. So each sentence
// becomes the name of an empty notification shown inside an empty status bar, which
// keeps Orca from saying "notification" before it. Nothing of it is drawn.
class AccessibleAnnouncer : public Announcer
{
public:
    // The notifications live in `host`, which must stay on screen while the game runs.
    void setHost(QWidget *host);

    void announce(const QString &sentence) override;

private:
    // The screen reader reads a notification's name when it gets to the event, a moment
    // after it is shown, so a few take turns and a quick second sentence does not
    // overwrite the first before it is read.
    static constexpr int Turns = 8;

    QPointer<QWidget> m_statusBar;
    std::array<QWidget *, Turns> m_notices{};
    int m_next = 0;
};
