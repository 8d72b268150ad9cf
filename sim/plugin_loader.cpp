#include "sim/plugin_loader.h"

#include <dlfcn.h>

#include <exception>
#include <filesystem>

#include "sim/script_fibre.h"

namespace sim {

namespace {

// The notification codes of DllMain.
constexpr unsigned int processDetach = 0;
constexpr unsigned int processAttach = 1;

void notify(const LoadedPlugin& plugin, unsigned int reason) {
    try {
        plugin.entry(plugin.module, reason, nullptr);
    } catch (const std::exception& error) {
        recordHostFailure(std::string(error.what()) + " (in " + pluginEntryName + ")");
    } catch (...) {
        recordHostFailure(std::string("an exception left ") + pluginEntryName);
    }
}

}  // namespace

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
    void* symbol = dlsym(module, pluginEntryName);
    if (symbol == nullptr) {
        dlclose(module);
        return "cannot load plug-in " + path + ": it exports no " + pluginEntryName +
               " (is it a Gang Hideouts build?)";
    }
    LoadedPlugin plugin{path, module, reinterpret_cast<PluginEntry>(symbol)};
    notify(plugin, processAttach);
    return plugin;
}

void unloadPlugin(const LoadedPlugin& plugin) {
    notify(plugin, processDetach);
    dlclose(plugin.module);
}

}  // namespace sim
