// Two plug-in builds loaded into one simulated game, the way a player's loader loads every file it
// finds: only the first may run. Exactly one registration (the first build's), one squad at the
// hideout the player walks up to, one unregistration at the end, and the second build leaves its
// one-line reason where a player can find it (the debugger output on Windows, stderr elsewhere).
//
// usage: two-builds FIRST SECOND    exit 0 when all holds, 1 when not, 2 when a build cannot load
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <variant>
#include <vector>

#include "data/hideouts.h"
#include "natives/slot.h"
#include "sim/control.h"
#include "sim/plugin_loader.h"
#include "sim/script_fibre.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

// What the builds wrote to the platform's debugger output or stderr while loading.
std::string reported;

#ifdef _WIN32
// OutputDebugStringA raises this exception for a debugger to see; passed on, it is ignored.
LONG CALLBACK seeDebugOutput(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    if (record.ExceptionCode == DBG_PRINTEXCEPTION_C && record.NumberParameters >= 2) {
        reported += reinterpret_cast<const char*>(record.ExceptionInformation[1]);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

std::variant<sim::LoadedPlugin, std::string> loadWatched(const std::string& path) {
    PVOID handler = AddVectoredExceptionHandler(1, seeDebugOutput);
    auto loaded = sim::loadPlugin(path);
    RemoveVectoredExceptionHandler(handler);
    return loaded;
}
#else
std::variant<sim::LoadedPlugin, std::string> loadWatched(const std::string& path) {
    std::fflush(stderr);
    std::FILE* capture = std::tmpfile();
    const int savedStderr = dup(STDERR_FILENO);
    dup2(fileno(capture), STDERR_FILENO);
    auto loaded = sim::loadPlugin(path);
    std::fflush(stderr);
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);
    std::rewind(capture);
    for (int c = std::fgetc(capture); c != EOF; c = std::fgetc(capture))
        reported += static_cast<char>(c);
    std::fclose(capture);
    return loaded;
}
#endif

std::vector<const sim::CallRecord*> hostCalls(const std::string& name) {
    std::vector<const sim::CallRecord*> found;
    for (const sim::CallRecord& record : sim::calls()) {
        if (record.host() && record.name() == name) found.push_back(&record);
    }
    return found;
}

int failures = 0;

void check(bool holds, const std::string& what) {
    if (holds) return;
    ++failures;
    std::cout << "two-builds: not so: " << what << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: two-builds FIRST SECOND\n";
        return 2;
    }
    sim::resetWorld();
    sim::startFibreHost();
    std::vector<sim::LoadedPlugin> loaded;
    for (const char* path : {argv[1], argv[2]}) {
        auto plugin = loadWatched(path);
        if (auto* error = std::get_if<std::string>(&plugin)) {
            std::cerr << "two-builds: " << *error << "\n";
            return 2;
        }
        loaded.push_back(std::get<sim::LoadedPlugin>(plugin));
    }
    const Vector3 hideout = dusterHideouts[3];
    sim::placePlayer({hideout.x, hideout.y - 30.0f, hideout.z});
    for (int frame = 0; frame < 30 * 30 && sim::runScriptFrame(); ++frame) {
    }
    sim::unloadPlugin(loaded[1]);
    sim::unloadPlugin(loaded[0]);
    sim::stopFibreHost();

    const std::uint64_t firstModule = pointerSlot(loaded[0].module);
    const auto registrations = hostCalls("scriptRegister");
    const auto unregistrations = hostCalls("scriptUnregister");
    check(!sim::hostFailure(), "the run had no host error: " + sim::hostFailure().value_or(""));
    check(registrations.size() == 1,
          "exactly one script registered (" + std::to_string(registrations.size()) + ")");
    check(!registrations.empty() && registrations[0]->slots[0] == firstModule,
          "the first build registered it");
    check(unregistrations.size() == 1 && unregistrations[0]->slots[0] == firstModule,
          "only the first build unregistered, once");
    check(sim::createdPeds().size() == 7, "one squad of 7 at the hideout (" +
                                              std::to_string(sim::createdPeds().size()) +
                                              " peds created)");
    check(
        reported.find("stays idle") != std::string::npos &&
            reported.find(std::filesystem::path(argv[2]).filename().string()) != std::string::npos,
        "the second build named itself and why it stays idle (reported: \"" + reported + "\")");
    if (failures == 0) std::cout << "two-builds: the second build stayed idle: " << reported;
    return failures == 0 ? 0 : 1;
}
