#include "sim/invariants.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "data/squad_formation.h"
#include "encounter/tick_director.h"
#include "sim/script_fibre.h"
#include "sim/world.h"
#include "speech/aftermath_scripts.h"
#include "speech/approach_taunts.h"

namespace sim {

namespace {

InvariantTracker& tracker() {
    return world().invariants;
}

// Only called once a rule is broken: the one place that makes text.
[[noreturn]] void broken(std::string_view rule, const std::string& detail) {
    throw HostError("invariant broken at frame " + std::to_string(world().frame) + ": " +
                    std::string(rule) + ": " + detail);
}

std::string describePed(Ped ped) {
    return "ped " + std::to_string(ped);
}

std::string describePoint(int index) {
    int first = 0;
    for (const GangProfile& profile : gangProfiles) {
        const int size = static_cast<int>(profile.hideouts.size());
        if (index < first + size) {
            const Vector3 p = profile.hideouts[static_cast<std::size_t>(index - first)];
            return "hideout " + std::to_string(index - first + 1) + " of gang list " +
                   std::to_string(static_cast<int>(profile.gang) + 1) + " (" + std::to_string(p.x) +
                   ", " + std::to_string(p.y) + ", " + std::to_string(p.z) + ")";
        }
        first += size;
    }
    return "hideout ?";
}

Vector3 hideoutPoint(int index) {
    for (const GangProfile& profile : gangProfiles) {
        const int size = static_cast<int>(profile.hideouts.size());
        if (index < size) return profile.hideouts[static_cast<std::size_t>(index)];
        index -= size;
    }
    return {};
}

bool samePoint(Vector3 a, Vector3 b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// A point listed twice is one hideout: its first index stands for both.
int canonicalPoint(int index) {
    const Vector3 point = hideoutPoint(index);
    for (int i = 0; i < index; ++i) {
        if (samePoint(hideoutPoint(i), point)) return i;
    }
    return index;
}

Vector3 formationPlace(Vector3 point, std::size_t slot) {
    const Vector3& offset = squadFormation[slot];
    return {point.x + offset.x, point.y + offset.y, point.z + offset.z};
}

// The hideout whose formation puts a member of `slot` exactly at position; -1 if none.
int hideoutOfMember(Vector3 position, std::size_t slot) {
    for (int i = 0; i < static_cast<int>(hideoutPointCount); ++i) {
        if (samePoint(formationPlace(hideoutPoint(i), slot), position)) return canonicalPoint(i);
    }
    return -1;
}

float distance(Vector3 a, Vector3 b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    const float dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

void addLines(std::vector<std::string_view>& lines, std::span<const SpeechStep> steps) {
    for (const SpeechStep& step : steps) lines.emplace_back(step.lineName);
}

// Every line the plug-in has compiled in: the squads' spawn lines and the speech scripts'.
const std::vector<std::string_view>& compiledLines() {
    static const std::vector<std::string_view> lines = [] {
        std::vector<std::string_view> all;
        for (const GangProfile& profile : gangProfiles) all.emplace_back(profile.spawnLine);
        // Every gang's scripts come with its profile; the default aftermath scripts are added
        // for the gangs the fight aftermath never finds by model.
        for (const GangProfile& profile : gangProfiles) {
            addLines(all, profile.approachTaunt);
            addLines(all, profile.firstKillLines);
            addLines(all, profile.closingLines);
        }
        addLines(all, firstKillLinesDefault);
        addLines(all, closingLinesDefault);
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        return all;
    }();
    return lines;
}

std::int64_t clockMinute() {
    const GameClock& clock = world().clock;
    return clock.dayNumber * minutesPerDay + clock.minuteOfDay;
}

// The re-arm as the builds define it: a cooldown shorter than a day runs on the time of day
// (minutes from the stamp forward, across midnight); a day or more runs on the calendar, and a
// clock put back before the stamp counts the cooldown from there.
void rearmIfDue(InvariantTracker& t) {
    if (t.cooldownMinutes <= 0) return;
    const std::int64_t now = clockMinute();
    std::int64_t elapsed = 0;
    if (t.cooldownMinutes < minutesPerDay) {
        elapsed = ((now - t.stampMinute) % minutesPerDay + minutesPerDay) % minutesPerDay;
    } else {
        if (!t.stamped) return;
        elapsed = now - t.stampMinute;
        if (elapsed < 0) {
            t.stampMinute = now;
            return;
        }
    }
    if (elapsed < t.cooldownMinutes) return;
    t.encounterActive = false;
    t.visited.fill(false);
}

void startSquad(InvariantTracker& t, Vector3 position) {
    const int point = hideoutOfMember(position, 0);
    ++t.counts.squads;
    t.squadPoint = point;
    if (!t.enabled) return;
    if (t.createPedsThisTick > 0) {
        broken("one squad per tick",
               "a second squad starts in the same tick, its first member at (" +
                   std::to_string(position.x) + ", " + std::to_string(position.y) + ", " +
                   std::to_string(position.z) + ")");
    }
    if (point < 0) {
        broken("in reach", "the first member of a squad stands at (" + std::to_string(position.x) +
                               ", " + std::to_string(position.y) + ", " +
                               std::to_string(position.z) + "), in formation at no hideout point");
    }
    const Vector3 hideout = hideoutPoint(point);
    if (!t.playerSeen || !(distance(t.playerSeenAt, hideout) < triggerDistance)) {
        broken("in reach", "a squad spawns at " + describePoint(point) + ", " +
                               (t.playerSeen ? std::to_string(distance(t.playerSeenAt, hideout)) +
                                                   " m from where the plug-in last saw the player"
                                             : std::string("before the plug-in saw the player")));
    }
    if (t.cooldownMinutes > 0) {
        if (t.encounterActive) {
            broken("armed",
                   "a squad spawns at " + describePoint(point) +
                       " while an encounter runs (no re-arm, no death since the last squad)");
        }
        if (t.visited[static_cast<std::size_t>(point)]) {
            broken("armed",
                   "a squad spawns at " + describePoint(point) + ", visited since the last re-arm");
        }
    }
}

}  // namespace

void noteTickGate(bool skipFrame) {
    InvariantTracker& t = tracker();
    ++t.counts.ticks;
    t.createPedsThisTick = 0;
    t.playerSeen = skipFrame ? t.playerSeen : false;
}

void notePlayerSeen(Vector3 position) {
    InvariantTracker& t = tracker();
    t.playerSeen = true;
    t.playerSeenAt = position;
}

void notePlayerDeadAnswer(bool dead) {
    if (dead) tracker().encounterActive = false;
}

void noteClockRead() {
    InvariantTracker& t = tracker();
    if (t.stampPending) {
        t.stampPending = false;
        t.stamped = true;
        t.stampMinute = clockMinute();
        return;
    }
    rearmIfDue(t);
}

void noteCreatePed(Vector3 position, Ped created) {
    InvariantTracker& t = tracker();
    const std::size_t slot = static_cast<std::size_t>(t.createPedsThisTick % squadSize);
    if (slot == 0) startSquad(t, position);
    ++t.createPedsThisTick;
    ++t.createPedCalls;
    if (created != 0) {
        ++t.counts.membersCreated;
        ++t.pedsInWorld;
    }
    if (slot + 1 == static_cast<std::size_t>(squadSize)) {
        t.stampPending = true;
        t.encounterActive = true;
        if (t.squadPoint >= 0) t.visited[static_cast<std::size_t>(t.squadPoint)] = true;
    }
    if (!t.enabled || t.squadPoint < 0) return;
    if (!samePoint(position, formationPlace(hideoutPoint(t.squadPoint), slot))) {
        broken("in reach", "member " + std::to_string(slot + 1) + " of the squad at " +
                               describePoint(t.squadPoint) + " stands out of its formation place");
    }
}

void noteDeleteEntity(Ped ped) {
    InvariantTracker& t = tracker();
    ++t.deleteEntityCalls;
    PedState* state = createdPed(ped);
    if (state != nullptr && state->exists) {
        ++t.counts.membersDeleted;
        --t.pedsInWorld;
    }
    if (!t.enabled || ped == 0) return;  // handle 0 names no entity: the game ignores it
    if (wasPlayerPed(ped))
        broken("own peds", "deleteEntity of " + describePed(ped) + ", the player's");
    if (state == nullptr) {
        broken("own peds",
               "deleteEntity of " + describePed(ped) + ", which the plug-in never created");
    }
    if (state->deletedByPlugin)
        broken("own peds", "deleteEntity of " + describePed(ped) + " a second time");
}

void noteSpeech(Ped speaker, std::string_view line) {
    InvariantTracker& t = tracker();
    ++t.counts.linesSaid;
    if (!t.enabled) return;
    const std::vector<std::string_view>& lines = compiledLines();
    if (!std::binary_search(lines.begin(), lines.end(), line)) {
        broken("lines", describePed(speaker) + " says \"" + std::string(line) +
                            "\", which is no compiled-in line");
    }
    if (speaker == 0 || speaker == world().playerPed) return;  // 0: a member the pool refused
    const PedState* member = createdPed(speaker);
    if (member == nullptr || member->deletedByPlugin) {
        broken("lines", describePed(speaker) + " says \"" + std::string(line) +
                            "\" but is neither the player nor a squad member");
    }
}

void notePedRemovedByGame() {
    --tracker().pedsInWorld;
}

void checkFrameInvariants() {
    InvariantTracker& t = tracker();
    if (!t.enabled || t.probe == nullptr) return;
    std::size_t rosterSize = 0;
    std::size_t registryEntries = 0;
    t.probe(t.roster.data(), t.roster.size(), &rosterSize, &registryEntries);
    try {
        if (registryEntries > hideoutPointCount) {
            broken("bounded memory", std::to_string(registryEntries) +
                                         " visit registry entries, more than the " +
                                         std::to_string(hideoutPointCount) + " hideout points");
        }
        if (static_cast<std::int64_t>(rosterSize) > t.createPedCalls - t.deleteEntityCalls) {
            broken("bounded memory", "the roster holds " + std::to_string(rosterSize) +
                                         " entries, more than the " +
                                         std::to_string(t.createPedCalls - t.deleteEntityCalls) +
                                         " peds created and not deleted");
        }
        // Every ped still in the world is in the roster, except the members of a squad still
        // being created, which join the roster one by one after their setup.
        const std::size_t held = std::min(rosterSize, t.roster.size());
        std::int64_t inWorldAndHeld = 0;
        for (std::size_t i = 0; i < held; ++i) {
            if (existingPed(t.roster[i]) != nullptr) ++inWorldAndHeld;
        }
        if (t.pedsInWorld - inWorldAndHeld > t.createPedsThisTick) {
            for (const PedState& ped : world().peds) {
                const bool inRoster =
                    std::find(t.roster.begin(),
                              t.roster.begin() + static_cast<std::ptrdiff_t>(held),
                              ped.handle) != t.roster.begin() + static_cast<std::ptrdiff_t>(held);
                if (ped.exists && !inRoster) {
                    broken("no leak", describePed(ped.handle) +
                                          " is in the world but no longer in the plug-in's roster");
                }
            }
        }
    } catch (const HostError& error) {
        if (!fibreHostActive()) throw;
        recordHostFailure(error.what());
    }
}

void setFootprintProbe(FootprintProbe probe) {
    tracker().probe = probe;
}

RunCounts runCounts() {
    return tracker().counts;
}

}  // namespace sim
