// libFuzzer target: the plug-in's tick, run the way its script loop runs it, against the
// simulated game in direct mode with the invariants checked, while the input decides what the
// game answers: where the player is (any float, NaN included), deaths, the clock and the date
// (forward and back), peds that vanish, die or move, a pool that refuses, a gate, models that go
// missing, a new player character. Many of these land in the middle of a tick, during its waits.
// A broken invariant or any other host error ends the input with an abort: a finding.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "data/gang_profiles.h"
#include "encounter/encounter_state.h"
#include "encounter/respawn_cooldown.h"
#include "encounter/tick_director.h"
#include "sim/control.h"
#include "sim/invariants.h"

namespace {

constexpr int mostTicks = 64;

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t byte() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
    std::uint32_t word() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value = value << 8 | byte();
        return value;
    }
    float anyFloat() {
        const std::uint32_t bits = word();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
};

void footprint(Ped* roster, std::size_t capacity, std::size_t* rosterSize,
               std::size_t* registryEntries) {
    const GangRoster& gangRoster = encounterState.gangRoster;
    for (std::size_t i = 0; i < gangRoster.size() && i < capacity; ++i)
        roster[i] = gangRoster[i].ped;
    *rosterSize = gangRoster.size();
    *registryEntries = encounterState.visitRegistry.entries.size();
}

Vector3 hideoutNear(Input& in) {
    const GangProfile& profile = gangProfiles[in.byte() % gangProfiles.size()];
    const Vector3 point = profile.hideouts[in.byte() % profile.hideouts.size()];
    const float dx = static_cast<float>(static_cast<std::int8_t>(in.byte()));
    const float dy = static_cast<float>(static_cast<std::int8_t>(in.byte()));
    return {point.x + dx, point.y + dy, point.z};
}

Ped someCreatedPed(Input& in) {
    const std::vector<Ped> peds = sim::createdPeds();
    return peds.empty() ? 0 : peds[in.byte() % peds.size()];
}

// One change to the game, decided by the input.
void perturb(Input& in) {
    switch (in.byte() % 12) {
        case 0:
            sim::placePlayer(hideoutNear(in));
            break;
        case 1:
            sim::placePlayer({in.anyFloat(), in.anyFloat(), in.anyFloat()});
            break;
        case 2:
            sim::setPlayerDead(in.byte() % 2 == 0);
            break;
        case 3:
            sim::setClock(in.byte() % 24, in.byte() % 60);
            break;
        case 4:
            sim::advanceClock(static_cast<int>(in.word() % (4 * 24 * 60)));
            break;
        case 5:
            sim::setDate(
                {.year = 1899 + in.byte() % 2, .month = in.byte() % 12, .day = 1 + in.byte() % 28});
            break;
        case 6:
            if (const Ped ped = someCreatedPed(in)) sim::vanishPed(ped);
            break;
        case 7:
            if (const Ped ped = someCreatedPed(in)) sim::killPed(ped);
            break;
        case 8:
            if (const Ped ped = someCreatedPed(in))
                sim::movePed(ped, {in.anyFloat(), in.anyFloat(), in.anyFloat()});
            break;
        case 9:
            sim::setPedPoolCap(in.byte() % 16);
            break;
        case 10:
            sim::setGate(in.byte() % 3 == 0);
            break;
        default: {
            const GangProfile& profile = gangProfiles[in.byte() % gangProfiles.size()];
            const std::uint8_t how = in.byte() % 3;
            if (how == 0) sim::setModelNeverLoads(profile.primaryModel);
            if (how == 1) sim::setModelLoads(profile.primaryModel);
            if (how == 2) sim::newPlayerPed();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{data, size};
    sim::WorldOptions options;
    options.seed = in.byte();
    options.startHours = in.byte() % 24;
    options.modelLoadDelayFrames = in.byte() % 4;
    options.checkInvariants = true;
    options.cooldownMinutes = RespawnCooldown;
    sim::resetWorld(options);
    sim::setFootprintProbe(footprint);
    encounterState = EncounterState{};
    try {
        for (int ticks = 0; ticks < mostTicks && in.size > 0; ++ticks) {
            // Changes now, and changes that land during the tick's waits.
            for (int changes = in.byte() % 4; changes > 0; --changes) {
                const std::uint8_t when = in.byte();
                const std::size_t taken = in.size < 8 ? in.size : 8;
                const std::vector<std::uint8_t> bytes(in.data, in.data + taken);
                in.data += taken;
                in.size -= taken;
                if (when < 128) {
                    Input now{bytes.data(), bytes.size()};
                    perturb(now);
                } else {
                    sim::scheduleAt(sim::currentTimeMs() + (when - 128) * 250, [bytes] {
                        Input later{bytes.data(), bytes.size()};
                        perturb(later);
                    });
                }
            }
            tick();
            scriptWait(0);
        }
    } catch (const sim::HostError& error) {
        std::fprintf(stderr, "tick fuzz: %s\n", error.what());
        std::abort();
    }
    return 0;
}
