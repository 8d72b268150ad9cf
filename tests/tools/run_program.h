// Runs one of the project's programs as a user runs it, and gives back its exit status and what
// it printed (stdout and stderr together); and a fresh folder for what a run writes.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace tools_testing {

struct RunResult {
    int status;  // the exit status; -1 when the program did not exit (a crash, a signal)
    std::string output;
};

inline RunResult runProgram(const std::string& program, const std::vector<std::string>& args) {
    std::string command = program;
    for (const std::string& arg : args) command += " '" + arg + "'";
    command += " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return {-1, "popen failed"};
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// A new, empty folder under the test's temporary directory; the caller removes it.
inline std::filesystem::path freshDirectory(const std::string& prefix) {
    std::string pattern =
        (std::filesystem::path(testing::TempDir()) / (prefix + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

}  // namespace tools_testing
