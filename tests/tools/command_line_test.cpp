#include "tools/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string_view>;

std::variant<cli::Options, std::string> parse(const Args& args) { return cli::parseCommandLine(args); }

TEST(CommandLine, OptionsAreTakenInEitherFormAndTheDefaultsFillTheRest) {
    const auto parsed = parse({"--seed=42", "--scenario", "a.scenario", "--trace", "t.jsonl", "--svg=m.svg"});
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
        {{"--build", "06h", "--plugin", "p.so"}, "--build and --plugin both name the plug-in: give one of them"},
        {{"--seed", "-1"}, "--seed -1: not a whole number from 0 to 18446744073709551615"},
        {{"--seed", "12x"}, "--seed 12x: not a whole number from 0 to 18446744073709551615"},
        {{"--trace"}, "--trace needs a value"},
        {{"--svg="}, "--svg needs a value"},
        {{"--trace", "out", "--svg", "out"}, "--trace and --svg name the same file out"},
    };
    for (const auto& c : cases) {
        const auto parsed = parse(c.args);
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << c.message;
        EXPECT_EQ(std::get<std::string>(parsed), c.message);
    }
}

TEST(CommandLine, APluginFileNamesItsBuildOnlyByTheDeliverablesName) {
    EXPECT_EQ(cli::buildOfPluginFile("build/src/GangHideouts24h.so"), "24h");
    EXPECT_EQ(cli::buildOfPluginFile("GangHideouts06h.asi"), "06h");
    EXPECT_EQ(cli::buildOfPluginFile("GangHideouts07h.so"), "");
    EXPECT_EQ(cli::buildOfPluginFile("rogue_runaway.so"), "");
    EXPECT_EQ(cli::cooldownOfBuild("72h"), 4320);
}

}  // namespace
