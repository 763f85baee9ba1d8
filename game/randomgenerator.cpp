// SPDX-License-Identifier: GPL-3.0-or-later
#include "randomgenerator.h"

#include <algorithm>
#include <cmath>

void RandomGenerator::seedFromTimeOfDay(double secondsSinceMidnight)
{
    // Milliseconds keep two starts within the same second apart.
    seed(static_cast<quint32>(std::llround(secondsSinceMidnight * 1000.0)));
}

void RandomGenerator::seed(quint32 seed)
{
    m_engine.seed(seed);
}

float RandomGenerator::next()
{
    constexpr float Scale = 1.0f / 16777216.0f; // 2^-24
    return float(m_engine() >> 8) * Scale;
}

int RandomGenerator::nextBelow(int count)
{
    // In double the product of a 24-bit fraction and a small count is exact.
    const int value = int(std::floor(double(next()) * count));
    return std::clamp(value, 0, count - 1);
}
