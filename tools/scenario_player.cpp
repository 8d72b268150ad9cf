#include "tools/scenario_player.h"

#include <cstdio>
#include <type_traits>

#include "host/clock_units.h"
#include "sim/control.h"
#include "sim/script_fibre.h"
#include "tools/expectations.h"

namespace player {

namespace {

constexpr std::int64_t framesPerMinuteOfClock = 60;  // the world's default: 2 s per game minute
// Progress on a terminal only for runs long enough to be waited for.
constexpr std::int64_t progressEveryFrames = 1800;

// A command that cannot be carried out; it carries the message for its line.
struct CommandError {
    std::string message;
};

void printTimeline(Session& session) {
    chronicle::Chronicle& chronicle = session.chronicle;
    if (session.timeline != nullptr && !chronicle.unprinted.empty()) {
        if (session.showProgress) std::fputs("\r\033[K", stderr);
        for (const chronicle::Entry& entry : chronicle.unprinted) {
            *session.timeline << chronicle::formatEntry(entry) << '\n';
        }
        session.timeline->flush();
    }
    chronicle.unprinted.clear();
}

void showProgress(Session& session, const std::string& command, std::int64_t done, std::int64_t total) {
    if (!session.showProgress || done % progressEveryFrames != 0 || total < progressEveryFrames) return;
    std::fprintf(stderr, "\r\033[K%s: %lld%%  (day %d %02d:%02d, frame %lld)", command.c_str(),
                 static_cast<long long>(done * 100 / total), sim::gameDaysNow(), sim::clockHoursNow(),
                 sim::clockMinutesNow(), static_cast<long long>(sim::currentFrame()));
}

void endProgress(Session& session, std::int64_t total) {
    if (session.showProgress && total >= progressEveryFrames) std::fputs("\r\033[K", stderr);
}

// Runs frames until done() or a host error; progress counts frames against total.
template <class Done>
bool runFrames(Session& session, const std::string& command, std::int64_t total, Done done) {
    for (std::int64_t frames = 0; !done(frames); ++frames) {
        const bool running = sim::runScriptFrame();
        takeCalls(session);
        if (!running) return false;
        showProgress(session, command, frames + 1, total);
    }
    endProgress(session, total);
    return true;
}

Ped createdPed(int index, std::string_view command) {
    const std::vector<Ped> peds = sim::createdPeds();
    if (index > static_cast<int>(peds.size())) {
        throw CommandError{std::string(command) + " " + std::to_string(index) +
                           ": the plug-in has created only " + std::to_string(peds.size()) +
                           " peds so far"};
    }
    return peds[static_cast<std::size_t>(index) - 1];
}

Vector3 currentPlayerPosition(const Session& session) {
    const auto& path = session.chronicle.playerPath;
    return path.empty() ? Vector3{0.0f, 0.0f, 0.0f} : path.back().position;
}

void movePlayer(Session& session, Vector3 position) {
    sim::placePlayer(position);
    chronicle::notePlayer(session.chronicle, position, sim::playerDeadNow());
}

void checkExpect(Session& session, const scenario::Command& command, const scenario::Expect& expect) {
    const expectations::Outcome outcome = expectations::check(expect, session.chronicle);
    if (outcome.passed) {
        ++session.expectsPassed;
        chronicle::noteAction(session.chronicle, command.text + ": ok (" + outcome.found + ")");
        return;
    }
    ++session.expectsFailed;
    chronicle::noteAction(session.chronicle, command.text + ": FAILED, found " + outcome.found);
    printTimeline(session);
    std::fprintf(stderr, "%s:%d: expect failed: %s (found %s)\n", session.scenarioName.c_str(),
                 command.line, command.text.c_str(), outcome.found.c_str());
}

// Carries out one command; false when a host error stopped the run.
bool perform(Session& session, const scenario::Command& command) {
    using namespace scenario;
    chronicle::Chronicle& story = session.chronicle;
    if (!std::holds_alternative<Expect>(command.action)) chronicle::noteAction(story, command.text);
    return std::visit(
        [&](const auto& action) -> bool {
            using T = std::decay_t<decltype(action)>;
            if constexpr (std::is_same_v<T, ClockSet>) {
                sim::setClock(action.hours, action.minutes);
            } else if constexpr (std::is_same_v<T, ClockAdvance>) {
                sim::advanceClock(static_cast<int>(action.minutes));
            } else if constexpr (std::is_same_v<T, GotoHideout>) {
                const Vector3 point = ::profileOf(action.gang).hideouts[static_cast<std::size_t>(action.point) - 1];
                movePlayer(session, {point.x + action.offset.x, point.y + action.offset.y,
                                     point.z + action.offset.z});
            } else if constexpr (std::is_same_v<T, GotoPosition>) {
                movePlayer(session, action.position);
            } else if constexpr (std::is_same_v<T, RunFor>) {
                const std::int64_t endMs = sim::currentTimeMs() + action.ms;
                const std::int64_t total = action.ms * sim::framesPerSecond / 1000;
                return runFrames(session, command.text, total,
                                 [&](std::int64_t) { return sim::currentTimeMs() >= endMs; });
            } else if constexpr (std::is_same_v<T, RunFrames>) {
                return runFrames(session, command.text, action.frames,
                                 [&](std::int64_t frames) { return frames >= action.frames; });
            } else if constexpr (std::is_same_v<T, RunUntil>) {
                const int minuteNow = sim::clockHoursNow() * minutesPerHour + sim::clockMinutesNow();
                const int minuteThen = action.hours * minutesPerHour + action.minutes;
                const std::int64_t total =
                    ((minuteThen - minuteNow + minutesPerDay) % minutesPerDay) * framesPerMinuteOfClock;
                return runFrames(session, command.text, total, [&](std::int64_t) {
                    return sim::clockHoursNow() == action.hours && sim::clockMinutesNow() == action.minutes;
                });
            } else if constexpr (std::is_same_v<T, KillSquad>) {
                for (Ped ped : sim::createdPeds()) {
                    const std::optional<sim::PedState> state = sim::pedState(ped);
                    if (!state || !state->exists || state->dead) continue;
                    sim::killPed(ped);
                    chronicle::notePed(story, chronicle::MarkKind::died, ped);
                }
            } else if constexpr (std::is_same_v<T, KillPed>) {
                const Ped ped = createdPed(action.index, "kill");
                const std::optional<sim::PedState> state = sim::pedState(ped);
                if (state && state->exists && !state->dead) {
                    sim::killPed(ped);
                    chronicle::notePed(story, chronicle::MarkKind::died, ped);
                }
            } else if constexpr (std::is_same_v<T, SetPlayerDead>) {
                sim::setPlayerDead(action.dead);
                chronicle::notePlayer(story, currentPlayerPosition(session), action.dead);
            } else if constexpr (std::is_same_v<T, SetGate>) {
                sim::setGate(action.skipFrames);
            } else if constexpr (std::is_same_v<T, ModelNever>) {
                sim::setModelNeverLoads(action.model);
            } else if constexpr (std::is_same_v<T, VanishPed>) {
                const Ped ped = createdPed(action.index, "vanish");
                chronicle::notePed(story, chronicle::MarkKind::vanished, ped);
                sim::vanishPed(ped);
            } else if constexpr (std::is_same_v<T, Expect>) {
                checkExpect(session, command, action);
            }
            return true;
        },
        command.action);
}

}  // namespace

void takeCalls(Session& session) {
    for (const sim::CallRecord& record : sim::calls()) {
        if (session.trace != nullptr) *session.trace << sim::traceLine(record) << '\n';
        ++session.tracedCalls;
        chronicle::noteCall(session.chronicle, record);
    }
    sim::clearCalls();
    printTimeline(session);
}

std::optional<scenario::ScenarioError> playScenario(Session& session,
                                                    const scenario::Scenario& scenario) {
    for (const scenario::Command& command : scenario.commands) {
        try {
            const bool running = perform(session, command);
            printTimeline(session);
            if (!running) return std::nullopt;
        } catch (const CommandError& error) {
            return scenario::ScenarioError{scenario.fileName, command.line, error.message};
        }
    }
    return std::nullopt;
}

}  // namespace player
