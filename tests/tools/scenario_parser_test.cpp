#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "tools/scenario.h"

namespace {

using namespace scenario;

std::string text(Vector3 v) {
    auto number = [](float f) {
        std::string s = std::to_string(f);
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.') s.pop_back();
        return s;
    };
    return number(v.x) + " " + number(v.y) + " " + number(v.z);
}

// The parsed command in a few words, enough to tell a wrong unit or a swapped field.
std::string shape(const Action& action) {
    return std::visit(
        [](const auto& a) -> std::string {
            using T = std::decay_t<decltype(a)>;
            if constexpr (std::is_same_v<T, ClockSet>)
                return "set " + std::to_string(a.hours * 60 + a.minutes);
            if constexpr (std::is_same_v<T, ClockAdvance>)
                return "advance " + std::to_string(a.minutes);
            if constexpr (std::is_same_v<T, GotoHideout>) {
                return "hideout " + std::string(gangName(a.gang)) + " " + std::to_string(a.point) +
                       " " + text(a.offset);
            }
            if constexpr (std::is_same_v<T, GotoPosition>) return "position " + text(a.position);
            if constexpr (std::is_same_v<T, RunFor>) return "ms " + std::to_string(a.ms);
            if constexpr (std::is_same_v<T, RunFrames>) return "frames " + std::to_string(a.frames);
            if constexpr (std::is_same_v<T, RunUntil>)
                return "until " + std::to_string(a.hours * 60 + a.minutes);
            if constexpr (std::is_same_v<T, RunUntilMoment>)
                return "until moment " + std::to_string(a.moment);
            if constexpr (std::is_same_v<T, RunGameMinutes>)
                return "game minutes " + std::to_string(a.minutes);
            if constexpr (std::is_same_v<T, KillSquad>) return "kill squad";
            if constexpr (std::is_same_v<T, KillPed>) return "kill " + std::to_string(a.index);
            if constexpr (std::is_same_v<T, SetPlayerDead>) return a.dead ? "dead" : "alive";
            if constexpr (std::is_same_v<T, SetGate>) return a.skipFrames ? "gate on" : "gate off";
            if constexpr (std::is_same_v<T, ModelNever>) return "never " + a.model;
            if constexpr (std::is_same_v<T, VanishPed>) return "vanish " + std::to_string(a.index);
            if constexpr (std::is_same_v<T, SetPool>) return "pool " + std::to_string(a.cap);
            if constexpr (std::is_same_v<T, SetDate>) {
                return "date " + std::to_string(a.year) + " " + std::to_string(a.month) + " " +
                       std::to_string(a.day);
            }
            if constexpr (std::is_same_v<T, NewPlayerPed>) return "new player";
            if constexpr (std::is_same_v<T, ModelLoads>) return "loads " + a.model;
            if constexpr (std::is_same_v<T, MovePed>)
                return "move " + std::to_string(a.index) + " " + text(a.position);
            if constexpr (std::is_same_v<T, Expect>) {
                return "expect " + std::to_string(static_cast<int>(a.kind)) + " " +
                       std::to_string(a.count) + (a.exactCount ? "" : "+") + " " +
                       std::string(gangName(a.gang)) + " " + std::to_string(a.point) + " " + a.name;
            }
        },
        action);
}

TEST(ScenarioParser, EveryCommandParsesWithItsUnits) {
    const struct {
        const char* line;
        const char* shape;
    } cases[] = {
        {"clock 07:05", "set 425"},
        {"clock 0:00", "set 0"},
        {"clock +90min", "advance 90"},
        {"clock +6h", "advance 360"},
        {"clock +2d", "advance 2880"},
        {"clock +1d2h3min", "advance 1563"},
        {"goto duster 4", "hideout duster 4 0 0 0"},
        {"goto mountainman 17 1.5 -40 0.25", "hideout mountainman 17 1.5 -40 0.25"},
        {"goto -1840.841 1860.41 246.471", "position -1840.840942 1860.410034 246.470993"},
        {"run 500ms", "ms 500"},
        {"run 10s", "ms 10000"},
        {"run 2min", "ms 120000"},
        {"run 1h30min", "ms 5400000"},
        {"run 45 frames", "frames 45"},
        {"run 1 frame", "frames 1"},
        {"run until 23:59", "until 1439"},
        {"run until day 2 08:30", "until moment 3390"},
        {"run until day 0 8:00", "until moment 480"},
        {"run 3 game days", "game minutes 4320"},
        {"run 1 game day", "game minutes 1440"},
        {"run 6 game hours", "game minutes 360"},
        {"run 90 game minutes", "game minutes 90"},
        {"kill squad", "kill squad"},
        {"kill 3", "kill 3"},
        {"player dead", "dead"},
        {"player alive   # comment after a command", "alive"},
        {"gate on", "gate on"},
        {"model g_m_m_uniswamp_01 never", "never g_m_m_uniswamp_01"},
        {"vanish 7", "vanish 7"},
        {"pool 0", "pool 0"},
        {"pool 12", "pool 12"},
        {"date 1899-06-14", "date 1899 6 14"},
        {"date 1900-02-28", "date 1900 2 28"},
        {"date 2000-02-29", "date 2000 2 29"},
        {"player new", "new player"},
        {"model g_m_m_uniswamp_01 loads", "loads g_m_m_uniswamp_01"},
        {"move 3 -850 1350.5 230", "move 3 -850 1350.5 230"},
        {"expect squads 2", "expect 0 2 duster 0 "},
        {"expect squad bandito 5 g_m_m_unibanditos_01",
         "expect 1 0 bandito 5 g_m_m_unibanditos_01"},
        {"expect peds 7", "expect 2 7 duster 0 "},
        {"expect peds alive 6", "expect 3 6 duster 0 "},
        {"expect peds dead 1", "expect 4 1 duster 0 "},
        {"expect deleted 14", "expect 5 14 duster 0 "},
        {"expect said SPOTTED_MALE", "expect 6 0+ duster 0 SPOTTED_MALE"},
        {"expect said SPOTTED_MALE 7", "expect 6 7 duster 0 SPOTTED_MALE"},
        {"expect not said COUGH_SICK_SMALL", "expect 7 0 duster 0 COUGH_SICK_SMALL"},
        {"expect calls requestModel 3", "expect 8 3 duster 0 requestModel"},
    };
    for (const auto& c : cases) {
        const auto parsed = parseScenario(c.line, "t.scenario");
        ASSERT_TRUE(std::holds_alternative<Scenario>(parsed))
            << c.line << ": " << describe(std::get<ScenarioError>(parsed));
        const Scenario& scenario = std::get<Scenario>(parsed);
        ASSERT_EQ(scenario.commands.size(), 1u) << c.line;
        EXPECT_EQ(shape(scenario.commands[0].action), c.shape) << c.line;
    }
}

TEST(ScenarioParser, CommentsAndBlankLinesAreSkippedButCounted) {
    const auto parsed =
        parseScenario("# the start\n\n   \ngoto duster 1   # there\r\nrun 2s\n", "t.scenario");
    ASSERT_TRUE(std::holds_alternative<Scenario>(parsed));
    const Scenario& scenario = std::get<Scenario>(parsed);
    ASSERT_EQ(scenario.commands.size(), 2u);
    EXPECT_EQ(scenario.commands[0].line, 4);
    EXPECT_EQ(scenario.commands[0].text, "goto duster 1");
    EXPECT_EQ(scenario.commands[1].line, 5);
}

TEST(ScenarioParser, ABadLineIsReportedWithFileLineAndWhatIsWrong) {
    const struct {
        const char* line;
        const char* message;
    } cases[] = {
        {"jump 3",
         "unknown command \"jump\" (clock, goto, run, kill, player, gate, model, vanish, move, "
         "pool, date, expect)"},
        {"clock 24:00", "bad clock time \"24:00\": write HH:MM, 00:00 to 23:59"},
        {"clock 7:5", "bad clock time \"7:5\": write HH:MM, 00:00 to 23:59"},
        {"clock +30s",
         "bad duration \"+30s\": the game clock moves in whole minutes (use min, h or d)"},
        {"clock +-5min",
         "bad duration \"-5min\": write a whole number and a unit, ms, s, min, h or d (e.g. 10s, "
         "2min, 1h30min)"},
        {"run 10",
         "bad duration \"10\": write a whole number and a unit, ms, s, min, h or d (e.g. 10s, "
         "2min, 1h30min)"},
        {"run 10 sec",
         "usage: run DURATION | run N frames | run N game days|hours|minutes | run until [day D] "
         "HH:MM"},
        {"run 3 game weeks", "bad unit \"weeks\": game days, game hours or game minutes"},
        {"run -1 game days", "bad count of game days \"-1\": must be 0 to 1000000"},
        {"run until day x 08:00", "bad day \"x\": not a whole number"},
        {"run until day 2 25:00", "bad clock time \"25:00\": write HH:MM, 00:00 to 23:59"},
        {"run until 2 08:00",
         "usage: run DURATION | run N frames | run N game days|hours|minutes | run until [day D] "
         "HH:MM"},
        {"run 30min1h",
         "bad duration \"30min1h\": write a whole number and a unit, ms, s, min, h or d (e.g. 10s, "
         "2min, 1h30min)"},
        {"run 2000000s", "bad duration \"2000000s\": at most 1000000 of a unit"},
        {"run -3 frames", "bad frame count \"-3\": must be 0 to 1000000"},
        {"goto outlaws 1",
         "unknown gang \"outlaws\": one of duster, exconfederate, swamp, inbred, mountainman, "
         "bandito"},
        {"goto swamp 3", "bad point \"3\": swamp has points 1 to 2"},
        {"goto duster 0", "bad point \"0\": duster has points 1 to 38"},
        {"goto bandito x", "bad point \"x\": not a whole number"},
        // A position or an offset with a number missing used to be read as a gang name.
        {"goto 1 2", "a position takes three numbers, X Y Z (got 2): goto X Y Z"},
        {"goto 1 2 3 4", "a position takes three numbers, X Y Z (got 4): goto X Y Z"},
        {"goto -850.5", "a position takes three numbers, X Y Z (got 1): goto X Y Z"},
        {"goto duster 4 1 2",
         "an offset takes three numbers, DX DY DZ (got 2): goto GANG N DX DY DZ"},
        {"goto duster 4 1",
         "an offset takes three numbers, DX DY DZ (got 1): goto GANG N DX DY DZ"},
        {"goto duster", "usage: goto GANG N [DX DY DZ] | goto X Y Z"},
        {"expect squad 1 2",
         "unknown gang \"1\": one of duster, exconfederate, swamp, inbred, mountainman, bandito"},
        {"goto 1 2 nan", "bad coordinate \"nan\": not a number of metres"},
        {"kill 0", "bad ped number \"0\": must be 1 to 1000000"},
        {"kill everyone", "bad ped number \"everyone\": not a whole number"},
        {"player asleep", "usage: player dead | player alive | player new"},
        {"gate maybe", "usage: gate on | gate off"},
        {"model g_m_m_uniswamp_01 always", "usage: model NAME never | model NAME loads"},
        {"pool", "usage: pool N"},
        {"pool -1", "bad pool size \"-1\": must be 0 to 1000000"},
        {"pool lots", "bad pool size \"lots\": not a whole number"},
        {"date 1899-6-14",
         "bad date \"1899-6-14\": write YYYY-MM-DD, a day of the calendar (e.g. 1899-06-14)"},
        {"date 1900-02-29",
         "bad date \"1900-02-29\": write YYYY-MM-DD, a day of the calendar (e.g. 1899-06-14)"},
        {"date 1899-13-01",
         "bad date \"1899-13-01\": write YYYY-MM-DD, a day of the calendar (e.g. 1899-06-14)"},
        {"date 0000-01-01",
         "bad date \"0000-01-01\": write YYYY-MM-DD, a day of the calendar (e.g. 1899-06-14)"},
        {"date 1899-04-31",
         "bad date \"1899-04-31\": write YYYY-MM-DD, a day of the calendar (e.g. 1899-06-14)"},
        {"move 2 1 2", "usage: move N X Y Z"},
        {"move 0 1 2 3", "bad ped number \"0\": must be 1 to 1000000"},
        {"move 1 1 2 inf", "bad coordinate \"inf\": not a number of metres"},
        {"vanish", "usage: vanish N"},
        {"expect calls spawnPed 1",
         "unknown native \"spawnPed\": use a role name such as createPed"},
        {"expect squads many", "bad count \"many\": not a whole number"},
        {"expect squad swamp 9", "bad point \"9\": swamp has points 1 to 2"},
    };
    for (const auto& c : cases) {
        const auto parsed =
            parseScenario(std::string("# first line\n") + c.line + "\n", "t.scenario");
        ASSERT_TRUE(std::holds_alternative<ScenarioError>(parsed)) << c.line;
        EXPECT_EQ(describe(std::get<ScenarioError>(parsed)),
                  std::string("t.scenario:2: ") + c.message);
    }
}

// A scenario saved by an editor that writes a byte-order mark failed on an invisible character.
TEST(ScenarioParser, AByteOrderMarkAtTheStartIsSkippedAndNowhereElse) {
    const auto marked = parseScenario("\xEF\xBB\xBFgoto duster 1\nrun 2s\n", "bom.scenario");
    ASSERT_TRUE(std::holds_alternative<Scenario>(marked))
        << describe(std::get<ScenarioError>(marked));
    EXPECT_EQ(std::get<Scenario>(marked).commands.size(), 2u);
    const auto inside = parseScenario("run 2s\n\xEF\xBB\xBFgoto duster 1\n", "bom.scenario");
    ASSERT_TRUE(std::holds_alternative<ScenarioError>(inside));
    EXPECT_EQ(std::get<ScenarioError>(inside).line, 2);
}

TEST(ScenarioParser, AFileThatCannotBeReadIsNamed) {
    const auto missing = loadScenario("/nonexistent/x.scenario");
    ASSERT_TRUE(std::holds_alternative<ScenarioError>(missing));
    EXPECT_EQ(describe(std::get<ScenarioError>(missing)),
              "/nonexistent/x.scenario: cannot read the scenario: No such file or directory");
    const auto directory = loadScenario("/tmp");
    ASSERT_TRUE(std::holds_alternative<ScenarioError>(directory));
    EXPECT_EQ(describe(std::get<ScenarioError>(directory)),
              "/tmp: cannot read the scenario: it is a directory");
    const auto binary = parseScenario(std::string("run 1s\nx\0y\n", 12), "b.scenario");
    ASSERT_TRUE(std::holds_alternative<ScenarioError>(binary));
    EXPECT_EQ(describe(std::get<ScenarioError>(binary)),
              "b.scenario:2: not a text file (NUL byte)");
}

}  // namespace
