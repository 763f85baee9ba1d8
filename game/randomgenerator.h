// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <random>

// The program's pseudo-random source: single-precision values in [0, 1). One is made at
// start-up and handed to whatever draws from it, so a test can seed its own.
class RandomGenerator
{
public:
    void seedFromTimeOfDay(double secondsSinceMidnight);
    void seed(quint32 seed);

    // Never 1.0: the value is built from 24 random bits, exact in a float.
    float next();

    // floor(next() * count), computed so that rounding can never reach `count`.
    int nextBelow(int count);

private:
    std::mt19937 m_engine;
};
