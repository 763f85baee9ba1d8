// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/gameclock.h"

#include <QList>
#include <QPointer>

#include <functional>

// A clock that moves only when told. Pauses advance it at once, so a whole game plays
// in milliseconds; a test can act inside any pause through onPause.
class FakeClock : public GameClock
{
public:
    double secondsSinceMidnight() const override;
    void pause(std::chrono::milliseconds length) override;
    Ticker *createTicker(std::chrono::milliseconds interval, QObject *parent) override;

    // Moves time on, firing every running ticker once per interval passed.
    void advance(std::chrono::milliseconds length);

    std::chrono::milliseconds now() const { return m_now; }
    int pauseCount() const { return m_pauseCount; }

    // Called after every pause has advanced the clock, with the pause's length.
    std::function<void(std::chrono::milliseconds)> onPause;

private:
    std::chrono::milliseconds m_now{12 * 3600 * 1000};
    int m_pauseCount = 0;
    QList<QPointer<Ticker>> m_tickers;
};
