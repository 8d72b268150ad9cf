// One reading of the game clock, as the encounter stamps and compares it.
#pragma once

#include <cstdint>

// The date fields are 0 where the reading did not take them.
struct GameClockReading {
    std::int32_t hours;       // 0..23
    std::int32_t minutes;     // 0..59
    std::int32_t dayOfMonth;  // from 1
    std::int32_t month;       // from 0
    std::int32_t year;
};
