#include "tools/chronicle.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <set>
#include <tuple>

#include "data/squad_formation.h"
#include "host/clock_units.h"
#include "natives/slot.h"
#include "speech/aftermath_scripts.h"
#include "tools/scenario.h"

namespace chronicle {

namespace {

// A member stands on its formation slot to float precision; anything closer than this to
// "hideout point + slot 1 offset" is that point.
constexpr float samePointMetres = 0.5f;

// Every speech script of the plug-in, named as the timeline labels it: the taunts in profile
// order, then the first-kill and the closing scripts in the order the fight aftermath looks them
// up, each followed by the default one. A line is matched to the first script it opens.
const std::vector<KnownScript>& knownScripts() {
    static const std::vector<KnownScript> scripts = [] {
        std::vector<KnownScript> all;
        for (const GangProfile& profile : gangProfiles) {
            all.push_back({std::string(profile.displayName) + " taunt", profile.approachTaunt});
        }
        std::vector<const GangProfile*> lookup;
        for (const GangProfile& profile : gangProfiles) {
            if (profile.aftermathLookup > 0) lookup.push_back(&profile);
        }
        std::sort(lookup.begin(), lookup.end(), [](const GangProfile* a, const GangProfile* b) {
            return a->aftermathLookup < b->aftermathLookup;
        });
        for (const GangProfile* profile : lookup) {
            all.push_back({"first-kill lines, " + std::string(profile->displayName), profile->firstKillLines});
        }
        all.push_back({"first-kill lines, Default", firstKillLinesDefault});
        for (const GangProfile* profile : lookup) {
            all.push_back({"closing lines, " + std::string(profile->displayName), profile->closingLines});
        }
        all.push_back({"closing lines, Default", closingLinesDefault});
        return all;
    }();
    return scripts;
}

using PointBits = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>;

PointBits bitsOf(float x, float y, float z) {
    return {std::bit_cast<std::uint32_t>(x), std::bit_cast<std::uint32_t>(y),
            std::bit_cast<std::uint32_t>(z)};
}

// Every hideout point exactly as the plug-in passes it to distanceBetween.
const std::set<PointBits>& hideoutPoints() {
    static const std::set<PointBits> points = [] {
        std::set<PointBits> all;
        for (const GangProfile& profile : gangProfiles) {
            for (const Vector3& point : profile.hideouts) all.insert(bitsOf(point.x, point.y, point.z));
        }
        return all;
    }();
    return points;
}

When whenOf(const sim::CallRecord& record) {
    return {record.frame, record.timeMs, record.day, record.clockHours, record.clockMinutes};
}

std::int64_t wholeNumberIn(std::string_view json) {
    while (!json.empty() && (json.front() == '[' || json.front() == ' ')) json.remove_prefix(1);
    std::int64_t value = 0;
    std::from_chars(json.data(), json.data() + json.size(), value);
    return value;
}

std::string metres(float value) {
    std::array<char, 32> text{};
    auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value,
                                      std::chars_format::fixed, 1);
    return error == std::errc{} ? std::string(text.data(), end) : "?";
}

std::string describePosition(Vector3 position) {
    return "(" + metres(position.x) + ", " + metres(position.y) + ", " + metres(position.z) + ")";
}

float distance(Vector3 a, Vector3 b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    const float dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

void add(Chronicle& chronicle, When when, std::string text) {
    chronicle.unprinted.push_back({when, std::move(text)});
}

std::string describePed(Ped ped) {
    return ped == sim::playerPedHandle() ? "player" : "ped " + std::to_string(ped);
}

// Where a squad whose first member stands at firstMember was spawned.
void locateSquad(Squad& squad, Vector3 firstMember) {
    const Vector3 slot1 = squadFormation[0];
    squad.hideout = {firstMember.x - slot1.x, firstMember.y - slot1.y, firstMember.z - slot1.z};
    squad.point = 0;
    for (const GangProfile& profile : gangProfiles) {
        for (std::size_t i = 0; i < profile.hideouts.size(); ++i) {
            if (distance(profile.hideouts[i], squad.hideout) < samePointMetres) {
                squad.gang = profile.gang;
                squad.point = static_cast<int>(i) + 1;
                squad.hideout = profile.hideouts[i];
                return;
            }
        }
    }
}

void noteCreatedPed(Chronicle& chronicle, const sim::CallRecord& record) {
    const When when = whenOf(record);
    const Ped ped = static_cast<Ped>(wholeNumberIn(record.resultJson));
    const Vector3 position{slotFloat(record.slots[1]), slotFloat(record.slots[2]),
                           slotFloat(record.slots[3])};
    if (chronicle.modelRequested || chronicle.squads.empty()) {
        chronicle.modelRequested = false;
        Squad squad{};
        squad.number = static_cast<int>(chronicle.squads.size()) + 1;
        squad.model = modelName(slotHash(record.slots[0]));
        squad.spawned = when;
        locateSquad(squad, position);
        const std::string gang = squad.gang ? std::string(profileOf(*squad.gang).displayName) + " squad" : "a squad";
        add(chronicle, when,
            "squad " + std::to_string(squad.number) + ": " + gang + " spawning at " +
                describePoint(squad) + ", model " + squad.model);
        chronicle.squads.push_back(std::move(squad));
        chronicle.quietSinceSpawn = true;
        chronicle.newTickSinceSpawn = false;
    }
    Squad& squad = chronicle.squads.back();
    squad.complete = when;
    squad.members.push_back(ped);
    squad.positions.push_back(position);
    const std::string slot = std::to_string(squad.members.size()) + "/" + std::to_string(squadSize);
    add(chronicle, when,
        ped == 0 ? "  member " + slot + ": the game created no ped (createPed gave 0)"
                 : "  ped " + std::to_string(ped) + " created (" + slot + ") at " + describePosition(position));
}

// The player's lines, labelled with the script they belong to when they follow one.
std::string scriptLabel(Chronicle& chronicle, std::string_view line) {
    const KnownScript* script = chronicle.script;
    if (script != nullptr && chronicle.scriptStep < script->steps.size() &&
        line == script->steps[chronicle.scriptStep].lineName) {
        ++chronicle.scriptStep;
    } else {
        chronicle.script = nullptr;
        for (const KnownScript& known : knownScripts()) {
            if (line == known.steps[0].lineName) {
                chronicle.script = &known;
                chronicle.scriptStep = 1;
                break;
            }
        }
    }
    if (chronicle.script == nullptr) return {};
    return " (" + chronicle.script->label + " " + std::to_string(chronicle.scriptStep) + "/" +
           std::to_string(chronicle.script->steps.size()) + ")";
}

void noteSpeech(Chronicle& chronicle, const sim::CallRecord& record) {
    const std::vector<sim::SpeechRecord>& speeches = sim::speeches();
    if (chronicle.speechesSeen >= speeches.size()) return;
    const sim::SpeechRecord& speech = speeches[chronicle.speechesSeen++];
    ++chronicle.saidCount[speech.line];
    const bool byPlayer = speech.speaker == sim::playerPedHandle();
    const std::string label = byPlayer ? scriptLabel(chronicle, speech.line) : std::string{};
    add(chronicle, whenOf(record),
        (byPlayer ? "" : "  ") + describePed(speech.speaker) + label + " says " + speech.line +
            " (variation " + std::to_string(speech.variation) + ")");
}

void noteDeleted(Chronicle& chronicle, const sim::CallRecord& record) {
    const Ped ped = static_cast<Ped>(wholeNumberIn(record.argsJson));
    const std::optional<sim::PedState> state = sim::pedState(ped);
    const When when = whenOf(record);
    if (!state) {
        add(chronicle, when, "the plug-in deleted " + describePed(ped) + ", which the game never created");
        return;
    }
    ++chronicle.deletedCount;
    std::string why = state->dead ? "dead" : "alive";
    // The record is read after the call, when the plug-in's own delete has already removed the
    // ped; only a vanish noted earlier means the game removed it first.
    const bool vanishedBefore =
        std::any_of(chronicle.marks.begin(), chronicle.marks.end(), [ped](const PedMark& mark) {
            return mark.kind == MarkKind::vanished && mark.ped == ped;
        });
    if (vanishedBefore) {
        why = "the game had already removed it";
    } else if (sim::playerDeadNow()) {
        why += ", the player is dead";
    } else if (!chronicle.playerPath.empty()) {
        why += ", " + metres(distance(state->position, chronicle.playerPath.back().position)) +
               " m from the player";
    }
    chronicle.marks.push_back({MarkKind::deleted, ped, state->position, when});
    add(chronicle, when, "ped " + std::to_string(ped) + " deleted by the plug-in (" + why + ")");
}

void noteModelGivenUp(Chronicle& chronicle, const sim::CallRecord& record) {
    if (!chronicle.modelRequested || slotHash(record.slots[0]) != chronicle.requestedModel) return;
    chronicle.modelRequested = false;
    const When when = whenOf(record);
    const std::int64_t waitedMs = when.timeMs - chronicle.requestedAt.timeMs;
    add(chronicle, when,
        "the plug-in gave up loading " + modelName(chronicle.requestedModel) + " after " +
            metres(static_cast<float>(waitedMs) / 1000.0f) + " s: no squad");
}

// The hideout walk after a spawn means the encounter is no longer active: the player died, or
// the cooldown re-armed the hideouts. Which one is read from the plug-in's own last look at the
// player: a death and a revival while it waited never reached it.
void noteHideoutWalk(Chronicle& chronicle, const sim::CallRecord& record) {
    if (!chronicle.quietSinceSpawn || !chronicle.newTickSinceSpawn) return;
    if (!hideoutPoints().contains(bitsOf(slotFloat(record.slots[3]), slotFloat(record.slots[4]),
                                         slotFloat(record.slots[5])))) {
        return;
    }
    chronicle.quietSinceSpawn = false;
    const When when = whenOf(record);
    if (chronicle.playerDeadAtLastLook) {
        add(chronicle, when,
            "the plug-in watches the hideouts again after the player's death (hideouts already "
            "visited stay disarmed until the cooldown is over)");
        return;
    }
    const Squad& last = chronicle.squads.back();
    std::string cooldown;
    if (chronicle.cooldownMinutes) {
        cooldown = ", build cooldown " + describeGameMinutes(*chronicle.cooldownMinutes);
    }
    const std::int64_t since = gameMinutesBetween(last.complete, when);
    const std::string squad = "squad " + std::to_string(last.number) + " was complete";
    // A clock set back (an earlier save loaded) leaves no duration to tell.
    const std::string howLong = since < 0 ? "the clock having been set back since " + squad
                                          : describeGameMinutes(since) + " of game time after " + squad;
    add(chronicle, when,
        "hideouts re-armed: the plug-in watches all " + std::to_string(hideoutPointCount()) +
            " points again, " + howLong + cooldown);
}

}  // namespace

When now() {
    return {sim::currentFrame(), sim::currentTimeMs(), sim::gameDaysNow(), sim::clockHoursNow(),
            sim::clockMinutesNow()};
}

void noteCall(Chronicle& chronicle, const sim::CallRecord& record) {
    ++chronicle.callCount[record.name];
    if (record.host) {
        if (record.name == "scriptRegister") add(chronicle, whenOf(record), "the plug-in registered its script");
        if (record.name == "scriptUnregister") add(chronicle, whenOf(record), "the plug-in unregistered its script");
        return;
    }
    const std::string& name = record.name;
    if (name == "tickGate") {
        if (chronicle.quietSinceSpawn) chronicle.newTickSinceSpawn = true;
    } else if (name == "isPlayerDead") {
        chronicle.playerDeadAtLastLook = record.resultJson == "true";
    } else if (name == "distanceBetween") {
        noteHideoutWalk(chronicle, record);
    } else if (name == "requestModel") {
        chronicle.modelRequested = true;
        chronicle.requestedModel = slotHash(record.slots[0]);
        chronicle.requestedAt = whenOf(record);
    } else if (name == "releaseModel") {
        noteModelGivenUp(chronicle, record);
    } else if (name == "createPed") {
        noteCreatedPed(chronicle, record);
    } else if (name == "playAmbientSpeech") {
        noteSpeech(chronicle, record);
    } else if (name == "deleteEntity") {
        noteDeleted(chronicle, record);
    }
}

void noteAction(Chronicle& chronicle, const std::string& text) { add(chronicle, now(), "> " + text); }

void notePlayer(Chronicle& chronicle, Vector3 position, bool dead) {
    chronicle.playerPath.push_back({position, now(), dead});
}

void notePed(Chronicle& chronicle, MarkKind kind, Ped ped) {
    const std::optional<sim::PedState> state = sim::pedState(ped);
    if (!state) return;
    chronicle.marks.push_back({kind, ped, state->position, now()});
}

std::string formatEntry(const Entry& entry) {
    const std::int64_t tenths = entry.when.timeMs / 100;
    const std::int64_t seconds = tenths / 10;
    std::array<char, 96> text{};
    std::snprintf(text.data(), text.size(), "%3d  %02d:%02d  %3lld:%02lld:%02lld.%lld  %7lld  ",
                  entry.when.day, entry.when.hours, entry.when.minutes,
                  static_cast<long long>(seconds / 3600), static_cast<long long>(seconds / 60 % 60),
                  static_cast<long long>(seconds % 60), static_cast<long long>(tenths % 10),
                  static_cast<long long>(entry.when.frame));
    return text.data() + entry.text;
}

std::string timelineHeading() {
    return "day  clock   frame time    frame  what happened";
}

std::int64_t gameMinutesBetween(const When& from, const When& to) {
    return static_cast<std::int64_t>(to.day - from.day) * minutesPerDay +
           (to.hours * minutesPerHour + to.minutes) - (from.hours * minutesPerHour + from.minutes);
}

std::string describeGameMinutes(std::int64_t minutes) {
    if (minutes < 60) return std::to_string(minutes) + " min";
    std::string text = std::to_string(minutes / 60) + " h";
    if (minutes % 60 != 0) text += " " + std::to_string(minutes % 60) + " min";
    return text;
}

std::string modelName(Hash model) {
    for (const GangProfile& profile : gangProfiles) {
        for (const char* name : {profile.primaryModel, profile.secondaryModel}) {
            if (name != nullptr && sim::gameHash(name) == model) return name;
        }
    }
    std::array<char, 16> hex{};
    std::snprintf(hex.data(), hex.size(), "0x%08X", static_cast<unsigned>(model));
    return hex.data();
}

std::string describePoint(const Squad& squad) {
    if (!squad.gang) return describePosition(squad.hideout);
    return std::string(scenario::gangName(*squad.gang)) + " " + std::to_string(squad.point) + " " +
           describePosition(squad.hideout);
}

}  // namespace chronicle
