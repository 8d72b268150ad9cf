// The plug-in's own allocations, counted against the null host (which allocates nothing): what a
// frame of the plug-in costs the game's heap.
#include <gtest/gtest.h>

#include "bench/null_host.h"
#include "counting_allocator.h"
#include "data/hideouts.h"
#include "data/squad_formation.h"
#include "encounter/encounter_state.h"
#include "encounter/tick_director.h"
#include "speech/speech_request.h"

namespace {

using counting_allocator::allocationsDuring;

using nullhost::resetWithFreshPlugin;

void ticks(int count) {
    for (int i = 0; i < count; ++i) tick();
}

TEST(PluginAllocations, IdleTicksAllocateNothing) {
    resetWithFreshPlugin(1000.0f);
    EXPECT_EQ(allocationsDuring([] { ticks(100); }), 0);
}

TEST(PluginAllocations, TicksWithALivingSquadAllocateNothing) {
    resetWithFreshPlugin(10.0f);
    tick();
    ASSERT_EQ(encounterState.gangRoster.size(), static_cast<std::size_t>(squadSize));
    ASSERT_TRUE(encounterState.encounterActive);
    EXPECT_EQ(allocationsDuring([] { ticks(100); }), 0);
    EXPECT_EQ(encounterState.gangRoster.size(), static_cast<std::size_t>(squadSize))
        << "the squad lived on";
}

// Whatever growing the roster to a squad and inserting one registry entry allocate, replayed on
// copies of both as they were before the tick; nothing else may allocate.
TEST(PluginAllocations, ASpawnAllocatesOnlyRosterGrowthAndOneRegistryEntry) {
    resetWithFreshPlugin(10.0f);
    GangRoster roster = encounterState.gangRoster;
    VisitRegistry registry = encounterState.visitRegistry;
    const std::int64_t allowed = allocationsDuring([&] {
        for (Ped ped = 1; ped <= squadSize; ++ped) appendMember(roster, ped);
        visitedFlag(registry, dusterHideouts[0]) = true;
    });
    ASSERT_GT(allowed, 0);

    const std::int64_t allocations = allocationsDuring([] { tick(); });
    ASSERT_EQ(encounterState.gangRoster.size(), static_cast<std::size_t>(squadSize))
        << "the tick spawned a squad";
    ASSERT_EQ(encounterState.visitRegistry.entries.size(), 1u);
    EXPECT_EQ(allocations, allowed);
}

TEST(PluginAllocations, ASpokenLineAllocatesNothing) {
    resetWithFreshPlugin(1000.0f);
    EXPECT_EQ(allocationsDuring([] { sayLine("RE_KT_NBX_V2_POST_SHIT", 1, 2); }), 0);
    EXPECT_EQ(nullhost::nativeCalls(), 3) << "randomIntInRange, playerPed, playAmbientSpeech";
}

}  // namespace
