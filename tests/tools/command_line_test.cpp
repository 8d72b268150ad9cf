#include "tools/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string_view>;

std::variant<cli::Options, std::string> parse(const Args& args) {
    return cli::parseCommandLine(args);
}

TEST(CommandLine, OptionsAreTakenInEitherFormAndTheDefaultsFillTheRest) {
    const auto parsed =
        parse({"--seed=42", "--scenario", "a.scenario", "--trace", "t.jsonl", "--svg=m.svg"});
    ASSERT_TRUE(std::holds_alternative<cli::Options>(parsed)) << std::get<std::string>(parsed);
    const cli::Options& options = std::get<cli::Options>(parsed);
    EXPECT_EQ(options.build, "06h") << "no plug-in named: the shortest build";
    EXPECT_EQ(options.seed, 42u);
    EXPECT_EQ(options.scenarioPath, "a.scenario");
    EXPECT_EQ(options.tracePath, "t.jsonl");
    EXPECT_EQ(options.svgPath, "m.svg");

    const auto plugin = parse({"--plugin", "x/GangHideouts72h.so"});
    ASSERT_TRUE(std::holds_alternative<cli::Options>(plugin));
    EXPECT_EQ(std::get<cli::Options>(plugin).build, "") << "--plugin replaces the default build";
}

TEST(CommandLine, BadOptionsAreNamedInTheMessage) {
    const struct {
        Args args;
        std::string message;
    } cases[] = {
        {{"--bogus"}, "unknown option --bogus"},
        {{"scenario.txt"}, "unknown option scenario.txt"},
        {{"--build", "07h"}, "--build 07h: unknown build, one of 06h|08h|12h|16h|24h|32h|48h|72h"},
        {{"--build", "06h", "--plugin", "p.so"},
         "--build and --plugin both name the plug-in: give one of them"},
        {{"--seed", "-1"}, "--seed -1: not a whole number from 0 to 18446744073709551615"},
        {{"--seed", "12x"}, "--seed 12x: not a whole number from 0 to 18446744073709551615"},
        {{"--trace"}, "--trace needs a value"},
        {{"--svg="}, "--svg needs a value"},
        // A repeated option silently kept its last value.
        {{"--seed", "1", "--seed", "2"}, "--seed given twice: give it once"},
        {{"--trace=a", "--trace", "b"}, "--trace given twice: give it once"},
        {{"--brief", "--brief"}, "--brief given twice"},
        {{"--trace-from", "8:00"},
         "--trace-from and --trace-until choose what --trace writes: give --trace FILE too"},
        {{"--trace", "t", "--trace-from", "25:00"},
         "--trace-from 25:00: write a game-clock moment, HH:MM (day 0) or \"day D HH:MM\""},
        {{"--trace", "t", "--trace-from", "day 1 10:00", "--trace-until", "day 1 09:00"},
         "--trace-until day 1 09:00 is not after --trace-from day 1 10:00"},
        {{"--trace", "t", "--trace-limit", "lots"},
         "--trace-limit lots: write a size such as 500MB, 4GB or 100000 (bytes)"},
        {{"--trace", "t", "--trace-limit", "0"},
         "--trace-limit 0: write a size such as 500MB, 4GB or 100000 (bytes)"},
        {{"--list", "gangs"}, "--list gangs: one of hideouts, natives, builds"},
        {{"--list", "hideouts", "outlaws"}, "--list hideouts outlaws: unknown gang"},
    };
    for (const auto& c : cases) {
        const auto parsed = parse(c.args);
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << c.message;
        EXPECT_EQ(std::get<std::string>(parsed), c.message);
    }
}

TEST(CommandLine, SizesAndGameClockMomentsReadAsWritten) {
    EXPECT_EQ(cli::parseBytes("2GB"), 2'000'000'000);
    EXPECT_EQ(cli::parseBytes("500MB"), 500'000'000);
    EXPECT_EQ(cli::parseBytes("64KB"), 64'000);
    EXPECT_EQ(cli::parseBytes("1000"), 1000);
    EXPECT_EQ(cli::parseBytes("2 GB"), std::nullopt);
    EXPECT_EQ(cli::parseBytes("99999999999GB"), std::nullopt) << "overflows";
    EXPECT_EQ(cli::describeBytes(2'000'000'000), "2.0 GB");
    EXPECT_EQ(cli::describeBytes(1), "1 byte");

    const auto parsed = parse({"--trace", "t", "--trace-from", "day 1 06:00",
                               "--trace-until=day 2 23:30", "--trace-limit", "5GB"});
    ASSERT_TRUE(std::holds_alternative<cli::Options>(parsed)) << std::get<std::string>(parsed);
    const cli::Options& options = std::get<cli::Options>(parsed);
    EXPECT_EQ(options.traceFrom, 1440 + 360);
    EXPECT_EQ(options.traceUntil, 2 * 1440 + 23 * 60 + 30);
    EXPECT_EQ(options.traceLimitBytes, 5'000'000'000);
}

TEST(CommandLine, ListTakesWhatToListAndForHideoutsAGang) {
    const auto gang = parse({"--list", "hideouts", "swamp"});
    ASSERT_TRUE(std::holds_alternative<cli::Options>(gang)) << std::get<std::string>(gang);
    EXPECT_EQ(std::get<cli::Options>(gang).list, "hideouts");
    EXPECT_EQ(std::get<cli::Options>(gang).listGang, "swamp");
    const auto natives = parse({"--list=natives"});
    ASSERT_TRUE(std::holds_alternative<cli::Options>(natives));
    EXPECT_EQ(std::get<cli::Options>(natives).list, "natives");
    EXPECT_EQ(std::get<cli::Options>(natives).listGang, "");
}

}  // namespace
