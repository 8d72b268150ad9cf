// The wait rule of the script host, played in both of its modes: the script waits in frame 1
// (frame time 33 ms) and must resume at the first later frame at least the wait's length on.
// Frames are 1/30 s, whole milliseconds: frame n is at n * 1000 / 30 ms.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <thread>

#include "natives/catalogue.h"
#include "sim/control.h"
#include "sim/script_fibre.h"

namespace {

struct WaitCase {
    std::uint32_t ms;
    std::int64_t resumeFrame;
};

constexpr WaitCase waitCases[] = {
    {0, 2},       // scriptWait(0): the next frame
    {1, 2},       // shorter than a frame: still the next one
    {33, 2},      // frame 2 is exactly 33 ms on
    {34, 3},      // one millisecond more: a frame later
    {100, 4},     // 133 ms
    {1000, 31},   // 1033 ms
    {3500, 106},  // the spawner's pause: 3533 ms, not frame 105 at 3500
};

int moduleToken;  // stands in for the plug-in's module handle
std::uint32_t waitLength = 0;
std::int64_t waitedIn = -1;
std::optional<std::int64_t> resumedAt;

void waitOnce() {
    waitedIn = sim::currentFrame();
    scriptWait(waitLength);
    resumedAt = sim::currentFrame();
    for (;;) scriptWait(0);
}

TEST(ScriptFibreTest, ASuspendedScriptResumesAtTheFirstFrameItsWaitIsOver) {
    for (const WaitCase& wait : waitCases) {
        SCOPED_TRACE(wait.ms);
        sim::resetWorld();
        sim::startFibreHost();
        waitLength = wait.ms;
        resumedAt.reset();
        scriptRegister(&moduleToken, waitOnce);
        for (int frame = 0; frame < 200 && !resumedAt && sim::runScriptFrame(); ++frame) {
        }
        scriptUnregister(&moduleToken);
        sim::runScriptFrame();
        sim::stopFibreHost();
        EXPECT_FALSE(sim::hostFailure().has_value());
        EXPECT_EQ(waitedIn, 1);
        EXPECT_EQ(resumedAt, wait.resumeFrame);
    }
}

TEST(ScriptFibreTest, DirectModeWaitsRunTheWorldToTheSameFrames) {
    for (const WaitCase& wait : waitCases) {
        SCOPED_TRACE(wait.ms);
        sim::resetWorld();
        sim::runFrames(1);
        scriptWait(wait.ms);
        EXPECT_EQ(sim::currentFrame(), wait.resumeFrame);
    }
}

void callClockHours() {
    nativeInit(native::clockHours);
    nativeCall();
}

void callsFromTheFibre() {
    callClockHours();
    for (;;) scriptWait(0);
}

void callsFromAThreadOfItsOwn() {
    std::thread(callClockHours).join();
    for (;;) scriptWait(0);
}

void callsNothing() {
    for (;;) scriptWait(0);
}

// Natives are taken from the script fibre only: not from another thread while the fibre runs,
// nor from the host's thread between frames.
TEST(ScriptFibreTest, ANativeFromAnywhereButTheScriptFibreStopsTheRun) {
    struct CallerCase {
        const char* caller;
        ScriptEntry script;
        bool callBetweenFrames;
        bool refused;
    };
    const CallerCase cases[] = {
        {"the script fibre", callsFromTheFibre, false, false},
        {"a thread the script started", callsFromAThreadOfItsOwn, false, true},
        {"the host thread between frames", callsNothing, true, true},
    };
    for (const CallerCase& c : cases) {
        SCOPED_TRACE(c.caller);
        sim::resetWorld();
        sim::startFibreHost();
        scriptRegister(&moduleToken, c.script);
        sim::runScriptFrame();
        if (c.callBetweenFrames) callClockHours();
        sim::runScriptFrame();
        scriptUnregister(&moduleToken);
        sim::stopFibreHost();
        const std::optional<std::string> failure = sim::hostFailure();
        EXPECT_EQ(failure.has_value(), c.refused);
        if (c.refused) {
            EXPECT_NE(failure->find("called off the script fibre"), std::string::npos);
        }
    }
}

}  // namespace
