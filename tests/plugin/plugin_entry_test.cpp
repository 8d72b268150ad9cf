#include "plugin/script_loop.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "natives/slot.h"
#include "tests/support/encounter_fixture.h"

extern "C" int GangHideoutsEntry(void* module, std::uint32_t reason, void* reserved);

namespace {

using namespace encounter_testing;

class PluginEntryTest : public EncounterTest {};

int moduleToken;  // stands in for the library's module handle

TEST_F(PluginEntryTest, AttachRegistersScriptMainAndDetachUnregistersTheSameModule) {
    EXPECT_EQ(GangHideoutsEntry(&moduleToken, 1, nullptr), 1);
    ASSERT_EQ(callNames(), std::vector<std::string>{"scriptRegister"});
    EXPECT_EQ(sim::calls()[0].slots[0], pointerSlot(&moduleToken));
    EXPECT_EQ(sim::registeredScript(), ScriptEntry{scriptMain});

    sim::clearCalls();
    EXPECT_EQ(GangHideoutsEntry(&moduleToken, 0, nullptr), 1);
    ASSERT_EQ(callNames(), std::vector<std::string>{"scriptUnregister"});
    EXPECT_EQ(sim::calls()[0].slots[0], pointerSlot(&moduleToken));
    EXPECT_FALSE(sim::registeredScript().has_value());
}

TEST_F(PluginEntryTest, ThreadNotificationsCallNothingAndStillSucceed) {
    for (const std::uint32_t reason : {2u, 3u}) {
        SCOPED_TRACE(reason);
        EXPECT_EQ(GangHideoutsEntry(&moduleToken, reason, nullptr), 1);
        EXPECT_TRUE(sim::calls().empty());
    }
}

struct StopTheLoop {};

TEST_F(PluginEntryTest, EveryTickOfTheScriptLoopIsFollowedByOneYieldEvenWhenGated) {
    sim::setGate(true);
    // scriptMain never returns; an event thrown out of its yield ends the test's run of it.
    sim::scheduleAt(sim::currentTimeMs() + 100, [] { throw StopTheLoop{}; });

    EXPECT_THROW(scriptMain(), StopTheLoop);

    const std::vector<sim::CallRecord>& calls = sim::calls();
    ASSERT_GE(calls.size(), 4u);
    for (std::size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(calls[i].name(), i % 2 == 0 ? "tickGate" : "scriptWait");
        if (i % 2 == 1) {
            EXPECT_EQ(slotsOf(calls[i]), std::vector<std::uint64_t>{0});
        }
    }
}

}  // namespace
