#include "tools/chronicle.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>
#include <tuple>

#include "data/squad_formation.h"
#include "encounter/tick_director.h"
#include "host/clock_units.h"
#include "natives/slot.h"
#include "speech/aftermath_scripts.h"
#include "tools/scenario.h"

namespace chronicle {

namespace {

// A member stands on its formation slot to float precision; anything closer than this to
// "hideout point + slot 1 offset" is that point.
constexpr float samePointMetres = 0.5f;

// A call kind by its name, at compile time: a misspelt name does not compile.
consteval std::uint8_t kindOf(std::string_view name) {
    return static_cast<std::uint8_t>(sim::callKindOf(name).value());
}

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
            all.push_back(
                {std::string(profile->displayName) + " first kill", profile->firstKillLines});
        }
        all.push_back({"Default first kill", firstKillLinesDefault});
        for (const GangProfile* profile : lookup) {
            all.push_back({std::string(profile->displayName) + " closing", profile->closingLines});
        }
        all.push_back({"Default closing", closingLinesDefault});
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
            for (const Vector3& point : profile.hideouts)
                all.insert(bitsOf(point.x, point.y, point.z));
        }
        return all;
    }();
    return points;
}

When whenOf(const sim::CallRecord& record) {
    return {record.frame, record.timeMs, record.day, record.clockHours, record.clockMinutes};
}

std::string metres(float value) {
    std::array<char, 32> text{};
    auto [end, error] =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, 1);
    return error == std::errc{} ? std::string(text.data(), end) : "?";
}

Entry& add(Chronicle& chronicle, When when, EventKind kind, std::string text) {
    chronicle.unprinted.push_back({.when = when,
                                   .kind = kind,
                                   .text = std::move(text),
                                   .squad = 0,
                                   .ped = 0,
                                   .line = {},
                                   .byMember = false});
    return chronicle.unprinted.back();
}

std::string describePed(Ped ped) {
    return ped == sim::playerPedHandle() ? "player" : "ped " + std::to_string(ped);
}

struct HideoutPoint {
    Gang gang;
    int point;  // from 1
    Vector3 position;
};

// The first hideout point, in the director's walking order, within reach of a position.
std::optional<HideoutPoint> hideoutNear(Vector3 position, float reach) {
    for (const GangProfile& profile : gangProfiles) {
        for (std::size_t i = 0; i < profile.hideouts.size(); ++i) {
            if (distance(profile.hideouts[i], position) < reach) {
                return HideoutPoint{profile.gang, static_cast<int>(i) + 1, profile.hideouts[i]};
            }
        }
    }
    return std::nullopt;
}

// Where a squad whose first member stands at firstMember was spawned.
void locateSquad(Squad& squad, Vector3 firstMember) {
    const Vector3 slot1 = squadFormation[0];
    squad.hideout = {firstMember.x - slot1.x, firstMember.y - slot1.y, firstMember.z - slot1.z};
    squad.point = 0;
    if (std::optional<HideoutPoint> point = hideoutNear(squad.hideout, samePointMetres)) {
        squad.gang = point->gang;
        squad.point = point->point;
        squad.hideout = point->position;
    }
}

std::pair<int, int> keyOf(Gang gang, int point) {
    return {static_cast<int>(gang), point};
}

void startSquad(Chronicle& chronicle, const sim::CallRecord& record, Vector3 firstMember) {
    Reading& reading = chronicle.reading;
    const When when = whenOf(record);
    reading.modelRequested = false;
    Squad squad{};
    squad.number = static_cast<int>(chronicle.squads.size()) + 1;
    squad.model = modelName(slotHash(record.slots[0]));
    squad.spawned = when;
    locateSquad(squad, firstMember);
    add(chronicle, when, EventKind::squad,
        "squad " + std::to_string(squad.number) + " at " + describePoint(squad) + ", model " +
            squad.model)
        .squad = squad.number;
    if (squad.gang) reading.visited[keyOf(*squad.gang, squad.point)] = squad.number;
    chronicle.squads.push_back(std::move(squad));
    reading.quietSinceSpawn = true;
    reading.newTickSinceSpawn = false;
    reading.awaitingStamp = true;
    reading.stampHours.reset();
}

void noteCreatedPed(Chronicle& chronicle, const sim::CallRecord& record) {
    const When when = whenOf(record);
    const Ped ped = slotInt(record.results[0]);
    const Vector3 position{slotFloat(record.slots[1]), slotFloat(record.slots[2]),
                           slotFloat(record.slots[3])};
    if (chronicle.reading.modelRequested || chronicle.squads.empty())
        startSquad(chronicle, record, position);
    Squad& squad = chronicle.squads.back();
    squad.complete = when;
    squad.members.push_back(ped);
    squad.positions.push_back(position);
    const std::string slot = std::to_string(squad.members.size()) + "/" + std::to_string(squadSize);
    if (ped == 0) chronicle.failedSpawns.push_back({position, when, squad.number});
    Entry& entry =
        add(chronicle, when, EventKind::member,
            ped == 0 ? "  member " + slot + ": the game created no ped (createPed gave 0)"
                     : "  ped " + std::to_string(ped) + " created (" + slot + ") at " +
                           describePosition(position));
    entry.squad = squad.number;
    entry.ped = ped;
}

// The player's lines, labelled with the script they belong to when they follow one.
std::string scriptLabel(Reading& reading, std::string_view line) {
    const KnownScript* script = reading.script;
    if (script != nullptr && reading.scriptStep < script->steps.size() &&
        line == script->steps[reading.scriptStep].lineName) {
        ++reading.scriptStep;
    } else {
        reading.script = nullptr;
        for (const KnownScript& known : knownScripts()) {
            if (line == known.steps[0].lineName) {
                reading.script = &known;
                reading.scriptStep = 1;
                break;
            }
        }
    }
    if (reading.script == nullptr) return {};
    return ", " + reading.script->label + " " + std::to_string(reading.scriptStep) + "/" +
           std::to_string(reading.script->steps.size());
}

void noteSpeech(Chronicle& chronicle, const sim::CallRecord& record) {
    const std::vector<sim::SpeechRecord>& speeches = sim::speeches();
    if (chronicle.reading.speechesSeen >= speeches.size()) return;
    const sim::SpeechRecord& speech = speeches[chronicle.reading.speechesSeen++];
    ++chronicle.saidCount[speech.line];
    const bool byPlayer = speech.speaker == sim::playerPedHandle();
    const std::string label =
        byPlayer ? scriptLabel(chronicle.reading, speech.line) : std::string{};
    Entry& entry = add(chronicle, whenOf(record), EventKind::said,
                       (byPlayer ? "" : "  ") + describePed(speech.speaker) + " says " +
                           speech.line + " (v" + std::to_string(speech.variation) + label + ")");
    entry.ped = speech.speaker;
    entry.line = speech.line;
    entry.byMember = !byPlayer;
    if (!byPlayer && !chronicle.squads.empty()) entry.squad = chronicle.squads.back().number;
}

void noteDeleted(Chronicle& chronicle, const sim::CallRecord& record) {
    const Ped ped = record.pointee.value;  // the handle the pointer held
    const std::optional<sim::PedState> state = sim::pedState(ped);
    const When when = whenOf(record);
    if (!state) {
        add(chronicle, when, EventKind::deleted,
            "the plug-in deleted " + describePed(ped) + ", which the game never created")
            .ped = ped;
        return;
    }
    ++chronicle.deletedCount;
    std::string why = state->dead ? "dead" : "alive";
    // The record is read after the call, when the plug-in's own delete has already removed the
    // ped; only a vanish noted earlier means the game removed it first.
    const bool vanishedBefore = std::any_of(
        chronicle.marks.begin(), chronicle.marks.end(),
        [ped](const PedMark& mark) { return mark.kind == MarkKind::vanished && mark.ped == ped; });
    if (vanishedBefore) {
        why = "the game had already removed it";
    } else if (sim::playerDeadNow()) {
        why += ", the player is dead";
    } else if (!chronicle.playerPath.empty()) {
        why += ", " + metres(distance(state->position, chronicle.playerPath.back().position)) +
               " m from the player";
    }
    chronicle.marks.push_back({MarkKind::deleted, ped, state->position, when});
    add(chronicle, when, EventKind::deleted,
        "ped " + std::to_string(ped) + " deleted by the plug-in (" + why + ")")
        .ped = ped;
}

void noteModelGivenUp(Chronicle& chronicle, const sim::CallRecord& record) {
    Reading& reading = chronicle.reading;
    if (!reading.modelRequested || slotHash(record.slots[0]) != reading.requestedModel) return;
    reading.modelRequested = false;
    const When when = whenOf(record);
    const Vector3 player = chronicle.playerPath.empty() ? Vector3{0.0f, 0.0f, 0.0f}
                                                        : chronicle.playerPath.back().position;
    const std::optional<HideoutPoint> point = hideoutNear(player, triggerDistance);
    chronicle.failedSpawns.push_back({point ? point->position : player, when, 0});
    const std::int64_t waitedMs = when.timeMs - reading.requestedAt.timeMs;
    add(chronicle, when, EventKind::modelGivenUp,
        "gave up loading " + modelName(reading.requestedModel) + " after " +
            metres(static_cast<float>(waitedMs) / 1000.0f) + " s: no squad");
}

// The plug-in reads the clock right after a squad to stamp it: hours, then minutes.
void noteClockRead(Chronicle& chronicle, const sim::CallRecord& record) {
    Reading& reading = chronicle.reading;
    if (!reading.awaitingStamp) return;
    const int value = slotInt(record.results[0]);
    if (record.kind == kindOf("clockHours")) {
        reading.stampHours = value;
        return;
    }
    if (!reading.stampHours) return;
    reading.awaitingStamp = false;
    chronicle.squads.back().stamp = gametime::momentOf(record.day, *reading.stampHours, value);
}

// The hideout walk after a spawn means the encounter is no longer active: the player died, or
// the cooldown re-armed the hideouts. Which one is read from the plug-in's own last look at the
// player: a death and a revival while it waited never reached it.
void noteHideoutWalk(Chronicle& chronicle, const sim::CallRecord& record) {
    Reading& reading = chronicle.reading;
    if (!reading.quietSinceSpawn || !reading.newTickSinceSpawn) return;
    if (!hideoutPoints().contains(bitsOf(slotFloat(record.slots[3]), slotFloat(record.slots[4]),
                                         slotFloat(record.slots[5])))) {
        return;
    }
    reading.quietSinceSpawn = false;
    const When when = whenOf(record);
    if (reading.playerDeadAtLastLook) {
        add(chronicle, when, EventKind::watching,
            "the player's death ended the encounter; the plug-in watches the hideouts again, "
            "but those visited stay disarmed until the re-arm");
        return;
    }
    const Squad& last = chronicle.squads.back();
    reading.visited.clear();
    std::string cooldown;
    if (chronicle.cooldownMinutes)
        cooldown = " (cooldown " + describeGameMinutes(*chronicle.cooldownMinutes) + ")";
    const std::int64_t since = gameMinutesBetween(last.complete, when);
    const std::string squad = "squad " + std::to_string(last.number);
    // A clock set back (an earlier save loaded) leaves no duration to tell.
    const std::string howLong = since < 0
                                    ? "the clock having been set back since " + squad
                                    : describeGameMinutes(since) + " of game time after " + squad;
    add(chronicle, when, EventKind::rearmed, "hideouts re-armed, " + howLong + cooldown);
}

// When the hideouts re-arm after this squad: "at day 0 14:02", or what is known without the
// build's cooldown.
std::string rearmOf(const Chronicle& chronicle, const Squad& squad) {
    if (!chronicle.cooldownMinutes || !squad.stamp) return "after the build's cooldown (unknown)";
    return "at " + gametime::describeMoment(*squad.stamp + *chronicle.cooldownMinutes);
}

void noteRegistered(Chronicle& chronicle, const sim::CallRecord& record) {
    add(chronicle, whenOf(record), EventKind::registered, "the plug-in registered its script");
}

void noteUnregistered(Chronicle& chronicle, const sim::CallRecord& record) {
    add(chronicle, whenOf(record), EventKind::registered, "the plug-in unregistered its script");
}

void noteTickGate(Chronicle& chronicle, const sim::CallRecord&) {
    Reading& reading = chronicle.reading;
    if (reading.quietSinceSpawn) reading.newTickSinceSpawn = true;
}

void notePlayerDeadAsked(Chronicle& chronicle, const sim::CallRecord& record) {
    chronicle.reading.playerDeadAtLastLook = slotBool(record.results[0]);
}

void noteModelRequested(Chronicle& chronicle, const sim::CallRecord& record) {
    Reading& reading = chronicle.reading;
    reading.modelRequested = true;
    reading.requestedModel = slotHash(record.slots[0]);
    reading.requestedAt = whenOf(record);
}

// What the chronicle reads from each kind of call; the calls of any other kind are only counted.
using CallReader = void (*)(Chronicle&, const sim::CallRecord&);
struct ReaderRow {
    std::string_view kind;
    CallReader read;
};
constexpr ReaderRow readerRows[] = {
    {"scriptRegister", noteRegistered},   {"scriptUnregister", noteUnregistered},
    {"tickGate", noteTickGate},           {"isPlayerDead", notePlayerDeadAsked},
    {"distanceBetween", noteHideoutWalk}, {"clockHours", noteClockRead},
    {"clockMinutes", noteClockRead},      {"requestModel", noteModelRequested},
    {"releaseModel", noteModelGivenUp},   {"createPed", noteCreatedPed},
    {"playAmbientSpeech", noteSpeech},    {"deleteEntity", noteDeleted},
};
// By kind, not by name: the table is read for every call of every frame.
constexpr auto callReaders = [] {
    std::array<CallReader, sim::callKindCount> readers{};
    for (const ReaderRow& row : readerRows) readers[sim::callKindOf(row.kind).value()] = row.read;
    return readers;
}();

}  // namespace

gametime::Moment momentOf(const When& when) {
    return gametime::momentOf(when.day, when.hours, when.minutes);
}

When now() {
    return {sim::currentFrame(), sim::currentTimeMs(), sim::gameDaysNow(), sim::clockHoursNow(),
            sim::clockMinutesNow()};
}

void noteCalls(Chronicle& chronicle, std::span<const sim::CallRecord> records) {
    const Reading& reading = chronicle.reading;
    for (const sim::CallRecord& record : records) {
        const std::uint8_t kind = record.kind;
        ++chronicle.callCount[kind];
        // Most of a frame's calls are the hideout walk's distance queries, which tell something
        // only while a spawn is waiting to be seen ended.
        if (kind == kindOf("distanceBetween") && !reading.quietSinceSpawn) continue;
        if (const CallReader read = callReaders[kind]) read(chronicle, record);
    }
}

void noteAction(Chronicle& chronicle, const std::string& text) {
    add(chronicle, now(), EventKind::command, "> " + text);
}

void notePlayer(Chronicle& chronicle, Vector3 position, bool dead) {
    chronicle.playerPath.push_back({position, now(), dead});
    chronicle.reading.explained.reset();
}

void notePed(Chronicle& chronicle, MarkKind kind, Ped ped) {
    const std::optional<sim::PedState> state = sim::pedState(ped);
    if (!state) return;
    chronicle.marks.push_back({kind, ped, state->position, now()});
}

void explainQuietHideout(Chronicle& chronicle, std::size_t squadsBeforeRun,
                         std::size_t failedBeforeRun) {
    Reading& reading = chronicle.reading;
    if (chronicle.playerPath.empty() || sim::playerDeadNow() ||
        chronicle.squads.size() != squadsBeforeRun ||
        chronicle.failedSpawns.size() != failedBeforeRun || chronicle.squads.empty()) {
        return;
    }
    const std::optional<HideoutPoint> point =
        hideoutNear(chronicle.playerPath.back().position, triggerDistance);
    if (!point) return;
    const std::pair<int, int> key = keyOf(point->gang, point->point);
    if (reading.explained == key) return;
    const Squad& last = chronicle.squads.back();
    const std::string where =
        std::string(scenario::gangName(point->gang)) + " " + std::to_string(point->point);
    std::string why;
    if (reading.quietSinceSpawn) {
        why = "squad " + std::to_string(last.number) + "'s encounter runs until the re-arm " +
              rearmOf(chronicle, last);
    } else if (auto visited = reading.visited.find(key); visited != reading.visited.end()) {
        why = "disarmed since squad " + std::to_string(visited->second) + ", re-arms " +
              rearmOf(chronicle, last);
    } else {
        return;
    }
    reading.explained = key;
    add(chronicle, now(), EventKind::noSquad, "no squad at " + where + ": " + why);
}

void noteSurvivors(Chronicle& chronicle) {
    for (const Squad& squad : chronicle.squads) {
        for (Ped ped : squad.members) {
            const std::optional<sim::PedState> state = sim::pedState(ped);
            if (ped != 0 && state && state->exists && !state->dead) {
                chronicle.marks.push_back({MarkKind::aliveAtEnd, ped, state->position, now()});
            }
        }
    }
}

std::string formatEntry(const Entry& entry) {
    const std::int64_t tenths = entry.when.timeMs / 100;
    const std::int64_t seconds = tenths / 10;
    std::array<char, 96> prefix{};
    std::snprintf(prefix.data(), prefix.size(), "%3d %02d:%02d %3lld:%02lld:%02lld.%lld %8lld  ",
                  entry.when.day, entry.when.hours, entry.when.minutes,
                  static_cast<long long>(seconds / 3600), static_cast<long long>(seconds / 60 % 60),
                  static_cast<long long>(seconds % 60), static_cast<long long>(tenths % 10),
                  static_cast<long long>(entry.when.frame));
    // Long text goes on under itself, broken at spaces, so that no line is wider than the timeline.
    const std::string indent(std::strlen(prefix.data()), ' ');
    std::string_view rest = entry.text;
    const std::size_t leading = std::min(rest.find_first_not_of(' '), rest.size());
    const std::string hanging = indent + std::string(leading + 2, ' ');
    std::string out = prefix.data();
    for (bool first = true;; first = false) {
        const std::size_t width = timelineWidth - (first ? indent.size() : hanging.size());
        if (rest.size() <= width) break;
        std::size_t cut = rest.rfind(' ', width);
        if (cut == std::string_view::npos || cut <= leading) cut = width;
        out += std::string(rest.substr(0, cut)) + "\n" + hanging;
        rest.remove_prefix(cut);
        while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    }
    return out + std::string(rest);
}

std::string timelineHeading() {
    std::array<char, 96> heading{};
    std::snprintf(heading.data(), heading.size(), "%3s %-5s %11s %8s  %s", "day", "clock",
                  "frame time", "frame", "what happened");
    return heading.data();
}

std::string_view eventName(EventKind kind) {
    switch (kind) {
        case EventKind::command:
            return "command";
        case EventKind::registered:
            return "script";
        case EventKind::squad:
            return "squad";
        case EventKind::member:
            return "member";
        case EventKind::said:
            return "said";
        case EventKind::deleted:
            return "deleted";
        case EventKind::modelGivenUp:
            return "modelGivenUp";
        case EventKind::rearmed:
            return "rearmed";
        case EventKind::watching:
            return "watching";
        case EventKind::noSquad:
            return "noSquad";
    }
    return "?";
}

std::string eventJson(const Entry& entry) {
    auto quoted = [](std::string_view text) {
        std::string out = "\"";
        for (char c : text) {
            if (c == '"' || c == '\\') out += '\\';
            if (static_cast<unsigned char>(c) < 0x20) {
                std::array<char, 8> escaped{};
                std::snprintf(escaped.data(), escaped.size(), "\\u%04x", c);
                out += escaped.data();
                continue;
            }
            out += c;
        }
        return out + "\"";
    };
    std::array<char, 128> when{};
    std::snprintf(
        when.data(), when.size(), "{\"frame\":%lld,\"t\":%lld,\"day\":%d,\"clock\":\"%02d:%02d\",",
        static_cast<long long>(entry.when.frame), static_cast<long long>(entry.when.timeMs),
        entry.when.day, entry.when.hours, entry.when.minutes);
    std::string text = entry.text;
    text.erase(0, text.find_first_not_of(' '));
    std::string out = when.data() + std::string("\"event\":") + quoted(eventName(entry.kind)) +
                      ",\"text\":" + quoted(text);
    if (entry.squad != 0) out += ",\"squad\":" + std::to_string(entry.squad);
    if (entry.ped != 0) out += ",\"ped\":" + std::to_string(entry.ped);
    if (!entry.line.empty()) out += ",\"line\":" + quoted(entry.line);
    return out + "}";
}

std::int64_t gameMinutesBetween(const When& from, const When& to) {
    return momentOf(to) - momentOf(from);
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
    return std::string(scenario::gangName(*squad.gang)) + " " + std::to_string(squad.point);
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

}  // namespace chronicle
