// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Wall-clock helpers shared by the X harnesses: a monotonic clock in seconds and a
// sleep that survives signals.

#include <cerrno>
#include <ctime>

inline double monotonicSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

inline void sleepMilliseconds(int ms)
{
    timespec length{ms / 1000, long(ms % 1000) * 1000000L};
    while (nanosleep(&length, &length) != 0 && errno == EINTR) {
    }
}
