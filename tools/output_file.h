// An output file that appears under its name only when it is complete: it is written to a
// temporary file beside it and renamed at the end, so a run that stops half-way leaves no
// partial trace or map that looks like a finished one.
#pragma once

#include <fstream>
#include <optional>
#include <string>

namespace output {

struct OutputFile {
    std::string path;
    std::string temporaryPath;
    std::ofstream stream;
};

// Opens the temporary file; a message naming the file when that fails.
std::optional<std::string> open(OutputFile& file, const std::string& path);
// Flushes, closes and renames; a message when any of that fails (the temporary is removed).
std::optional<std::string> commit(OutputFile& file);
// Closes and removes the temporary file. Harmless on a file never opened or already committed.
void discard(OutputFile& file);

// Removes every temporary file still open; safe to call from a signal handler.
void discardAllFromSignal();

}  // namespace output
