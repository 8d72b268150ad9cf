#include "tools/plugin_file.h"

#include "sim/plugin_loader.h"
#include "sim/program_path.h"

// Set by the build to the directory the build tree puts the plug-ins in.
#ifndef GANG_HIDEOUTS_PLUGIN_DIR
#define GANG_HIDEOUTS_PLUGIN_DIR ""
#endif

namespace tools {

std::filesystem::path programDirectory() {
    const std::filesystem::path self = sim::programPath();
    return self.empty() ? std::filesystem::current_path() : self.parent_path();
}

std::string pluginFileOf(std::string_view build) {
    const std::string file =
        "GangHideouts" + std::string(build) + std::string(sim::pluginFileSuffix());
    const std::filesystem::path beside = programDirectory() / file;
    std::error_code error;
    if (std::filesystem::exists(beside, error)) return beside.string();
    const std::filesystem::path built = std::filesystem::path(GANG_HIDEOUTS_PLUGIN_DIR) / file;
    return built.string();
}

}  // namespace tools
