// What a person watching the game could tell from the plug-in's calls and the scenario's
// actions: squads spawned and where, lines spoken and by whom, peds that died or were removed,
// the player's path, and when the plug-in went back to watching the hideouts. The timeline, the
// map and the expect lines are all drawn from it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "data/gang_profiles.h"
#include "sim/control.h"
#include "speech/speech_request.h"

namespace chronicle {

struct When {
    std::int64_t frame;
    std::int64_t timeMs;  // frame time
    int day;              // game days since the start
    int hours;
    int minutes;
};

struct Squad {
    int number;                // from 1
    std::optional<Gang> gang;  // from the hideout point; none if the squad stands elsewhere
    int point;                 // from 1 in the gang's list; 0 when not at a hideout point
    Vector3 hideout;
    std::string model;
    When spawned;   // its first member was created
    When complete;  // its last member so far was created; the plug-in stamps the clock after it
    std::vector<Ped> members;
    std::vector<Vector3> positions;
};

enum class MarkKind { died, deleted, vanished };

struct PedMark {
    MarkKind kind;
    Ped ped;
    Vector3 position;
    When when;
};

struct PlayerStop {
    Vector3 position;
    When when;
    bool dead;
};

struct Entry {
    When when;
    std::string text;
};

// A speech script of the plug-in by the name a person would give it.
struct KnownScript {
    std::string label;
    std::span<const SpeechStep> steps;
};

struct Chronicle {
    std::optional<std::int32_t> cooldownMinutes;  // known when the build is known
    std::vector<Squad> squads;
    std::vector<PedMark> marks;
    std::vector<PlayerStop> playerPath;
    std::map<std::string, std::int64_t, std::less<>> saidCount;
    std::map<std::string, std::int64_t, std::less<>> callCount;
    std::int64_t deletedCount = 0;
    std::vector<Entry> unprinted;  // timeline entries in order, taken by whoever prints them

    // What the next calls are read against.
    std::size_t speechesSeen = 0;
    bool modelRequested = false;  // a requestModel with no createPed since
    Hash requestedModel = 0;
    When requestedAt{};
    bool quietSinceSpawn = false;  // a squad spawned and the hideout walk has not been seen since
    bool newTickSinceSpawn = false;
    bool playerDeadAtLastLook = false;  // what isPlayerDead last answered the plug-in
    const KnownScript* script = nullptr;  // the speech script the player is in, if recognised
    std::size_t scriptStep = 0;
};

When now();

// A call of the plug-in, as the call log recorded it; in call order.
void noteCall(Chronicle& chronicle, const sim::CallRecord& record);
// A scenario command, at the current frame.
void noteAction(Chronicle& chronicle, const std::string& text);
// The player is now at position (after goto, or where he died or came back to life).
void notePlayer(Chronicle& chronicle, Vector3 position, bool dead);
// The scenario made a ped die or the game remove it.
void notePed(Chronicle& chronicle, MarkKind kind, Ped ped);

// "day 0 08:00  0:01:02.3  f 1869  text"
std::string formatEntry(const Entry& entry);
std::string timelineHeading();

// Game minutes from one moment to another on the calendar.
std::int64_t gameMinutesBetween(const When& from, const When& to);
std::string describeGameMinutes(std::int64_t minutes);  // "6 h 2 min"

std::string modelName(Hash model);
std::string describePoint(const Squad& squad);  // "duster 4" or "(x, y, z)"

}  // namespace chronicle
