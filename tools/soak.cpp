#include "tools/soak.h"

#include <array>
#include <cstdio>
#include <string_view>
#include <variant>
#include <vector>

#include "data/gang_profiles.h"
#include "host/clock_units.h"
#include "sim/control.h"
#include "sim/plugin_loader.h"
#include "sim/script_fibre.h"
#include "tools/scenario.h"
#include "tools/scenario_player.h"

namespace soak {

namespace {

// The world's default clock rate and pool.
constexpr int msPerGameMinute =
    sim::WorldOptions{}.framesPerGameMinute * 1000 / sim::framesPerSecond;
constexpr int normalPool = sim::WorldOptions{}.pedPoolCap;

// The session's own draws, apart from the game's: splitmix64, the same on every platform.
struct Draws {
    std::uint64_t state;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }  // inclusive
    bool chance(int percent) { return below(100) < percent; }
};

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(value));
    return text;
}

std::string two(int value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

struct Session {
    Draws draws{};
    player::Session play;
    Result result;
    Vector3 at{};
    bool poolShrunk = false;
    std::vector<std::string> missingModels;
    double minutesPlayed = 0;
    bool stopped = false;
};

bool isFault(const scenario::Action& action) {
    return std::holds_alternative<scenario::SetPool>(action) ||
           std::holds_alternative<scenario::SetDate>(action) ||
           std::holds_alternative<scenario::NewPlayerPed>(action) ||
           std::holds_alternative<scenario::ModelNever>(action) ||
           std::holds_alternative<scenario::ModelLoads>(action) ||
           std::holds_alternative<scenario::MovePed>(action) ||
           std::holds_alternative<scenario::VanishPed>(action) ||
           std::holds_alternative<scenario::ClockSet>(action) ||
           (std::holds_alternative<scenario::SetGate>(action) &&
            std::get<scenario::SetGate>(action).skipFrames);
}

// Plays one command as a scenario line; the session stops at the first failure.
void play(Session& s, const std::string& line) {
    if (s.stopped) return;
    const int lineNumber = static_cast<int>(s.result.commands) + 1;
    s.result.scenario += line + "\n";
    ++s.result.commands;
    auto parsed = scenario::parseScenario(line, "soak");
    if (auto* error = std::get_if<scenario::ScenarioError>(&parsed)) {
        s.result.failure = "the soak wrote a bad command, line " + std::to_string(lineNumber) +
                           ": " + scenario::describe(*error);
        s.stopped = true;
        return;
    }
    scenario::Scenario& one = std::get<scenario::Scenario>(parsed);
    one.commands[0].line = lineNumber;
    const scenario::Action& action = one.commands[0].action;
    if (isFault(action)) ++s.result.faults;
    if (const auto* run = std::get_if<scenario::RunFor>(&action)) {
        s.minutesPlayed += static_cast<double>(run->ms) / msPerGameMinute;
    } else if (const auto* advance = std::get_if<scenario::ClockAdvance>(&action)) {
        s.minutesPlayed += static_cast<double>(advance->minutes);
    }
    if (const std::optional<scenario::ScenarioError> error = player::playScenario(s.play, one)) {
        s.result.failure = scenario::describe(*error);
    } else if (const std::optional<std::string> failure = sim::hostFailure()) {
        s.result.failure = *failure;
    }
    if (s.result.failure) {
        s.result.failedAtFrame = sim::currentFrame();
        s.stopped = true;
    }
}

void runFor(Session& s, int loSeconds, int hiSeconds) {
    play(s, "run " + std::to_string(s.draws.between(loSeconds, hiSeconds)) + "s");
}

void goTo(Session& s, Vector3 position) {
    s.at = position;
    play(s, "goto " + number(position.x) + " " + number(position.y) + " " + number(position.z));
}

// Created peds that are still in the world, alive; numbered from 1 as scenarios number them.
std::vector<int> pedsInWorld(bool aliveOnly) {
    std::vector<int> found;
    const std::vector<Ped> created = sim::createdPeds();
    for (std::size_t i = 0; i < created.size(); ++i) {
        const std::optional<sim::PedState> state = sim::pedState(created[i]);
        if (state && state->exists && (!aliveOnly || !state->dead))
            found.push_back(static_cast<int>(i) + 1);
    }
    return found;
}

void visitHideout(Session& s) {
    const GangProfile& profile = gangProfiles[static_cast<std::size_t>(s.draws.below(6))];
    const int point = s.draws.between(1, static_cast<int>(profile.hideouts.size()));
    const Vector3 hideout = profile.hideouts[static_cast<std::size_t>(point - 1)];
    // Mostly within reach of the point, now and then just outside it.
    const float reach = s.draws.chance(85) ? 45.0f : 70.0f;
    const float dx = static_cast<float>(s.draws.between(-1000, 1000)) / 1000.0f * reach * 0.7f;
    const float dy = static_cast<float>(s.draws.between(-1000, 1000)) / 1000.0f * reach * 0.7f;
    s.at = {hideout.x + dx, hideout.y + dy, hideout.z};
    play(s, "goto " + std::string(scenario::gangName(profile.gang)) + " " + std::to_string(point) +
                " " + number(dx) + " " + number(dy) + " 0");
    runFor(s, 5, 45);
}

void fight(Session& s) {
    const std::vector<int> living = pedsInWorld(true);
    if (living.empty()) return runFor(s, 1, 5);
    if (s.draws.chance(30)) {
        play(s, "kill squad");
    } else {
        for (int kills = s.draws.between(1, 3); kills > 0; --kills) {
            play(s, "kill " + std::to_string(living[static_cast<std::size_t>(
                                  s.draws.below(static_cast<int>(living.size())))]));
        }
    }
    runFor(s, 2, 30);
}

void walkAway(Session& s) {
    const float far = static_cast<float>(s.draws.between(60, 300));
    goTo(s, {s.at.x + (s.draws.chance(50) ? far : -far),
             s.at.y + static_cast<float>(s.draws.between(-50, 50)), s.at.z});
    runFor(s, 2, 20);
}

void travelFar(Session& s) {
    goTo(s, {static_cast<float>(s.draws.between(-3000, 3000)),
             static_cast<float>(s.draws.between(-3000, 3000)), 100.0f});
    runFor(s, 1, 10);
}

void die(Session& s) {
    play(s, "player dead");
    runFor(s, 1, 8);
    // Back to life where he fell, or as a new character after the death.
    play(s, s.draws.chance(20) ? "player new" : "player alive");
    runFor(s, 1, 4);
}

void sleep(Session& s) {
    const int hours = s.draws.between(2, 12);
    const int minutes = s.draws.below(60);
    play(s, "clock +" + std::to_string(hours) + "h" +
                (minutes > 0 ? std::to_string(minutes) + "min" : ""));
    runFor(s, 1, 3);
}

// An earlier save: the date goes back up to three days and the clock to any time of day.
void loadSave(Session& s) {
    if (s.draws.chance(60)) {
        const sim::GameDate today = sim::dateNow();
        int day = today.day - s.draws.between(0, 3);
        int month = today.month;
        int year = today.year;
        while (day < 1) {
            if (--month < 0) {
                month = 11;
                --year;
            }
            day += std::array<int, 12>{
                31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}[static_cast<std::size_t>(month)];
        }
        play(s, "date " + std::to_string(year) + "-" + two(month + 1) + "-" + two(day));
    }
    play(s, "clock " + two(s.draws.below(24)) + ":" + two(s.draws.below(60)));
    runFor(s, 1, 5);
}

// A mission holds the gate; the player may be taken elsewhere meanwhile.
void mission(Session& s) {
    play(s, "gate on");
    runFor(s, 20, 240);
    if (s.draws.chance(50)) travelFar(s);
    play(s, "gate off");
    runFor(s, 1, 4);
}

void poolFault(Session& s) {
    if (s.poolShrunk) {
        play(s, "pool " + std::to_string(normalPool));
    } else {
        play(s, "pool " + std::to_string(s.draws.between(0, 20)));
    }
    s.poolShrunk = !s.poolShrunk;
}

void modelFault(Session& s) {
    if (!s.missingModels.empty() && s.draws.chance(60)) {
        play(s, "model " + s.missingModels.back() + " loads");
        s.missingModels.pop_back();
        return;
    }
    const GangProfile& profile = gangProfiles[static_cast<std::size_t>(s.draws.below(6))];
    const char* model = profile.secondaryModel != nullptr && s.draws.chance(50)
                            ? profile.secondaryModel
                            : profile.primaryModel;
    s.missingModels.emplace_back(model);
    play(s, "model " + std::string(model) + " never");
}

void pedFault(Session& s) {
    const std::vector<int> present = pedsInWorld(false);
    if (present.empty()) return;
    const int ped =
        present[static_cast<std::size_t>(s.draws.below(static_cast<int>(present.size())))];
    if (s.draws.chance(50)) {
        play(s, "vanish " + std::to_string(ped));
        return;
    }
    const float off = static_cast<float>(s.draws.between(-250, 250));
    play(s, "move " + std::to_string(ped) + " " + number(s.at.x + off) + " " +
                number(s.at.y - off) + " " + number(s.at.z));
}

void runUntil(Session& s) {
    const int minuteOfDay =
        (sim::clockHoursNow() * 60 + sim::clockMinutesNow() + s.draws.between(5, 30)) %
        minutesPerDay;
    play(s, "run until " + two(minuteOfDay / 60) + ":" + two(minuteOfDay % 60));
    s.minutesPlayed += 5;  // at least; the frames are counted by the world anyway
}

using Episode = void (*)(Session&);
struct Weighted {
    int weight;
    Episode episode;
};
constexpr std::array<Weighted, 12> episodes = {{
    {30, visitHideout},
    {18, fight},
    {10, walkAway},
    {6, travelFar},
    {6, die},
    {10, sleep},
    {4, loadSave},
    {3, mission},
    {4, poolFault},
    {4, modelFault},
    {8, pedFault},
    {3, runUntil},
}};

Episode pick(Draws& draws) {
    int total = 0;
    for (const Weighted& w : episodes) total += w.weight;
    int roll = draws.below(total);
    for (const Weighted& w : episodes) {
        if (roll < w.weight) return w.episode;
        roll -= w.weight;
    }
    return episodes[0].episode;
}

}  // namespace

Result run(const Options& options) {
    Session s;
    s.draws.state = options.seed;
    s.play.scenarioName = "soak";
    sim::WorldOptions world;
    world.seed = options.seed;
    world.checkInvariants = true;
    world.cooldownMinutes = options.cooldownMinutes;
    sim::resetWorld(world);
    sim::startFibreHost();
    auto plugin = sim::loadPlugin(options.pluginPath);
    if (auto* error = std::get_if<std::string>(&plugin)) {
        sim::stopFibreHost();
        s.result.failure = *error;
        return s.result;
    }
    player::takeCalls(s.play);
    if (std::optional<std::string> failure = sim::hostFailure()) {
        s.result.failure = *failure;
        s.stopped = true;
    }
    const double minutesWanted = static_cast<double>(options.days) * minutesPerDay;
    double reported = 0;
    while (!s.stopped && s.minutesPlayed < minutesWanted) {
        pick(s.draws)(s);
        if (options.progress && s.minutesPlayed - reported >= 60) {
            reported = s.minutesPlayed;
            options.progress(s.minutesPlayed / minutesPerDay, sim::currentFrame(),
                             sim::runCounts().squads);
        }
    }
    if (!s.stopped) {
        sim::unloadPlugin(std::get<sim::LoadedPlugin>(plugin));
        player::takeCalls(s.play);
        if (std::optional<std::string> failure = sim::hostFailure()) {
            s.result.failure = *failure;
            s.result.failedAtFrame = sim::currentFrame();
        }
    }
    sim::stopFibreHost();
    s.result.days = s.minutesPlayed / minutesPerDay;
    s.result.frames = sim::currentFrame();
    s.result.counts = sim::runCounts();
    return s.result;
}

}  // namespace soak
