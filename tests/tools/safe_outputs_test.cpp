// Outputs that cannot hurt: the simulator refuses, before it runs, any output that would replace
// an input or another output, that cannot be written, or a trace too large for the disk; and it
// reports every write error, devices included.
#include "run_simulator.h"

namespace {

using namespace simrun;

class SafeOutputs : public ScratchDirectory {
protected:
    void SetUp() override {
        ScratchDirectory::SetUp();
        idle = scenario("idle.scenario", "run 2s\n");
        idleText = readFile(idle);
        // A copy of a build, so that a failing test cannot overwrite the build tree's plug-in.
        plugin = (dir / "GangHideouts06h.so").string();
        fs::copy_file(fs::path(PLUGIN_DIR) / "GangHideouts06h.so", plugin);
        pluginText = readFile(plugin);
    }
    std::string idle, idleText, plugin, pluginText;
};

// Each refusal happens before the run: the plug-in never registers, nothing is written, and the
// inputs are as they were.
TEST_F(SafeOutputs, AnOutputThatWouldHurtIsRefusedWith2BeforeTheRun) {
    fs::create_directory(dir / "sub");
    const std::string outA = out("a.jsonl").string();
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        // --trace naming the scenario replaced it with a trace and exited 0.
        {{"--scenario", idle, "--trace", idle},
         "--trace " + idle + " is the scenario: an output would overwrite it"},
        {{"--scenario", idle, "--svg", (dir / "." / "idle.scenario").string()}, "is the scenario"},
        {{"--scenario", idle, "--plugin", plugin, "--events", plugin},
         "--events " + plugin + " is the plug-in"},
        {{"--scenario", idle, "--trace", outA, "--svg",
          (dir / "sub" / ".." / "out" / "a.jsonl").string()},
         "--trace and --svg name the same file"},
        {{"--scenario", idle, "--trace", outA, "--events", outA},
         "--trace and --events name the same file"},
        // A directory failed only after the whole run.
        {{"--scenario", idle, "--trace", (dir / "sub").string()},
         "cannot write " + (dir / "sub").string() + ": it is a directory"},
        // The README's own example failed because out/ did not exist.
        {{"--scenario", idle, "--svg", (dir / "missing" / "map.svg").string()},
         "directory " + (dir / "missing").string() + " does not exist"},
        {{"--scenario", idle, "--svg", (fs::path(idle) / "map.svg").string()},
         idle + " is not a directory"},
        // A read-only kernel file said "No such file or directory".
        {{"--scenario", idle, "--trace", "/proc/version"},
         "cannot write /proc/version: it is read-only"},
        // A directory given as the plug-in said "no such file".
        {{"--scenario", idle, "--plugin", dir.string()},
         "cannot load plug-in " + dir.string() + ": it is a directory"},
    };
    for (const auto& c : cases) {
        const RunResult run = runSimulator(c.args);
        EXPECT_EQ(run.status, 2) << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos)
            << "wanted: " << c.message << "\ngot: " << run.output;
        EXPECT_EQ(run.output.find("registered its script"), std::string::npos)
            << c.message << ": the run started";
        EXPECT_TRUE(outputDirEmpty()) << c.message;
        EXPECT_EQ(readFile(idle), idleText) << c.message;
        EXPECT_EQ(readFile(plugin), pluginText) << c.message;
    }
}

// A trace written to the always-full device reported success.
TEST_F(SafeOutputs, AWriteErrorOnADeviceIsReportedWith2) {
    for (const char* flag : {"--trace", "--svg", "--events"}) {
        const RunResult run = runSimulator({"--scenario", idle, flag, "/dev/full"});
        EXPECT_EQ(run.status, 2) << flag << "\n" << run.output;
        EXPECT_NE(run.output.find("cannot write /dev/full: No space left on device"),
                  std::string::npos)
            << flag << "\n"
            << run.output;
    }
    const RunResult toNull =
        runSimulator({"--scenario", idle, "--trace", "/dev/null", "--svg", "/dev/null"});
    EXPECT_EQ(toNull.status, 0) << "a device may take two outputs\n" << toNull.output;
}

// `run 3d` with --trace wrote about 83 GB and filled the disk before failing.
TEST_F(SafeOutputs, ATraceExpectedToOutgrowItsLimitIsRefusedWithItsEstimate) {
    const std::string long3d = scenario("long.scenario", "goto duster 4 0 -30 0\nrun 3d\n");
    const RunResult refused =
        runSimulator({"--scenario", long3d, "--trace", out("t.jsonl").string()});
    EXPECT_EQ(refused.status, 2) << refused.output;
    EXPECT_NE(refused.output.find(
                  "the trace of this run would be about 124.4 GB, more than its limit of 2.0 GB"),
              std::string::npos)
        << refused.output;
    EXPECT_TRUE(outputDirEmpty());

    // A window of a few game minutes brings the same run under the limit; only calls inside it are
    // kept.
    const RunResult windowed = runSimulator(
        {"--scenario", scenario("short.scenario", "run 30s\n"), "--trace", out("t.jsonl").string(),
         "--trace-from", "08:05", "--trace-until", "08:10", "--trace-limit", "50MB"});
    EXPECT_EQ(windowed.status, 0) << windowed.output;
    const std::string trace = readFile(out("t.jsonl"));
    EXPECT_TRUE(trace.starts_with("{\"frame\":300,\"t\":10000,\"day\":0,\"clock\":\"08:05\""))
        << trace.substr(0, 200);
    EXPECT_EQ(trace.find("\"clock\":\"08:10\""), std::string::npos)
        << "--trace-until is the first moment left out";
    EXPECT_EQ(trace.find("scriptRegister"), std::string::npos);

    const RunResult raised =
        runSimulator({"--scenario", scenario("hour.scenario", "run 1h\n"), "--trace",
                      out("t.jsonl").string(), "--trace-limit", "100KB"});
    EXPECT_EQ(raised.status, 2) << raised.output;
    EXPECT_NE(raised.output.find("would be about 1.7 GB, more than its limit of 100.0 KB"),
              std::string::npos)
        << raised.output;
}

}  // namespace
