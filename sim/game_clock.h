// The game calendar and time of day. The date is kept as a day number (days since 1970-01-01 in
// the proleptic Gregorian calendar), which makes adding days and counting midnights plain
// integer arithmetic; the time of day is whole minutes plus the frames run into the current one,
// so the clock never drifts however long a run lasts.
#pragma once

#include <cstdint>

#include "host/clock_units.h"
#include "sim/control.h"

namespace sim {

struct GameClock {
    std::int64_t dayNumber;
    int minuteOfDay;       // 0 .. minutesPerDay - 1
    int framesIntoMinute;  // frames run since the clock last turned a minute
};

int daysInMonth(int year, int month);  // month counted from 0
bool validDate(const GameDate& date);
std::int64_t dayNumberOf(const GameDate& date);
GameDate dateOf(std::int64_t dayNumber);

// Moves the clock on by whole minutes, carrying into the following days. minutes >= 0.
void addMinutes(GameClock& clock, std::int64_t minutes);

// One frame of frame time: every framesPerMinute frames the clock turns one minute.
void tickFrame(GameClock& clock, int framesPerMinute);

}  // namespace sim
