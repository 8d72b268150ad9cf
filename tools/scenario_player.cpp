#include "tools/scenario_player.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <span>
#include <type_traits>

#include "host/clock_units.h"
#include "sim/control.h"
#include "sim/script_fibre.h"
#include "tools/expectations.h"
#include "tools/wording.h"

namespace player {

namespace {

// Progress on a terminal only for runs long enough to be waited for.
constexpr std::int64_t progressEveryFrames = 1800;

// A command that cannot be carried out; it carries the message for its line.
struct CommandError {
    std::string message;
};

void printLine(Session& session, const chronicle::Entry& entry) {
    *session.timeline << chronicle::formatEntry(entry) << '\n';
}

// "101-107", or the handles one by one when they do not run on.
std::string describePeds(const std::vector<Ped>& peds) {
    if (peds.empty()) return "none";
    bool consecutive = true;
    for (std::size_t i = 1; i < peds.size(); ++i)
        consecutive = consecutive && peds[i] == peds[i - 1] + 1;
    if (consecutive && peds.size() > 2)
        return std::to_string(peds.front()) + "-" + std::to_string(peds.back());
    std::string out;
    for (Ped ped : peds) out += (out.empty() ? "" : ", ") + std::to_string(ped);
    return out;
}

void flushFold(Session& session) {
    BriefFold& fold = session.fold;
    if (fold.squad) {
        chronicle::Entry squad = *fold.squad;
        squad.text += ", peds " + describePeds(fold.peds);
        if (fold.notCreated > 0)
            squad.text += ", " + std::to_string(fold.notCreated) + " not created";
        printLine(session, squad);
    }
    if (fold.firstLine) {
        std::string said;
        for (const auto& [line, count] : fold.lines) {
            said += (said.empty() ? "" : "; ") + line + " " +
                    (count == 1 ? "once" : std::to_string(count) + " times");
        }
        chronicle::Entry lines{};
        lines.when = *fold.firstLine;
        lines.kind = chronicle::EventKind::said;
        lines.text = "  members say " + said;
        printLine(session, lines);
    }
    fold = {};
}

// Whether the brief timeline folds this entry into the squad being held.
bool folds(Session& session, const chronicle::Entry& entry) {
    BriefFold& fold = session.fold;
    if (entry.kind == chronicle::EventKind::squad) {
        flushFold(session);
        fold.squad = entry;
        return true;
    }
    if (!fold.squad || entry.squad != fold.squad->squad) return false;
    if (entry.kind == chronicle::EventKind::member) {
        if (entry.ped == 0) {
            ++fold.notCreated;
        } else {
            fold.peds.push_back(entry.ped);
        }
        return true;
    }
    if (entry.kind == chronicle::EventKind::said && entry.byMember) {
        if (!fold.firstLine) fold.firstLine = entry.when;
        ++fold.lines[entry.line];
        return true;
    }
    return false;
}

void printTimeline(Session& session) {
    chronicle::Chronicle& chronicle = session.chronicle;
    if (!chronicle.unprinted.empty()) {
        if (session.showProgress) std::fputs("\r\033[K", stderr);
        for (const chronicle::Entry& entry : chronicle.unprinted) {
            if (session.events != nullptr) *session.events << chronicle::eventJson(entry) << '\n';
            if (session.timeline == nullptr) continue;
            if (session.brief && folds(session, entry)) continue;
            if (session.brief) flushFold(session);
            printLine(session, entry);
        }
        if (session.timeline != nullptr) session.timeline->flush();
    }
    chronicle.unprinted.clear();
}

void showProgress(Session& session, const std::string& command, std::int64_t done,
                  std::int64_t total) {
    if (!session.showProgress || done % progressEveryFrames != 0 || total < progressEveryFrames)
        return;
    std::fprintf(stderr, "\r\033[K%s: %lld%%  (day %d %02d:%02d, frame %lld)", command.c_str(),
                 static_cast<long long>(done * 100 / total), sim::gameDaysNow(),
                 sim::clockHoursNow(), sim::clockMinutesNow(),
                 static_cast<long long>(sim::currentFrame()));
}

void endProgress(Session& session, std::int64_t total) {
    if (session.showProgress && total >= progressEveryFrames) std::fputs("\r\033[K", stderr);
}

// Runs frames until done() or the run stops; progress counts frames against total. False when
// the run stopped (a host error, or the trace could not go on).
template <class Done>
bool runFrames(Session& session, const std::string& command, std::int64_t total, Done done) {
    for (std::int64_t frames = 0; !done(frames); ++frames) {
        const bool running = sim::runScriptFrame();
        takeCalls(session);
        if (!running || session.stopped) {
            endProgress(session, total);
            return false;
        }
        showProgress(session, command, frames + 1, total);
    }
    endProgress(session, total);
    return true;
}

bool runUntilMoment(Session& session, const std::string& command, gametime::Moment moment) {
    const std::int64_t total = gametime::framesForGameMinutes(moment - gametime::momentNow());
    return runFrames(session, command, total,
                     [&](std::int64_t) { return gametime::momentNow() >= moment; });
}

Ped createdPed(int index, std::string_view command) {
    const std::vector<Ped> peds = sim::createdPeds();
    if (index > static_cast<int>(peds.size())) {
        throw CommandError{
            std::string(command) + " " + std::to_string(index) + ": the plug-in has created only " +
            wording::counted(static_cast<std::int64_t>(peds.size()), "ped", "peds") + " so far"};
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

bool aliveInWorld(Ped ped) {
    const std::optional<sim::PedState> state = sim::pedState(ped);
    return state && state->exists && !state->dead;
}

void checkExpect(Session& session, const scenario::Command& command,
                 const scenario::Expect& expect) {
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

// One step per kind of command; each returns false when the run stopped.
struct Perform {
    Session& session;
    const scenario::Command& command;

    void note() const { chronicle::noteAction(session.chronicle, command.text); }
    void noteWithPed(Ped ped) const {
        chronicle::noteAction(session.chronicle,
                              command.text + " (ped " + std::to_string(ped) + ")");
    }

    bool operator()(const scenario::ClockSet& action) const {
        note();
        sim::setClock(action.hours, action.minutes);
        return true;
    }
    bool operator()(const scenario::ClockAdvance& action) const {
        note();
        sim::advanceClock(static_cast<int>(action.minutes));
        return true;
    }
    bool operator()(const scenario::GotoHideout& action) const {
        note();
        const Vector3 point =
            ::profileOf(action.gang).hideouts[static_cast<std::size_t>(action.point) - 1];
        movePlayer(session, {point.x + action.offset.x, point.y + action.offset.y,
                             point.z + action.offset.z});
        return true;
    }
    bool operator()(const scenario::GotoPosition& action) const {
        note();
        movePlayer(session, action.position);
        return true;
    }
    bool operator()(const scenario::RunFor& action) const {
        note();
        const std::int64_t endMs = sim::currentTimeMs() + action.ms;
        return runFrames(session, command.text, gametime::framesForMs(action.ms),
                         [&](std::int64_t) { return sim::currentTimeMs() >= endMs; });
    }
    bool operator()(const scenario::RunFrames& action) const {
        note();
        return runFrames(session, command.text, action.frames,
                         [&](std::int64_t frames) { return frames >= action.frames; });
    }
    bool operator()(const scenario::RunUntil& action) const {
        note();
        // The next time the clock reads HH:MM: today, or tomorrow if that is past.
        const gametime::Moment now = gametime::momentNow();
        const gametime::Moment today =
            gametime::momentOf(sim::gameDaysNow(), action.hours, action.minutes);
        return runUntilMoment(session, command.text,
                              today >= now ? today
                                           : gametime::momentOf(sim::gameDaysNow() + 1,
                                                                action.hours, action.minutes));
    }
    bool operator()(const scenario::RunUntilMoment& action) const {
        note();
        return runUntilMoment(session, command.text, action.moment);
    }
    bool operator()(const scenario::RunGameMinutes& action) const {
        note();
        return runUntilMoment(session, command.text, gametime::momentNow() + action.minutes);
    }
    bool operator()(const scenario::KillSquad&) const {
        note();
        for (Ped ped : sim::createdPeds()) {
            if (!aliveInWorld(ped)) continue;
            sim::killPed(ped);
            chronicle::notePed(session.chronicle, chronicle::MarkKind::died, ped);
        }
        return true;
    }
    bool operator()(const scenario::KillPed& action) const {
        const Ped ped = createdPed(action.index, "kill");
        noteWithPed(ped);
        if (aliveInWorld(ped)) {
            sim::killPed(ped);
            chronicle::notePed(session.chronicle, chronicle::MarkKind::died, ped);
        }
        return true;
    }
    bool operator()(const scenario::SetPlayerDead& action) const {
        note();
        sim::setPlayerDead(action.dead);
        chronicle::notePlayer(session.chronicle, currentPlayerPosition(session), action.dead);
        return true;
    }
    bool operator()(const scenario::SetGate& action) const {
        note();
        sim::setGate(action.skipFrames);
        return true;
    }
    bool operator()(const scenario::ModelNever& action) const {
        note();
        sim::setModelNeverLoads(action.model);
        return true;
    }
    bool operator()(const scenario::VanishPed& action) const {
        const Ped ped = createdPed(action.index, "vanish");
        noteWithPed(ped);
        chronicle::notePed(session.chronicle, chronicle::MarkKind::vanished, ped);
        sim::vanishPed(ped);
        return true;
    }
    bool operator()(const scenario::SetPool& action) const {
        note();
        sim::setPedPoolCap(action.cap);
        return true;
    }
    bool operator()(const scenario::SetDate& action) const {
        note();
        sim::setDate({.year = action.year, .month = action.month - 1, .day = action.day});
        return true;
    }
    bool operator()(const scenario::NewPlayerPed&) const {
        note();
        sim::newPlayerPed();
        chronicle::notePlayer(session.chronicle, currentPlayerPosition(session), false);
        return true;
    }
    bool operator()(const scenario::ModelLoads& action) const {
        note();
        sim::setModelLoads(action.model);
        return true;
    }
    bool operator()(const scenario::MovePed& action) const {
        const Ped ped = createdPed(action.index, "move");
        noteWithPed(ped);
        sim::movePed(ped, action.position);
        return true;
    }
    bool operator()(const scenario::Expect& action) const {
        checkExpect(session, command, action);
        return true;
    }
};

bool isRun(const scenario::Action& action) {
    using namespace scenario;
    return std::holds_alternative<RunFor>(action) || std::holds_alternative<RunFrames>(action) ||
           std::holds_alternative<RunUntil>(action) ||
           std::holds_alternative<RunUntilMoment>(action) ||
           std::holds_alternative<RunGameMinutes>(action);
}

// The frame's lines are gathered in one buffer and written at once.
void writeTrace(Session& session, std::span<const sim::CallRecord> records) {
    if (session.trace == nullptr || session.stopped) return;
    std::string& out = session.traceBuffer;
    out.clear();
    for (const sim::CallRecord& record : records) {
        if (!inWindow(session.traceWindow,
                      gametime::momentOf(record.day, record.clockHours, record.clockMinutes)))
            continue;
        const std::size_t lineStart = out.size();
        sim::appendTraceLine(out, record);
        session.traceBytes += static_cast<std::int64_t>(out.size() - lineStart);
        if (session.traceWindow.limitBytes > 0 &&
            session.traceBytes > session.traceWindow.limitBytes) {
            out.resize(lineStart);
            session.stopped =
                "the trace reached its limit of " + std::to_string(session.traceWindow.limitBytes) +
                " bytes at " + gametime::describeMoment(gametime::momentNow()) + " (frame " +
                std::to_string(sim::currentFrame()) +
                "); raise --trace-limit or narrow the window with --trace-from and --trace-until";
            break;
        }
    }
    session.trace->write(out.data(), static_cast<std::streamsize>(out.size()));
}

}  // namespace

void finish(Session& session) {
    chronicle::noteSurvivors(session.chronicle);
    printTimeline(session);
    if (session.timeline != nullptr && session.brief) {
        flushFold(session);
        session.timeline->flush();
    }
}

bool inWindow(const TraceWindow& window, gametime::Moment moment) {
    return (!window.from || moment >= *window.from) && (!window.until || moment < *window.until);
}

void takeCalls(Session& session) {
    const std::span<const sim::CallRecord> records = sim::calls();
    writeTrace(session, records);
    session.tracedCalls += static_cast<std::int64_t>(records.size());
    chronicle::noteCalls(session.chronicle, records);
    sim::clearCalls();
    if (session.trace != nullptr && !session.stopped && session.trace->fail()) {
        session.stopped = "cannot write " + session.traceName + ": " + std::strerror(errno);
    }
    printTimeline(session);
}

std::optional<scenario::ScenarioError> playScenario(Session& session,
                                                    const scenario::Scenario& scenario) {
    for (const scenario::Command& command : scenario.commands) {
        try {
            const std::size_t squadsBefore = session.chronicle.squads.size();
            const std::size_t failedBefore = session.chronicle.failedSpawns.size();
            const bool running = std::visit(Perform{session, command}, command.action);
            if (running && isRun(command.action)) {
                chronicle::explainQuietHideout(session.chronicle, squadsBefore, failedBefore);
            }
            printTimeline(session);
            if (!running) return std::nullopt;
        } catch (const CommandError& error) {
            return scenario::ScenarioError{scenario.fileName, command.line, error.message};
        }
    }
    return std::nullopt;
}

}  // namespace player
