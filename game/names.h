// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

#include <array>

// The player names the high-score table falls back on when a player gives none. Fixed
// data, so they are there for whoever asks first, whatever window has loaded.
namespace Names {

constexpr int DefaultNameCount = 6;

extern const std::array<QStringView, DefaultNameCount> DefaultNames;

} // namespace Names
