// SPDX-License-Identifier: GPL-3.0-or-later
#include "gameclock.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTime>
#include <QTimer>

namespace {

class TimerTicker : public Ticker
{
public:
    TimerTicker(std::chrono::milliseconds interval, QObject *parent)
        : Ticker(parent)
    {
        m_timer.setInterval(interval);
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, &Ticker::timeout);
    }

    void setEnabled(bool enabled) override
    {
        if (enabled == m_timer.isActive())
            return;
        if (enabled)
            m_timer.start();
        else
            m_timer.stop();
    }

    bool isEnabled() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

} // namespace

double SystemClock::secondsSinceMidnight() const
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void SystemClock::pause(std::chrono::milliseconds length)
{
    // QDeadlineTimer runs on the monotonic clock, so midnight or a changed
    // wall clock cannot stretch or cut a pause short.
    const QDeadlineTimer deadline(length, Qt::PreciseTimer);
    while (!deadline.hasExpired()) {
        QEventLoop loop;
        QTimer::singleShot(std::chrono::ceil<std::chrono::milliseconds>(deadline.remainingTimeAsDuration()),
                           Qt::PreciseTimer, &loop, &QEventLoop::quit);
        if (loop.exec() != 0)
            return; // the application is quitting
    }
}

Ticker *SystemClock::createTicker(std::chrono::milliseconds interval, QObject *parent)
{
    return new TimerTicker(interval, parent);
}
