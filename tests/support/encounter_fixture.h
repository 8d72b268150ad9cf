// A fresh world and fresh encounter state for every test, and small readers over what the
// simulated game saw.
#pragma once

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "encounter/encounter_state.h"
#include "natives/wrappers.h"
#include "sim/control.h"
#include "speech/speech_request.h"
#include "tests/support/fresh_encounter.h"
#include "tests/support/sim_calls.h"

namespace encounter_testing {

using testing_calls::callNames;
using testing_calls::callsNamed;
using testing_calls::slotsOf;

class EncounterTest : public ::testing::Test {
protected:
    void SetUp() override { resetEncounter(); }
};

// A member put straight into the world and the roster, without the spawner, so a test can place
// squads where it needs them.
inline Ped addMember(const char* modelName, Vector3 at, bool dead = false) {
    const Hash model = sim::gameHash(modelName);
    loadModel(model);
    const Ped ped = createPed(model, at.x, at.y, at.z);
    appendMember(encounterState.gangRoster, ped);
    if (dead) sim::killPed(ped);
    return ped;
}

inline std::vector<std::string> spokenLines() {
    std::vector<std::string> lines;
    for (const sim::SpeechRecord& speech : sim::speeches()) lines.push_back(speech.line);
    return lines;
}

inline std::vector<std::string> linesOf(std::span<const SpeechStep> script) {
    std::vector<std::string> lines;
    for (const SpeechStep& step : script) lines.push_back(step.lineName);
    return lines;
}

// The handles the game was asked to delete, in call order.
inline std::vector<std::string> deletedHandles() {
    std::vector<std::string> handles;
    for (const sim::CallRecord* call : callsNamed("deleteEntity"))
        handles.push_back(sim::argsJson(*call));
    return handles;
}

inline std::string handleJson(Ped ped) {
    return "[" + std::to_string(ped) + "]";
}

inline std::vector<Ped> rosterPeds() {
    std::vector<Ped> peds;
    for (const RosterEntry& entry : encounterState.gangRoster) peds.push_back(entry.ped);
    return peds;
}

}  // namespace encounter_testing
