// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakeclock.h"

#include <QCoreApplication>

namespace {

class FakeTicker : public Ticker
{
public:
    FakeTicker(std::chrono::milliseconds interval, QObject *parent)
        : Ticker(parent)
        , m_interval(interval)
    {
    }

    void setEnabled(bool enabled) override
    {
        if (enabled && !m_enabled)
            m_elapsed = {};
        m_enabled = enabled;
    }

    bool isEnabled() const override { return m_enabled; }

    void advance(std::chrono::milliseconds length)
    {
        if (!m_enabled)
            return;
        m_elapsed += length;
        while (m_enabled && m_elapsed >= m_interval) {
            m_elapsed -= m_interval;
            Q_EMIT timeout();
        }
    }

private:
    std::chrono::milliseconds m_interval;
    std::chrono::milliseconds m_elapsed{};
    bool m_enabled = false;
};

} // namespace

double FakeClock::secondsSinceMidnight() const
{
    return double(m_now.count() % (24 * 3600 * 1000)) / 1000.0;
}

void FakeClock::pause(std::chrono::milliseconds length)
{
    ++m_pauseCount;
    advance(length);
    QCoreApplication::processEvents();
    if (onPause)
        onPause(length);
}

Ticker *FakeClock::createTicker(std::chrono::milliseconds interval, QObject *parent)
{
    auto *ticker = new FakeTicker(interval, parent);
    m_tickers.append(ticker);
    return ticker;
}

void FakeClock::advance(std::chrono::milliseconds length)
{
    m_now += length;
    const QList<QPointer<Ticker>> tickers = m_tickers;
    for (const QPointer<Ticker> &ticker : tickers) {
        if (ticker)
            static_cast<FakeTicker *>(ticker.data())->advance(length);
    }
}
