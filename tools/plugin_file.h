// Where the plug-in builds are: beside the program when installed, else in the build tree.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tools {

// The running program's directory (the current one when the platform cannot say).
std::filesystem::path programDirectory();

// The file of a build ("06h"): beside the program if there, else where the build tree puts it.
std::string pluginFileOf(std::string_view build);

}  // namespace tools
