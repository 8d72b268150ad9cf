// How the game's clock counts: the units the plug-in, the simulated game and the simulator share.
#pragma once

#include <cstdint>

inline constexpr std::int32_t minutesPerHour = 60;
inline constexpr std::int32_t minutesPerDay = 24 * minutesPerHour;
