// Loading a plug-in build the way the game loads it: the library is mapped, then its entry gets
// the attach notification (the plug-in registers its script); before the library is unmapped
// the entry gets the detach notification (the plug-in unregisters it). On Windows the system's
// loader delivers both notifications to DllMain (plugin_loader_windows.cpp); on POSIX the
// loader calls the entry every build exports (plugin_loader_posix.cpp).
#pragma once

#include <string>
#include <string_view>
#include <variant>

namespace sim {

// The file name ending of a plug-in build on this platform: ".so", or ".asi" on Windows.
std::string_view pluginFileSuffix();

struct LoadedPlugin {
    std::string path;
    void* module;  // the platform's handle; it is also the module handle the plug-in registers with
};

// The plug-in, loaded and attached, or what went wrong, naming the file. A host error during
// the attach (a native called there, say) does not fail the load: it stops the run through
// hostFailure() like any other.
std::variant<LoadedPlugin, std::string> loadPlugin(const std::string& path);

// Detach, then unmap.
void unloadPlugin(const LoadedPlugin& plugin);

}  // namespace sim
