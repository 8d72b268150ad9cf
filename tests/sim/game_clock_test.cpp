#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "native_calls.h"
#include "sim/control.h"

namespace {

using simtest::clockNative;

struct ClockReading {
    int year;
    int month;
    int day;
    int hours;
    int minutes;
    bool operator==(const ClockReading&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ClockReading& c) {
    return out << c.year << "-" << c.month << "-" << c.day << " " << c.hours << ":" << c.minutes;
}

// What the plug-in would read through the clock natives.
ClockReading readClock() {
    return {clockNative(native::clockYear), clockNative(native::clockMonth),
            clockNative(native::clockDayOfMonth), clockNative(native::clockHours),
            clockNative(native::clockMinutes)};
}

void startAt(ClockReading at) {
    sim::WorldOptions options;
    options.startDate = {.year = at.year, .month = at.month, .day = at.day};
    options.startHours = at.hours;
    options.startMinutes = at.minutes;
    sim::resetWorld(options);
}

TEST(GameClock, TurnsOneMinuteEverySixtyFrames) {
    startAt({1899, 5, 10, 8, 0});
    sim::runFrames(59);
    EXPECT_EQ(readClock(), (ClockReading{1899, 5, 10, 8, 0}));
    sim::runFrames(1);
    EXPECT_EQ(readClock(), (ClockReading{1899, 5, 10, 8, 1}));
    // An hour of game time is two minutes of frame time: no drift after many turns.
    sim::runFrames(60 * 59);
    EXPECT_EQ(readClock(), (ClockReading{1899, 5, 10, 9, 0}));
    EXPECT_EQ(sim::currentTimeMs(), 120000);
}

TEST(GameClock, FramesCarryTheClockOverMidnightIntoTheNextMonthAndYear) {
    startAt({1899, 11, 31, 23, 59});
    EXPECT_EQ(sim::gameDaysNow(), 0);
    sim::runFrames(60);
    EXPECT_EQ(readClock(), (ClockReading{1900, 0, 1, 0, 0}));
    EXPECT_EQ(sim::gameDaysNow(), 1);
}

TEST(GameClock, CalendarHasRealMonthLengthsAndLeapYears) {
    struct Case {
        ClockReading start;
        int minutes;
        ClockReading expected;
    };
    const Case cases[] = {
        {{1899, 3, 30, 23, 0}, 60, {1899, 4, 1, 0, 0}},           // April has 30 days
        {{1899, 0, 31, 12, 0}, 24 * 60, {1899, 1, 1, 12, 0}},     // January 31
        {{1900, 1, 28, 23, 30}, 30, {1900, 2, 1, 0, 0}},          // 1900: not a leap year
        {{1904, 1, 28, 23, 59}, 1, {1904, 1, 29, 0, 0}},          // 1904: leap year
        {{2000, 1, 28, 23, 59}, 1, {2000, 1, 29, 0, 0}},          // divisible by 400: leap
        {{1899, 11, 30, 6, 0}, 3 * 24 * 60, {1900, 0, 2, 6, 0}},  // +3 days over New Year
        {{1899, 0, 1, 0, 0}, 365 * 24 * 60, {1900, 0, 1, 0, 0}},
        {{1900, 0, 1, 0, 0}, 365 * 24 * 60, {1901, 0, 1, 0, 0}},  // 1900 has 365 days
        {{1904, 0, 1, 0, 0}, 365 * 24 * 60, {1904, 11, 31, 0, 0}},
    };
    for (const Case& c : cases) {
        startAt(c.start);
        sim::advanceClock(c.minutes);
        EXPECT_EQ(readClock(), c.expected) << c.start << " + " << c.minutes << " min";
        EXPECT_EQ(sim::currentFrame(), 0) << "advanceClock must not run frames";
    }
}

TEST(GameClock, SettingTheTimeBackKeepsTheDateAndTheDayCount) {
    startAt({1899, 5, 10, 23, 50});
    sim::advanceClock(20);
    sim::setClock(6, 30);
    EXPECT_EQ(readClock(), (ClockReading{1899, 5, 11, 6, 30}));
    EXPECT_EQ(sim::gameDaysNow(), 1);
    // The frames run into a minute start again, so the next minute is a full 60 frames away.
    sim::runFrames(59);
    EXPECT_EQ(sim::clockMinutesNow(), 30);
    sim::runFrames(1);
    EXPECT_EQ(sim::clockMinutesNow(), 31);
}

TEST(GameClock, ControlsRejectTimesAndDatesThatDoNotExist) {
    sim::resetWorld();
    EXPECT_THROW(sim::setClock(24, 0), std::invalid_argument);
    EXPECT_THROW(sim::setClock(12, 60), std::invalid_argument);
    EXPECT_THROW(sim::setDate({.year = 1899, .month = 1, .day = 29}), std::invalid_argument);
    EXPECT_THROW(sim::setDate({.year = 1899, .month = 12, .day = 1}), std::invalid_argument);
    EXPECT_THROW(sim::advanceClock(-1), std::invalid_argument);
    sim::setDate({.year = 1904, .month = 1, .day = 29});
    EXPECT_EQ(readClock(), (ClockReading{1904, 1, 29, 8, 0}));
}

// Frame times are 0, 33, 66, 100, ... ms; a wait ends on the first frame at least ms later.
TEST(DirectScriptWait, EndsOnTheFirstFrameAtLeastMsLater) {
    struct Case {
        std::int64_t startFrame;
        std::uint32_t ms;
        std::int64_t endFrame;
    };
    const Case cases[] = {
        {0, 0, 1},     {0, 1, 1},  {0, 33, 1}, {0, 34, 2}, {0, 500, 15},
        {0, 1000, 30}, {1, 33, 2}, {1, 34, 3}, {2, 34, 3}, {5, 2000, 65},
    };
    for (const Case& c : cases) {
        sim::resetWorld();
        sim::runFrames(c.startFrame);
        scriptWait(c.ms);
        EXPECT_EQ(sim::currentFrame(), c.endFrame)
            << "scriptWait(" << c.ms << ") from frame " << c.startFrame;
    }
}

TEST(DirectScriptWait, FiresScheduledEventsOnceTheirTimeHasPassedInOrder) {
    sim::resetWorld();
    std::vector<std::string> fired;
    sim::scheduleAt(400, [&] { fired.push_back("b@" + std::to_string(sim::currentTimeMs())); });
    sim::scheduleAt(100, [&] { fired.push_back("a@" + std::to_string(sim::currentTimeMs())); });
    sim::scheduleAt(400, [&] {
        fired.push_back("c@" + std::to_string(sim::currentTimeMs()));
        // Already due: runs in the same frame, after the events before it.
        sim::scheduleAt(0, [&] { fired.push_back("d@" + std::to_string(sim::currentTimeMs())); });
    });
    sim::scheduleAt(401, [&] { fired.push_back("late"); });

    scriptWait(66);
    EXPECT_TRUE(fired.empty()) << "this wait ends on frame 2, at 66 ms";
    scriptWait(334);
    EXPECT_EQ(fired, (std::vector<std::string>{"a@100", "b@400", "c@400", "d@400"}));
}

}  // namespace
