#include "tools/trace_estimate.h"

#include <algorithm>
#include <type_traits>

#include "sim/control.h"

namespace traceestimate {

namespace {

// The game clock as the scenario moves it, in frames: minutes * framesPerGameMinute.
struct ClockWalk {
    const player::TraceWindow& window;
    std::int64_t framesPerMinute = gametime::framesForGameMinutes(1);
    std::int64_t at;  // frames since 00:00 of day 0
    std::int64_t traced = 0;

    void run(std::int64_t frames) {
        std::int64_t from = at;
        std::int64_t until = at + frames;
        if (window.from) from = std::max(from, *window.from * framesPerMinute);
        if (window.until) until = std::min(until, *window.until * framesPerMinute);
        traced += std::max<std::int64_t>(0, until - from);
        at += frames;
    }
    void runTo(gametime::Moment moment) {
        run(std::max<std::int64_t>(0, moment * framesPerMinute - at));
    }
    gametime::Moment moment() const { return at / framesPerMinute; }
    std::int64_t day() const { return moment() / gametime::momentOf(1, 0, 0); }
};

}  // namespace

std::int64_t framesInWindow(const scenario::Scenario& scenario, const player::TraceWindow& window) {
    const sim::WorldOptions world{};
    ClockWalk clock{.window = window,
                    .at = gametime::framesForGameMinutes(
                        gametime::momentOf(0, world.startHours, world.startMinutes))};
    for (const scenario::Command& command : scenario.commands) {
        std::visit(
            [&](const auto& action) {
                using namespace scenario;
                using T = std::decay_t<decltype(action)>;
                if constexpr (std::is_same_v<T, ClockSet>) {
                    clock.at = gametime::framesForGameMinutes(gametime::momentOf(
                        static_cast<int>(clock.day()), action.hours, action.minutes));
                } else if constexpr (std::is_same_v<T, ClockAdvance>) {
                    clock.at += gametime::framesForGameMinutes(action.minutes);
                } else if constexpr (std::is_same_v<T, RunFor>) {
                    clock.run(gametime::framesForMs(action.ms));
                } else if constexpr (std::is_same_v<T, RunFrames>) {
                    clock.run(action.frames);
                } else if constexpr (std::is_same_v<T, RunUntil>) {
                    gametime::Moment then = gametime::momentOf(static_cast<int>(clock.day()),
                                                               action.hours, action.minutes);
                    if (then < clock.moment()) then += gametime::momentOf(1, 0, 0);
                    clock.runTo(then);
                } else if constexpr (std::is_same_v<T, RunUntilMoment>) {
                    clock.runTo(action.moment);
                } else if constexpr (std::is_same_v<T, RunGameMinutes>) {
                    clock.run(gametime::framesForGameMinutes(action.minutes));
                }
            },
            command.action);
    }
    return clock.traced;
}

std::int64_t estimatedBytes(const scenario::Scenario& scenario, const player::TraceWindow& window) {
    return framesInWindow(scenario, window) * bytesPerIdleFrame;
}

}  // namespace traceestimate
