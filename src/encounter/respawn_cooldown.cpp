#include "encounter/respawn_cooldown.h"

#include <chrono>

#include "encounter/encounter_state.h"
#include "natives/call.h"
#include "natives/catalogue.h"
#include "natives/slot.h"

namespace {

std::int32_t readClockField(NativeHash clockNative) {
    return slotInt(callNative(clockNative)[0]);
}

// hours, then minutes; the date only where the caller needs it.
GameClockReading readTimeOfDay() {
    GameClockReading reading{};
    reading.hours = readClockField(native::clockHours);
    reading.minutes = readClockField(native::clockMinutes);
    return reading;
}

void readDate(GameClockReading& reading) {
    reading.dayOfMonth = readClockField(native::clockDayOfMonth);
    reading.month = readClockField(native::clockMonth);
    reading.year = readClockField(native::clockYear);
}

std::int64_t dayNumber(const GameClockReading& reading) {
    const std::chrono::year_month_day date{
        std::chrono::year{reading.year},
        std::chrono::month{static_cast<unsigned>(reading.month + 1)},
        std::chrono::day{static_cast<unsigned>(reading.dayOfMonth)}};
    return std::chrono::sys_days{date}.time_since_epoch().count();
}

GameClockReading stampOf(const EncounterState& state) {
    return {state.spawnClockHours, state.spawnClockMinutes, state.spawnDayOfMonth,
            state.spawnMonth, state.spawnYear};
}

void writeStamp(const GameClockReading& reading) {
    encounterState.spawnClockHours = reading.hours;
    encounterState.spawnClockMinutes = reading.minutes;
    encounterState.spawnDayOfMonth = reading.dayOfMonth;
    encounterState.spawnMonth = reading.month;
    encounterState.spawnYear = reading.year;
}

}  // namespace

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
    writeStamp(now);
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
    const std::int64_t elapsed = minutesSinceStamp(stampOf(encounterState), now, cooldownMinutes);
    if (elapsed < 0) {
        // The clock went back (an earlier save was loaded): count the cooldown from now rather
        // than wait for the clock to catch up with a stamp in its future.
        writeStamp(now);
        return;
    }
    if (elapsed < cooldownMinutes) return;
    rearm();
    encounterState.rearmedSinceStamp = true;
}

void rearmIfDue() { rearmIfDueAfter(RespawnCooldown); }

void rearm() {
    encounterState.encounterActive = false;
    clearVisited(visitRegistry);
    encounterState.tauntDone = false;
    encounterState.fightOverHandled = false;
    encounterState.firstKillHandled = false;
}
