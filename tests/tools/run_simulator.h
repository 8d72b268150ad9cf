// gang-hideouts-sim run as a user runs it, for the tests that check what it prints and leaves.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "run_program.h"

namespace simrun {

namespace fs = std::filesystem;

using tools_testing::RunResult;

// Through a shell, for commands that are not one of the project's programs (rsvg-convert).
inline RunResult runCommand(const std::string& command) {
    return tools_testing::runProgram(command, {});
}

inline RunResult runSimulator(const std::vector<std::string>& args) {
    return tools_testing::runProgram(SIMULATOR, args);
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
        dir = tools_testing::freshDirectory("simrun");
        ASSERT_FALSE(dir.empty());
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
