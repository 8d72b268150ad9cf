// Plug-ins on Windows: LoadLibraryW and FreeLibrary. Windows itself calls the plug-in's DllMain
// with the attach notification inside LoadLibraryW and with the detach one inside FreeLibrary.
#include "sim/plugin_loader.h"

#include <windows.h>

#include <filesystem>

namespace sim {

namespace {

std::string systemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length == 0 ? std::string() : std::string(text, length);
    LocalFree(text);
    while (!message.empty() &&
           (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
        message.pop_back();
    }
    return (message.empty() ? std::string("LoadLibrary failed") : message) + " (Windows error " +
           std::to_string(code) + ")";
}

}  // namespace

std::string_view pluginFileSuffix() {
    return ".asi";
}

std::variant<LoadedPlugin, std::string> loadPlugin(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return "cannot load plug-in " + path + ": no such file";
    }
    // A bare name would send LoadLibrary searching the system's folders; the file named is meant.
    const std::filesystem::path file = std::filesystem::absolute(path, error);
    HMODULE module = LoadLibraryW(file.c_str());
    if (module == nullptr)
        return "cannot load plug-in " + path + ": " + systemMessage(GetLastError());
    return LoadedPlugin{path, module};
}

void unloadPlugin(const LoadedPlugin& plugin) {
    FreeLibrary(static_cast<HMODULE>(plugin.module));
}

}  // namespace sim
