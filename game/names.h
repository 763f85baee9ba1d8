#pragma once

#include <QString>

#include <array>

// The player names the high-score table falls back on when a player gives none.
namespace Names {

constexpr int DefaultNameCount = 6;

extern std::array<QString, DefaultNameCount> DefaultNames;

void SetNames();

} // namespace Names
