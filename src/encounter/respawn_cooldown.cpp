#include "encounter/respawn_cooldown.h"

#include <chrono>

#include "encounter/encounter_state.h"
#include "natives/wrappers.h"

namespace {

void readDate(GameClockReading& reading) {
    reading.dayOfMonth = clockDayOfMonth();
    reading.month = clockMonth();
    reading.year = clockYear();
}

std::int64_t dayNumber(const GameClockReading& reading) {
    const std::chrono::year_month_day date{
        std::chrono::year{reading.year},
        std::chrono::month{static_cast<unsigned>(reading.month + 1)},
        std::chrono::day{static_cast<unsigned>(reading.dayOfMonth)}};
    return std::chrono::sys_days{date}.time_since_epoch().count();
}

}  // namespace

GameClockReading readTimeOfDay() {
    GameClockReading reading{};
    reading.hours = clockHours();
    reading.minutes = clockMinutes();
    return reading;
}

std::int64_t elapsedCalendarMinutes(const GameClockReading& stamp, const GameClockReading& now) {
    return (dayNumber(now) - dayNumber(stamp)) * minutesPerDay +
           (minutesPerHour * now.hours + now.minutes) -
           (minutesPerHour * stamp.hours + stamp.minutes);
}

std::int64_t minutesSinceStamp(const GameClockReading& stamp, const GameClockReading& now,
                               std::int32_t cooldownMinutes) {
    if (measuredOnCalendar(cooldownMinutes)) return elapsedCalendarMinutes(stamp, now);
    return elapsedMinutesOfDay(stamp, now);
}

void takeSpawnStamp(std::int32_t cooldownMinutes) {
    GameClockReading now = readTimeOfDay();
    if (measuredOnCalendar(cooldownMinutes)) readDate(now);
    encounterState.spawnStamp = now;
    encounterState.spawnStamped = true;
    encounterState.rearmedSinceStamp = false;
}

void rearmIfDueAfter(std::int32_t cooldownMinutes) {
    GameClockReading now = readTimeOfDay();
    if (encounterState.rearmedSinceStamp) return;
    if (measuredOnCalendar(cooldownMinutes)) {
        // The load-time stamp of 0:00 on no date means nothing on the calendar.
        if (!encounterState.spawnStamped) return;
        readDate(now);
    }
    const std::int64_t elapsed = minutesSinceStamp(encounterState.spawnStamp, now, cooldownMinutes);
    if (elapsed < 0) {
        // The clock went back (an earlier save was loaded): count the cooldown from now rather
        // than wait for the clock to catch up with a stamp in its future.
        encounterState.spawnStamp = now;
        return;
    }
    if (elapsed < cooldownMinutes) return;
    rearm();
    encounterState.rearmedSinceStamp = true;
}

void rearmIfDue() {
    rearmIfDueAfter(RespawnCooldown);
}

void rearm() {
    encounterState.encounterActive = false;
    clearVisited(encounterState.visitRegistry);
    encounterState.tauntDone = false;
    encounterState.fightOverHandled = false;
    encounterState.firstKillHandled = false;
}
