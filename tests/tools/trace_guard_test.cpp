// The trace's size guard and window, checked on the call log directly: the run-time guard is the
// backstop for an estimate that came out too low.
#include <gtest/gtest.h>

#include <sstream>

#include "host/host.h"
#include "natives/catalogue.h"
#include "sim/control.h"
#include "tools/scenario_player.h"
#include "tools/trace_estimate.h"

namespace {

void callPlayerPed(int times) {
    for (int i = 0; i < times; ++i) {
        nativeInit(native::playerPed);
        nativeCall();
    }
}

TEST(TraceGuard, ATraceThatReachesItsLimitStopsTheRunAndKeepsOnlyWholeLinesBelowIt) {
    sim::resetWorld();
    callPlayerPed(100);
    std::ostringstream trace;
    player::Session session;
    session.trace = &trace;
    session.traceWindow.limitBytes = 1000;
    player::takeCalls(session);
    ASSERT_TRUE(session.stopped.has_value()) << "a limit that cannot stop anything";
    EXPECT_NE(
        session.stopped->find("the trace reached its limit of 1000 bytes at day 0 08:00 (frame 0)"),
        std::string::npos)
        << *session.stopped;
    EXPECT_LE(trace.str().size(), 1000u);
    EXPECT_TRUE(trace.str().ends_with("}\n"));
    EXPECT_EQ(session.tracedCalls, 100) << "the chronicle still sees every call";
}

TEST(TraceGuard, TheWindowKeepsFromItsStartUpToButNotIncludingItsEnd) {
    const player::TraceWindow window{.from = 480, .until = 540, .limitBytes = 0};
    EXPECT_FALSE(player::inWindow(window, 479));
    EXPECT_TRUE(player::inWindow(window, 480));
    EXPECT_TRUE(player::inWindow(window, 539));
    EXPECT_FALSE(player::inWindow(window, 540));
    EXPECT_TRUE(player::inWindow({}, 0));
}

TEST(TraceGuard, TheEstimateFollowsTheGameClockThroughClockAndRunCommands) {
    auto framesOf = [](const char* text, player::TraceWindow window) {
        const auto parsed = scenario::parseScenario(text, "e.scenario");
        return traceestimate::framesInWindow(std::get<scenario::Scenario>(parsed), window);
    };
    EXPECT_EQ(framesOf("run 10s\nrun 5 frames\n", {}), 305);
    EXPECT_EQ(framesOf("run 1 game hour\n", {}), 3600);
    EXPECT_EQ(framesOf("run until 09:00\n", {}), 3600) << "the game starts at 08:00";
    EXPECT_EQ(framesOf("run until day 1 08:00\n", {}), 86400);
    // The first hour is skipped by the clock, the last is outside the window.
    EXPECT_EQ(framesOf("clock +1h\nrun 2 game hours\n",
                       {.from = 9 * 60 + 30, .until = 10 * 60 + 30, .limitBytes = 0}),
              3600);
}

}  // namespace
