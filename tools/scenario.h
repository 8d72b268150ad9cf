// A scenario as the simulator plays it: one command per non-blank line of the file, parsed in
// full before anything runs, so that a typo on the last line costs no run time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "data/gang_profiles.h"
#include "tools/game_time.h"

namespace scenario {

struct ClockSet {
    int hours;
    int minutes;
};
struct ClockAdvance {
    std::int64_t minutes;
};
struct GotoHideout {
    Gang gang;
    int point;  // from 1, as in the scenario
    Vector3 offset;
};
struct GotoPosition {
    Vector3 position;
};
struct RunFor {
    std::int64_t ms;  // frame time
};
struct RunFrames {
    std::int64_t frames;
};
struct RunUntil {
    int hours;
    int minutes;
};
struct RunUntilMoment {
    gametime::Moment moment;  // run until day D HH:MM
};
struct RunGameMinutes {
    std::int64_t minutes;  // run N game days / hours / minutes, measured on the game clock
};
struct KillSquad {};
struct KillPed {
    int index;  // from 1, in creation order
};
struct SetPlayerDead {
    bool dead;
};
struct SetGate {
    bool skipFrames;
};
struct ModelNever {
    std::string model;
};
struct VanishPed {
    int index;  // from 1, in creation order
};
// Faults a game can hand a plug-in.
struct SetPool {
    int cap;  // createPed refuses once this many created peds are in the world
};
struct SetDate {
    int year;
    int month;  // from 1, as written
    int day;
};
struct NewPlayerPed {};
struct ModelLoads {
    std::string model;
};
struct MovePed {
    int index;  // from 1, in creation order
    Vector3 position;
};

// What an `expect` line asserts about everything that has happened so far.
enum class ExpectKind {
    squads,     // expect squads N: squads the plug-in has spawned
    squadAt,    // expect squad GANG N [MODEL]: where the latest squad spawned, and its model
    peds,       // expect peds N: created peds still in the world, alive or dead
    pedsAlive,  // expect peds alive N
    pedsDead,   // expect peds dead N
    deleted,    // expect deleted N: peds the plug-in deleted
    said,       // expect said LINE [N]: said at least once, or exactly N times
    notSaid,    // expect not said LINE
    calls,      // expect calls NATIVE N: calls of a native, by its role name
};

struct Expect {
    ExpectKind kind;
    std::int64_t count = 0;
    bool exactCount = true;  // said without N: at least once
    Gang gang = Gang::duster;
    int point = 0;
    std::string name;  // line, native role or model
};

using Action = std::variant<ClockSet, ClockAdvance, GotoHideout, GotoPosition, RunFor, RunFrames,
                            RunUntil, RunUntilMoment, RunGameMinutes, KillSquad, KillPed,
                            SetPlayerDead, SetGate, ModelNever, VanishPed, SetPool, SetDate,
                            NewPlayerPed, ModelLoads, MovePed, Expect>;

struct Command {
    int line;          // from 1
    std::string text;  // the line as written, comment and surrounding blanks removed
    Action action;
};

struct Scenario {
    std::string fileName;  // as given, for messages
    std::vector<Command> commands;
};

// A bad scenario: `file:line: message`. line is 0 when the file itself is the problem.
struct ScenarioError {
    std::string fileName;
    int line;
    std::string message;
};

std::string describe(const ScenarioError& error);

// Parses the text of a scenario; fileName only labels messages. Stops at the first bad line. A
// UTF-8 byte-order mark at the start, as some editors save one, is skipped.
std::variant<Scenario, ScenarioError> parseScenario(std::string_view text, std::string fileName);

// Reads and parses a scenario file.
std::variant<Scenario, ScenarioError> loadScenario(const std::string& fileName);

// The gang's name in scenarios (`duster`, `exconfederate`, ...) and back.
std::string_view gangName(Gang gang);
std::optional<Gang> gangNamed(std::string_view name);

}  // namespace scenario
