// An output file that appears under its name only when it is complete: it is written to a
// temporary file beside it and renamed at the end, so a run that stops half-way leaves no
// partial trace or map that looks like a finished one. A device or a pipe (/dev/null, /dev/full,
// a FIFO) cannot be renamed over: it is written directly, and its write errors are reported
// like any other.
#pragma once

#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace output {

struct OutputFile {
    std::string path;
    std::string temporaryPath;  // empty when written directly
    std::ofstream stream;
};

// A file the run reads or writes, by the option that names it: "--trace", "the scenario".
struct NamedPath {
    std::string what;
    std::string path;
};

// Refuses an output that is also an input or another output: the same name, or another name of
// the same file. A message naming both, or nullopt.
std::optional<std::string> findClash(const std::vector<NamedPath>& inputs,
                                     const std::vector<NamedPath>& outputs);

// Opens the file for writing (the temporary beside it, or the device itself); a message naming the
// file and why when it cannot be written: a directory, a missing directory, no permission.
std::optional<std::string> open(OutputFile& file, const std::string& path);
// Flushes, closes and renames; a message when any of that fails (the temporary is removed).
std::optional<std::string> commit(OutputFile& file);
// Closes and removes the temporary file. Harmless on a file never opened or already committed.
void discard(OutputFile& file);

// Removes every temporary file still open; safe to call from a signal handler.
void discardAllFromSignal();

}  // namespace output
