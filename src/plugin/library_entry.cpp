// The library's only entry point. Windows calls DllMain after the library's static objects are
// built and before they are destroyed; on Linux the simulator's loader calls GangHideoutsEntry at
// the same two moments, right after dlopen and right before dlclose.
#include <cstdint>

#include "plugin/one_build_guard.h"
#include "plugin/script_loop.h"

namespace {

// Set at attach when another build already runs in this process: this one never registered its
// script, so it has nothing to unregister either.
bool idle = false;

int enterLibrary(ModuleHandle module, std::uint32_t reason) {
    const auto notification = static_cast<LibraryNotification>(reason);
    if (notification == LibraryNotification::processAttach && !claimGameProcess()) {
        idle = true;
        reportIdleBuild(module);
        return notificationHandled;
    }
    if (idle) return notificationHandled;
    const int result = handleLibraryNotification(module, reason);
    if (notification == LibraryNotification::processDetach) releaseGameProcess();
    return result;
}

}  // namespace

#ifdef _WIN32

#include <windows.h>

BOOL APIENTRY DllMain(HMODULE module, DWORD reason, LPVOID /*reserved*/) {
    return enterLibrary(module, reason);
}

#else

#include <algorithm>
#include <cstddef>

#include "encounter/encounter_state.h"

extern "C" __attribute__((visibility("default"))) int GangHideoutsEntry(void* module,
                                                                        std::uint32_t reason,
                                                                        void* /*reserved*/) {
    return enterLibrary(module, reason);
}

// Linux builds only: lets the simulated game watch the plug-in's memory (the roster's handles
// and length, the visit registry's size) to check that it stays bounded and loses no ped. Reads
// only; the Windows deliverable exports nothing.
extern "C" __attribute__((visibility("default"))) void GangHideoutsFootprint(
    Ped* roster, std::size_t capacity, std::size_t* rosterSize, std::size_t* registryEntries) {
    const GangRoster& gangRoster = encounterState.gangRoster;
    const std::size_t copied = std::min(capacity, gangRoster.size());
    for (std::size_t i = 0; i < copied; ++i) roster[i] = gangRoster[i].ped;
    *rosterSize = gangRoster.size();
    *registryEntries = encounterState.visitRegistry.entries.size();
}

#endif
