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

extern "C" __attribute__((visibility("default"))) int GangHideoutsEntry(void* module,
                                                                        std::uint32_t reason,
                                                                        void* /*reserved*/) {
    return enterLibrary(module, reason);
}

#endif
