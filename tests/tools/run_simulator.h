// gang-hideouts-sim run as a user runs it, for the tests that check what it prints and leaves.
#pragma once

#include <stdlib.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace simrun {

namespace fs = std::filesystem;

struct RunResult {
    int status;
    std::string output;  // stdout and stderr together
};

inline RunResult runCommand(const std::string& command) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return {-1, "popen failed"};
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

inline RunResult runSimulator(const std::vector<std::string>& args) {
    std::string command = SIMULATOR;
    for (const std::string& arg : args) command += " '" + arg + "'";
    return runCommand(command);
}

inline std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// A scratch directory in the build tree, with an empty out/ for outputs.
class ScratchDirectory : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::path(testing::TempDir()) / "simrun-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        fs::create_directory(dir / "out");
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string scenario(const std::string& name, const std::string& text) const {
        const fs::path path = dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    fs::path out(const std::string& name) const { return dir / "out" / name; }
    bool outputDirEmpty() const { return fs::is_empty(dir / "out"); }

    fs::path dir;
};

}  // namespace simrun
