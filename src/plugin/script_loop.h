// The script the plug-in registers with the host, and what the library does on the loader's
// notifications. The platform entry points (DllMain, GangHideoutsEntry) only forward here.
#pragma once

#include <cstdint>

#include "host/host.h"

// The loader's notification codes, as Windows numbers them.
enum class LibraryNotification : std::uint32_t {
    processDetach = 0,
    processAttach = 1,
    threadAttach = 2,
    threadDetach = 3,
};

inline constexpr int notificationHandled = 1;  // TRUE: loading never fails because of us

// Runs one tick, then yields to the next frame, forever; the host calls it on its script fibre.
void scriptMain();

// Attach registers scriptMain for module, detach unregisters module, thread notifications do
// nothing. Always reports success.
int handleLibraryNotification(ModuleHandle module, std::uint32_t reason);
