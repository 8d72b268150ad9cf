// Loading a plug-in build the way the game loads it: the library is mapped, then its entry gets
// the attach notification (the plug-in registers its script); before the library is unmapped
// the entry gets the detach notification (the plug-in unregisters it).
#pragma once

#include <string>
#include <variant>

namespace sim {

// The Linux counterpart of DllMain that every build exports.
inline constexpr const char* pluginEntryName = "GangHideoutsEntry";
using PluginEntry = int (*)(void* module, unsigned int reason, void* reserved);

struct LoadedPlugin {
    std::string path;
    void* module;  // the dlopen handle; it is also the module handle the plug-in registers with
    PluginEntry entry;
};

// The plug-in, loaded and attached, or what went wrong, naming the file. A host error during
// the attach (a native called there, say) does not fail the load: it stops the run through
// hostFailure() like any other.
std::variant<LoadedPlugin, std::string> loadPlugin(const std::string& path);

// Detach, then unmap.
void unloadPlugin(const LoadedPlugin& plugin);

}  // namespace sim
