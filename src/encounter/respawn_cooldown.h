// When the hideouts re-arm: once the build's cooldown has passed on the game clock since the last
// squad spawned, every hideout is armed again and the encounter's flags are cleared.
//
// Cooldowns shorter than a day are measured on the time of day alone, the stamp's minute of the
// day to the clock's, wrapping across midnight (so a jump of more than a day counts only the
// remainder). The time of day cannot count to a day or more, so cooldowns of a day or more are
// measured on the calendar, from a stamp that includes the date; before the first spawn those
// builds have nothing to re-arm. Either way the re-arm runs once per stamp.
#pragma once

#include <cstdint>

#include "encounter/game_clock_reading.h"
#include "host/clock_units.h"

// The build's cooldown in game minutes; each deliverable is built with its own value.
extern const std::int32_t RespawnCooldown;

constexpr bool measuredOnCalendar(std::int32_t cooldownMinutes) {
    return cooldownMinutes >= minutesPerDay;
}

// Minutes from the stamp's time of day forward to the clock's, across midnight: 0..1439.
constexpr std::int32_t elapsedMinutesOfDay(const GameClockReading& stamp,
                                           const GameClockReading& now) {
    std::int32_t elapsed =
        (minutesPerHour * now.hours + now.minutes) - (minutesPerHour * stamp.hours + stamp.minutes);
    if (elapsed < 0) elapsed += minutesPerDay;
    return elapsed;
}

// Game minutes from the stamp to now on the calendar; negative when the clock was set back.
std::int64_t elapsedCalendarMinutes(const GameClockReading& stamp, const GameClockReading& now);

// Game minutes since the stamp, as a build with this cooldown measures them.
std::int64_t minutesSinceStamp(const GameClockReading& stamp, const GameClockReading& now,
                               std::int32_t cooldownMinutes);

// hours, then minutes, from the game clock; the date fields stay 0.
GameClockReading readTimeOfDay();

// Takes the clock stamp of a spawn: clockHours, clockMinutes and, for a cooldown of a day or
// more, clockDayOfMonth, clockMonth and clockYear. Arms the re-arm for this stamp.
void takeSpawnStamp(std::int32_t cooldownMinutes);

// Reads clockHours, then clockMinutes (and the date where the cooldown needs it) and re-arms when
// the cooldown has passed since the stamp and the re-arm has not yet run for this stamp. A clock
// found earlier than a calendar stamp (an earlier save loaded) moves the stamp to that moment.
void rearmIfDueAfter(std::int32_t cooldownMinutes);

// rearmIfDueAfter with the build's RespawnCooldown; run once per tick.
void rearmIfDue();

// Arms every hideout and clears the encounter's flags. The roster, the characters in the world and
// the clock stamp stay as they are.
void rearm();
