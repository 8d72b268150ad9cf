#include "sim/world.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace sim {

namespace {

// A control naming a ped the game never created is a mistake in the test or scenario.
PedState& knownPed(Ped ped, const char* control) {
    PedState* state = createdPed(ped);
    if (state == nullptr) {
        throw std::invalid_argument(std::string(control) + ": the game never created ped " +
                                    std::to_string(ped));
    }
    return *state;
}

}  // namespace

World theWorld;

void resetWorld(const WorldOptions& options) {
    if (!validDate(options.startDate))
        throw std::invalid_argument("resetWorld: invalid start date");
    if (options.startHours < 0 || options.startHours > 23 || options.startMinutes < 0 ||
        options.startMinutes > 59) {
        throw std::invalid_argument("resetWorld: start time must be 00:00 to 23:59");
    }
    if (options.framesPerGameMinute < 1 || options.modelLoadDelayFrames < 0) {
        throw std::invalid_argument(
            "resetWorld: framesPerGameMinute >= 1, modelLoadDelayFrames >= 0");
    }
    World& w = world();
    w = World{};
    w.options = options;
    w.startDayNumber = dayNumberOf(options.startDate);
    w.clock = GameClock{.dayNumber = w.startDayNumber,
                        .minuteOfDay = options.startHours * 60 + options.startMinutes,
                        .framesIntoMinute = 0};
    w.playerPosition = options.playerPosition;
    w.random.state = options.seed;
    w.invariants.enabled = options.checkInvariants;
    w.invariants.cooldownMinutes = options.cooldownMinutes;
    refreshStamp(w);
}

void refreshStamp(World& w) {
    w.stamp = CallStamp{.frame = w.frame,
                        .timeMs = frameTimeMs(w.frame),
                        .day = static_cast<int>(w.clock.dayNumber - w.startDayNumber),
                        .clockHours = w.clock.minuteOfDay / 60,
                        .clockMinutes = w.clock.minuteOfDay % 60};
}

void advanceFrame() {
    checkFrameInvariants();
    World& w = world();
    ++w.frame;
    tickFrame(w.clock, w.options.framesPerGameMinute);
    refreshStamp(w);
    // An event may schedule another that is already due; it runs in this same frame.
    const std::int64_t now = frameTimeMs(w.frame);
    while (!w.events.empty() && w.events.begin()->first <= now) {
        std::function<void()> fn = std::move(w.events.begin()->second);
        w.events.erase(w.events.begin());
        fn();
    }
}

PedState* createdPed(Ped ped) {
    World& w = world();
    const std::int64_t index = static_cast<std::int64_t>(ped) - firstCreatedPed;
    if (index < 0 || index >= static_cast<std::int64_t>(w.peds.size())) return nullptr;
    return &w.peds[static_cast<std::size_t>(index)];
}

PedState* existingPed(Ped ped) {
    PedState* state = createdPed(ped);
    return state != nullptr && state->exists ? state : nullptr;
}

// Controls.

void placePlayer(Vector3 position) {
    world().playerPosition = position;
}

void setPlayerDead(bool dead) {
    world().playerDead = dead;
}

void setGate(bool skipFrames) {
    world().gateSkipsFrames = skipFrames;
}

void setClock(int hours, int minutes) {
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59) {
        throw std::invalid_argument("setClock: time must be 00:00 to 23:59");
    }
    GameClock& clock = world().clock;
    clock.minuteOfDay = hours * 60 + minutes;
    clock.framesIntoMinute = 0;
    refreshStamp(world());
}

void advanceClock(int minutes) {
    if (minutes < 0) throw std::invalid_argument("advanceClock: the clock only moves forward");
    addMinutes(world().clock, minutes);
    refreshStamp(world());
}

void setDate(GameDate date) {
    if (!validDate(date)) throw std::invalid_argument("setDate: no such day in the calendar");
    world().clock.dayNumber = dayNumberOf(date);
    refreshStamp(world());
}

// A model the game no longer knows is no longer resident either; peds already wearing it stay.
void setModelNeverLoads(std::string_view modelName) {
    World& w = world();
    w.unknownModels.insert(gameHash(modelName));
    w.residentAtFrame.erase(gameHash(modelName));
}

void setPedPoolCap(int cap) {
    world().options.pedPoolCap = cap;
}

void setModelLoads(std::string_view modelName) {
    world().unknownModels.erase(gameHash(modelName));
}

Ped newPlayerPed() {
    World& w = world();
    w.playerPed = firstLaterPlayerPed + w.laterPlayerPeds++;
    w.playerDead = false;
    return w.playerPed;
}

void killPed(Ped ped) {
    if (ped == world().playerPed) {
        setPlayerDead(true);
        return;
    }
    PedState& state = knownPed(ped, "killPed");
    if (state.exists) state.dead = true;
}

void vanishPed(Ped ped) {
    PedState& state = knownPed(ped, "vanishPed");
    if (state.exists) notePedRemovedByGame();
    state.exists = false;
    state.blips = 0;
}

void movePed(Ped ped, Vector3 position) {
    if (ped == world().playerPed) {
        placePlayer(position);
        return;
    }
    PedState& state = knownPed(ped, "movePed");
    if (state.exists) state.position = position;
}

void scheduleAt(std::int64_t atMs, std::function<void()> fn) {
    world().events.emplace(atMs, std::move(fn));
}

void runFrames(std::int64_t frames) {
    for (std::int64_t i = 0; i < frames; ++i) advanceFrame();
}

// Queries.

const std::vector<CallRecord>& calls() {
    return world().calls;
}

void clearCalls() {
    world().calls.clear();
    world().callText.clear();
}

const std::vector<SpeechRecord>& speeches() {
    return world().speeches;
}

std::vector<Ped> createdPeds() {
    std::vector<Ped> handles;
    for (const PedState& state : world().peds) handles.push_back(state.handle);
    return handles;
}

std::optional<PedState> pedState(Ped ped) {
    const PedState* state = createdPed(ped);
    if (state == nullptr) return std::nullopt;
    return *state;
}

int livingPedCount() {
    int count = 0;
    for (const PedState& state : world().peds) count += state.exists && !state.dead ? 1 : 0;
    return count;
}

Ped playerPedHandle() {
    return world().playerPed;
}

bool wasPlayerPed(Ped ped) {
    const World& w = world();
    return ped == playerPedHandleValue ||
           (ped >= firstLaterPlayerPed && ped <= w.playerPed && w.laterPlayerPeds > 0);
}

std::int64_t currentFrame() {
    return world().frame;
}

std::int64_t currentTimeMs() {
    return frameTimeMs(world().frame);
}

std::int64_t frameTimeMs(std::int64_t frame) {
    return frame * 1000 / framesPerSecond;
}

int gameDaysNow() {
    const World& w = world();
    return static_cast<int>(w.clock.dayNumber - w.startDayNumber);
}

bool playerDeadNow() {
    return world().playerDead;
}

std::optional<ScriptEntry> registeredScript() {
    return world().script;
}

int clockHoursNow() {
    return world().clock.minuteOfDay / 60;
}

int clockMinutesNow() {
    return world().clock.minuteOfDay % 60;
}

GameDate dateNow() {
    return dateOf(world().clock.dayNumber);
}

}  // namespace sim
