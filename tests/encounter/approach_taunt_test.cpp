// The approach taunt's decision: the gang's own script, within 50 m, once until the re-arm.
#include "encounter/approach_taunt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "speech/approach_taunts.h"
#include "tests/support/encounter_fixture.h"

namespace {

using namespace encounter_testing;
using Script = std::span<const SpeechStep>;

class ApproachTauntTest : public EncounterTest {};

constexpr Vector3 point{10.0f, 20.0f, 30.0f};

TEST_F(ApproachTauntTest, EachGangHearsItsOwnTauntFromThePlayerWithItsWaits) {
    const std::pair<Gang, Script> cases[] = {
        {Gang::duster, approachTauntDuster},
        {Gang::exConfederate, approachTauntExConfederate},
        {Gang::swamp, approachTauntSwamp},
        {Gang::inbred, approachTauntInbred},
        {Gang::mountainMan, approachTauntMountainMan},
        {Gang::bandito, approachTauntBandito},
    };
    for (const auto& [gang, script] : cases) {
        SCOPED_TRACE(script.front().lineName);
        resetEncounter();
        sim::placePlayer(point);

        playApproachTaunt(profileOf(gang), point);

        EXPECT_EQ(spokenLines(), linesOf(script));
        std::vector<std::uint64_t> waits;
        for (const sim::CallRecord* call : callsNamed("scriptWait"))
            waits.push_back(call->slots[0]);
        std::vector<std::uint64_t> expectedWaits;
        for (const SpeechStep& step : script) {
            if (step.waitAfterMs) expectedWaits.push_back(*step.waitAfterMs);
        }
        EXPECT_EQ(waits, expectedWaits);
        for (const sim::SpeechRecord& speech : sim::speeches()) {
            EXPECT_EQ(speech.speaker, sim::playerPedHandleValue);
        }
        EXPECT_TRUE(encounterState.tauntDone);
    }
}

TEST_F(ApproachTauntTest, TheGateLetsExactlyFiftyMetresThroughAndPlaysOnceUntilTheReArm) {
    struct Case {
        const char* what;
        float playerHeight;
        bool tauntDoneBefore;
        bool plays;
    };
    const float fifty = point.z + 50.0f;
    ASSERT_EQ(fifty - point.z, 50.0f);
    const Case cases[] = {
        {"exactly 50 m", fifty, false, true},
        {"just over 50 m", std::nextafter(fifty, 1000.0f), false, false},
        {"already taunted", point.z, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        resetEncounter();
        sim::placePlayer({point.x, point.y, c.playerHeight});
        encounterState.tauntDone = c.tauntDoneBefore;

        playApproachTaunt(profileOf(Gang::inbred), point);

        EXPECT_EQ(sim::speeches().empty(), !c.plays);
        EXPECT_EQ(encounterState.tauntDone, c.plays || c.tauntDoneBefore);
        // The position and distance are taken before tauntDone is looked at.
        const auto names = callNames();
        ASSERT_GE(names.size(), 3u);
        EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 3),
                  (std::vector<std::string>{"playerPed", "entityCoords", "distanceBetween"}));
    }
}

}  // namespace
