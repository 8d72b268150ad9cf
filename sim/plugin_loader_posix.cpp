// Plug-ins on POSIX: dlopen, and the entry every build exports in place of DllMain.
#include "sim/plugin_loader.h"

#include <dlfcn.h>

#include <exception>
#include <filesystem>

#include "sim/invariants.h"
#include "sim/script_fibre.h"

namespace sim {

namespace {

// The counterpart of DllMain that every build exports.
constexpr const char* pluginEntryName = "GangHideoutsEntry";
using PluginEntry = int (*)(void* module, unsigned int reason, void* reserved);

// The notification codes of DllMain.
constexpr unsigned int processDetach = 0;
constexpr unsigned int processAttach = 1;

PluginEntry entryOf(void* module) {
    return reinterpret_cast<PluginEntry>(dlsym(module, pluginEntryName));
}

void notify(void* module, PluginEntry entry, unsigned int reason) {
    try {
        entry(module, reason, nullptr);
    } catch (const std::exception& error) {
        recordHostFailure(std::string(error.what()) + " (in " + pluginEntryName + ")");
    } catch (...) {
        recordHostFailure(std::string("an exception left ") + pluginEntryName);
    }
}

}  // namespace

std::string_view pluginFileSuffix() {
    return ".so";
}

std::variant<LoadedPlugin, std::string> loadPlugin(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return "cannot load plug-in " + path + ": no such file";
    }
    // dlopen searches the library path for a bare name; a file named on the command line is meant.
    const std::string file = std::filesystem::absolute(path, error).string();
    void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* why = dlerror();
        return "cannot load plug-in " + path + ": " + (why != nullptr ? why : "dlopen failed");
    }
    const PluginEntry entry = entryOf(module);
    if (entry == nullptr) {
        dlclose(module);
        return "cannot load plug-in " + path + ": it exports no " + pluginEntryName +
               " (is it a Gang Hideouts build?)";
    }
    // Optional: a build without it is simply not watched for its memory.
    setFootprintProbe(reinterpret_cast<FootprintProbe>(dlsym(module, footprintProbeName)));
    notify(module, entry, processAttach);
    return LoadedPlugin{path, module};
}

void unloadPlugin(const LoadedPlugin& plugin) {
    setFootprintProbe(nullptr);
    notify(plugin.module, entryOf(plugin.module), processDetach);
    dlclose(plugin.module);
}

}  // namespace sim
