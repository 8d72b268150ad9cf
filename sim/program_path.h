// Where the running program's own file is, found the platform's way; the simulator looks for
// the plug-in builds and the bundled demo beside it.
#pragma once

#include <filesystem>

namespace sim {

// The program's file, or an empty path when the platform cannot say.
std::filesystem::path programPath();

}  // namespace sim
