// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <chrono>

// A repeating one-shot-per-interval timer whose ticks come from a GameClock.
class Ticker : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;

Q_SIGNALS:
    void timeout();
};

// Everything the game knows about time: the time of day for seeding, the pauses of the
// animations and the clock's tick. Tests swap in a clock they advance by hand.
class GameClock
{
public:
    virtual ~GameClock() = default;

    virtual double secondsSinceMidnight() const = 0;

    // Waits for at least `length` of elapsed time while window events go on being handled.
    virtual void pause(std::chrono::milliseconds length) = 0;

    virtual Ticker *createTicker(std::chrono::milliseconds interval, QObject *parent) = 0;
};

// The real clock: wall time of day, a monotonic clock for pauses, QTimer for ticks.
class SystemClock : public GameClock
{
public:
    double secondsSinceMidnight() const override;
    void pause(std::chrono::milliseconds length) override;
    Ticker *createTicker(std::chrono::milliseconds interval, QObject *parent) override;
};
