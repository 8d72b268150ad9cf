// The library's only entry point. Windows calls DllMain after the library's static objects are
// built and before they are destroyed; on Linux the simulator's loader calls GangHideoutsEntry at
// the same two moments, right after dlopen and right before dlclose.
#include <cstdint>

#include "plugin/script_loop.h"

#ifdef _WIN32

#include <windows.h>

BOOL APIENTRY DllMain(HMODULE module, DWORD reason, LPVOID /*reserved*/) {
    return handleLibraryNotification(module, reason);
}

#else

extern "C" __attribute__((visibility("default"))) int GangHideoutsEntry(void* module,
                                                                        std::uint32_t reason,
                                                                        void* /*reserved*/) {
    return handleLibraryNotification(module, reason);
}

#endif
