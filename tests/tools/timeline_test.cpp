// The timeline, the names to discover and the labels, read as a user reads them.
#include <algorithm>
#include <sstream>

#include "natives/catalogue.h"
#include "run_simulator.h"

namespace {

using namespace simrun;

class Timeline : public ScratchDirectory {};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

std::size_t countOf(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

// The timeline with each wrapped entry joined back into one line.
std::string unwrapped(std::string text) {
    const std::string continuation = "\n" + std::string(34, ' ');
    for (std::size_t at; (at = text.find(continuation)) != std::string::npos;)
        text.replace(at, continuation.size(), " ");
    return text;
}

// A fight, its re-arm, the player's death at a visited hideout, and a second fight.
constexpr const char* story =
    "goto duster 4 0 -30 0\n"
    "run 30s\n"
    "kill 3\n"
    "goto exconfederate 1 0 -30 0\n"
    "run 5s\n"
    "goto duster 4 0 -30 0\n"
    "clock +5h30min\n"
    "run 30 game minutes\n"
    "player dead\n"
    "run 5s\n"
    "player alive\n"
    "run 5s\n";

// Timeline lines ran up to 165 characters.
TEST_F(Timeline, EveryLineOfEveryBundledScenarioFitsIn100Columns) {
    for (const auto& entry : fs::directory_iterator(SCENARIO_DIR)) {
        // --brief on the demo only: its lines are the same lines, fewer.
        for (const char* mode : {"", "--brief"}) {
            if (*mode != '\0' && entry.path().filename() != "demo.scenario") continue;
            std::vector<std::string> args = {"--scenario", entry.path().string(), "--build", "72h"};
            if (*mode != '\0') args.push_back(mode);
            const RunResult run = runSimulator(args);
            for (const std::string& line : linesOf(run.output)) {
                // The path as given, messages that quote a line of the scenario, and the
                // sanitizer's own notes in the sanitizer build.
                if (line.starts_with("scenario ") || line.starts_with(entry.path().string()) ||
                    line.starts_with("==")) {
                    continue;
                }
                EXPECT_LE(line.size(), 100u) << entry.path() << " " << mode << "\n" << line;
            }
        }
    }
}

TEST_F(Timeline, SaysWhichPedAKillMeansAndWhyANearHideoutSpawnsNothing) {
    RunResult run = runSimulator({"--scenario", scenario("story.scenario", story)});
    ASSERT_EQ(run.status, 0) << run.output;
    run.output = unwrapped(run.output);
    EXPECT_NE(run.output.find("> kill 3 (ped 103)"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(
                  "no squad at exconfederate 1: squad 1's encounter runs until the re-arm at day 0 "
                  "14:01"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("hideouts re-armed, 6 h of game time after squad 1 (cooldown 6 h)"),
              std::string::npos)
        << run.output;
    EXPECT_NE(
        run.output.find("no squad at duster 4: disarmed since squad 2, re-arms at day 0 20:02"),
        std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("\n2 squads, 14 members removed by the plug-in"), std::string::npos)
        << run.output;
}

// "said 1 times", "1 squads", "1 expects passed".
TEST_F(Timeline, CountsOfOneAreSingular) {
    const RunResult run =
        runSimulator({"--scenario", scenario("one.scenario",
                                             "goto duster 4 0 -30 0\nrun 30s\n"
                                             "expect said ORR_V2_ILO_NEG\nexpect peds 7\n")});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("ok (said 1 time)"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\n1 squad, 0 members removed by the plug-in"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("2 expects passed, 0 failed"), std::string::npos) << run.output;
    const RunResult kill = runSimulator({"--scenario", scenario("k.scenario", "kill 1\n")});
    EXPECT_NE(kill.output.find("kill 1: the plug-in has created only 0 peds so far"),
              std::string::npos)
        << kill.output;
}

TEST_F(Timeline, BriefFoldsASquadAndItsMembersLinesIntoOneLineEach) {
    const std::string fight = scenario("fight.scenario", "goto duster 4 0 -30 0\nrun 30s\n");
    const RunResult full = runSimulator({"--scenario", fight});
    const RunResult brief = runSimulator({"--scenario", fight, "--brief"});
    ASSERT_EQ(brief.status, 0) << brief.output;
    EXPECT_EQ(countOf(full.output, " created ("), 7u);
    EXPECT_EQ(countOf(brief.output, " created ("), 0u) << brief.output;
    EXPECT_NE(brief.output.find("squad 1 at duster 4, model g_m_m_uniduster_01, peds 101-107\n"),
              std::string::npos)
        << brief.output;
    EXPECT_NE(brief.output.find("  members say SPOTTED_MALE 7 times\n"), std::string::npos)
        << brief.output;
    EXPECT_EQ(countOf(brief.output, "player says"), countOf(full.output, "player says"))
        << "the player's lines are not folded";
}

TEST_F(Timeline, EventsAreTheTimelineAsJsonLines) {
    const RunResult run = runSimulator({"--scenario", scenario("story.scenario", story), "--events",
                                        out("events.jsonl").string()});
    ASSERT_EQ(run.status, 0) << run.output;
    const std::vector<std::string> events = linesOf(readFile(out("events.jsonl")));
    ASSERT_FALSE(events.empty());
    for (const std::string& event : events) {
        EXPECT_TRUE(event.starts_with("{\"frame\":") && event.ends_with("}")) << event;
    }
    auto has = [&](const std::string& what) {
        return std::any_of(events.begin(), events.end(), [&](const std::string& event) {
            return event.find(what) != std::string::npos;
        });
    };
    EXPECT_TRUE(has("\"event\":\"command\",\"text\":\"> goto duster 4 0 -30 0\""));
    EXPECT_TRUE(
        has("\"event\":\"squad\",\"text\":\"squad 1 at duster 4, model "
            "g_m_m_uniduster_01\",\"squad\":1"));
    EXPECT_TRUE(has("\"event\":\"said\",\"text\":\"ped 101 says SPOTTED_MALE"));
    EXPECT_TRUE(has("\"event\":\"deleted\""));
    EXPECT_TRUE(has("\"event\":\"rearmed\""));
    EXPECT_TRUE(has("\"event\":\"noSquad\""));
    EXPECT_EQ(countOf(readFile(out("events.jsonl")), "\"event\":\"member\""), 14u);
}

TEST_F(Timeline, GameTimeRunsEndOnTheGameClock) {
    const struct {
        const char* command;
        const char* endsAt;
    } cases[] = {
        {"run 2 game hours", "  0 10:00"},
        {"run 90 game minutes", "  0 09:30"},
        {"clock 23:30\nrun 1 game hour", "  1 00:30"},
        {"clock 23:30\nrun until day 1 00:15", "  1 00:15"},
        {"run until day 0 07:00", "  0 08:00"},  // already past: no frame
    };
    for (const auto& c : cases) {
        const RunResult run =
            runSimulator({"--scenario", scenario("g.scenario", std::string(c.command) + "\n")});
        ASSERT_EQ(run.status, 0) << c.command << "\n" << run.output;
        const std::size_t last = run.output.find("the plug-in unregistered its script");
        ASSERT_NE(last, std::string::npos) << run.output;
        const std::size_t lineStart = run.output.rfind('\n', last) + 1;
        EXPECT_EQ(run.output.substr(lineStart, 9), c.endsAt) << c.command;
    }
}

TEST_F(Timeline, ListsNameTheHideoutsTheNativesAndTheBuilds) {
    const RunResult hideouts = runSimulator({"--list", "hideouts"});
    EXPECT_EQ(hideouts.status, 0);
    EXPECT_EQ(linesOf(hideouts.output).size(), 1u + 87u) << "a heading and every hideout point";
    EXPECT_NE(hideouts.output.find(
                  "duster          4     -857.5     1402.6    230.7  g_m_m_uniduster_01"),
              std::string::npos)
        << hideouts.output;
    const RunResult swamp = runSimulator({"--list", "hideouts", "swamp"});
    EXPECT_EQ(linesOf(swamp.output).size(), 1u + 2u) << swamp.output;

    const RunResult natives = runSimulator({"--list", "natives"});
    EXPECT_EQ(natives.status, 0);
    for (const NativeInfo& info : nativeCatalogue) {
        EXPECT_NE(natives.output.find("\n" + std::string(info.role) + " "), std::string::npos)
            << info.role;
    }
    const RunResult builds = runSimulator({"--list", "builds"});
    EXPECT_NE(builds.output.find("06h    6 h\n"), std::string::npos) << builds.output;
    EXPECT_NE(builds.output.find("72h    72 h\n"), std::string::npos) << builds.output;
}

// --plugin ./GangHideouts06h.so claimed a 6 h cooldown from the file name, whatever it held.
TEST_F(Timeline, APlugInShowsItsCooldownOnlyWhenItsContentIsABuild) {
    const std::string idle = scenario("idle.scenario", "run 1s\n");
    const fs::path renamed = dir / "GangHideouts72h.so";
    fs::copy_file(fs::path(PLUGIN_DIR) / "GangHideouts06h.so", renamed);
    const RunResult copy = runSimulator({"--plugin", renamed.string(), "--scenario", idle});
    EXPECT_EQ(copy.status, 0) << copy.output;
    EXPECT_NE(copy.output.find("build 06h (respawn cooldown 6 h)"), std::string::npos)
        << copy.output;

    const fs::path impostor = dir / "GangHideouts06h.so";
    fs::copy_file(fs::path(ROGUE_PLUGIN_DIR) / "rogue_runaway.so", impostor);
    const RunResult rogue = runSimulator({"--plugin", impostor.string(), "--scenario", idle});
    EXPECT_NE(rogue.output.find("plug-in " + impostor.string() +
                                " (respawn cooldown unknown: not one of the builds)"),
              std::string::npos)
        << rogue.output;
    EXPECT_EQ(rogue.output.find("6 h"), std::string::npos) << rogue.output;
}

TEST_F(Timeline, AnEmptyScenarioIsWarnedAboutAndAByteOrderMarkIsAccepted) {
    for (const char* text : {"", "# only a comment\n\n"}) {
        const RunResult run = runSimulator({"--scenario", scenario("empty.scenario", text)});
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_NE(
            run.output.find("warning: " + (dir / "empty.scenario").string() + " has no commands"),
            std::string::npos)
            << run.output;
    }
    const RunResult marked =
        runSimulator({"--scenario", scenario("bom.scenario", "\xEF\xBB\xBFrun 1s\n")});
    EXPECT_EQ(marked.status, 0) << marked.output;
    EXPECT_EQ(marked.output.find("warning"), std::string::npos) << marked.output;
}

TEST_F(Timeline, HelpSummarisesTheScenarioCommandsAndPointsToTheReadme) {
    const RunResult run = runSimulator({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* word :
         {"--list", "--brief", "--events", "--trace-from", "--trace-limit", "run N game days",
          "run until [day D] HH:MM", "goto GANG N", "README"}) {
        EXPECT_NE(run.output.find(word), std::string::npos) << word;
    }
}

}  // namespace
