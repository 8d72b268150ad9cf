// What a person watching the game could tell from the plug-in's calls and the scenario's
// actions: squads spawned and where, lines spoken and by whom, peds that died or were removed,
// the player's path, and when the plug-in went back to watching the hideouts. The timeline, the
// events file, the map and the expect lines are all drawn from it.
//
// A Chronicle is the record (what happened) plus the reader's state (what the next calls are
// read against); only the record is meant for the timeline, the map and the expectations.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "data/gang_profiles.h"
#include "sim/control.h"
#include "speech/speech_request.h"
#include "tools/game_time.h"

namespace chronicle {

struct When {
    std::int64_t frame;
    std::int64_t timeMs;  // frame time
    int day;              // game days since the start
    int hours;
    int minutes;
};

gametime::Moment momentOf(const When& when);

struct Squad {
    int number;                // from 1
    std::optional<Gang> gang;  // from the hideout point; none if the squad stands elsewhere
    int point;                 // from 1 in the gang's list; 0 when not at a hideout point
    Vector3 hideout;
    std::string model;
    When spawned;                           // its first member was created
    When complete;                          // its last member so far was created
    std::optional<gametime::Moment> stamp;  // the clock the plug-in stamped after the squad
    std::vector<Ped> members;               // 0 where the game created no ped
    std::vector<Vector3> positions;
};

enum class MarkKind { died, deleted, vanished, aliveAtEnd };

struct PedMark {
    MarkKind kind;
    Ped ped;
    Vector3 position;
    When when;
};

// A squad, or a member of one, that the game did not produce.
struct FailedSpawn {
    Vector3 position;
    When when;
    int squad;  // the squad the member belongs to; 0: no squad came of it
};

struct PlayerStop {
    Vector3 position;
    When when;
    bool dead;
};

// What a timeline line is about; the events file names them.
enum class EventKind {
    command,       // a scenario command (and an expect's outcome)
    registered,    // the plug-in registered or unregistered its script
    squad,         // a squad started spawning
    member,        // a member was created, or the game created none
    said,          // someone said a line
    deleted,       // the plug-in deleted a ped
    modelGivenUp,  // the plug-in gave up waiting for a model: no squad
    rearmed,       // the hideouts re-armed
    watching,      // the player's death ended the encounter; the plug-in watches the hideouts again
    noSquad,       // the player is near a hideout that spawns nothing, and why
};

struct Entry {
    When when;
    EventKind kind;
    std::string text;
    int squad = 0;          // the squad it is about; 0: none
    Ped ped = 0;            // the ped it is about; 0: none
    std::string line;       // said: the line
    bool byMember = false;  // said by a squad member
};

// A speech script of the plug-in by the name a person would give it.
struct KnownScript {
    std::string label;
    std::span<const SpeechStep> steps;
};

// What the next calls are read against.
struct Reading {
    std::size_t speechesSeen = 0;
    bool modelRequested = false;  // a requestModel with no createPed since
    Hash requestedModel = 0;
    When requestedAt{};
    bool awaitingStamp = false;  // a squad spawned and the plug-in has not yet read the clock
    std::optional<int> stampHours;
    bool quietSinceSpawn = false;  // a squad spawned and the hideout walk has not been seen since
    bool newTickSinceSpawn = false;
    bool playerDeadAtLastLook = false;    // what isPlayerDead last answered the plug-in
    const KnownScript* script = nullptr;  // the speech script the player is in, if recognised
    std::size_t scriptStep = 0;
    std::map<std::pair<int, int>, int>
        visited;  // (gang, point) -> the squad, since the last re-arm
    std::optional<std::pair<int, int>> explained;  // the hideout a noSquad line was given for
};

struct Chronicle {
    // The record.
    std::optional<std::int32_t> cooldownMinutes;  // known when the build is known
    std::vector<Squad> squads;
    std::vector<PedMark> marks;
    std::vector<FailedSpawn> failedSpawns;
    std::vector<PlayerStop> playerPath;
    std::map<std::string, std::int64_t, std::less<>> saidCount;
    std::array<std::int64_t, sim::callKindCount> callCount{};  // by call kind (sim::callKindOf)
    std::int64_t deletedCount = 0;
    std::vector<Entry> unprinted;  // timeline entries in order, taken by whoever prints them
    // The reader's state.
    Reading reading;
};

When now();

// Calls of the plug-in, as the call log recorded them; in call order.
void noteCalls(Chronicle& chronicle, std::span<const sim::CallRecord> records);
// A scenario command, at the current frame.
void noteAction(Chronicle& chronicle, const std::string& text);
// The player is now at position (after goto, or where he died or came back to life).
void notePlayer(Chronicle& chronicle, Vector3 position, bool dead);
// The scenario made a ped die or the game remove it.
void notePed(Chronicle& chronicle, MarkKind kind, Ped ped);
// After a run: if the player stands within the trigger distance of a hideout and no squad came
// of it during the run, one line saying why (once per hideout until the player moves).
void explainQuietHideout(Chronicle& chronicle, std::size_t squadsBeforeRun,
                         std::size_t failedBeforeRun);
// At the end of the run: the members still alive, where they stand.
void noteSurvivors(Chronicle& chronicle);

// "  0 08:01  0:00:02.0      62  text", wrapped to fit timelineWidth columns.
inline constexpr std::size_t timelineWidth = 100;
std::string formatEntry(const Entry& entry);
std::string timelineHeading();
// One JSON object for the events file: when, "event", "text" and what the entry is about.
std::string eventJson(const Entry& entry);
std::string_view eventName(EventKind kind);

// Game minutes from one moment to another on the calendar.
std::int64_t gameMinutesBetween(const When& from, const When& to);
std::string describeGameMinutes(std::int64_t minutes);  // "6 h 2 min"

std::string modelName(Hash model);
std::string describePoint(const Squad& squad);   // "duster 4" or "(x, y, z)"
std::string describePosition(Vector3 position);  // "(x, y, z)"
float distance(Vector3 a, Vector3 b);

}  // namespace chronicle
