#include "plugin/script_loop.h"

#include "encounter/tick_director.h"

void scriptMain() {
    for (;;) {
        tick();
        // Also after a tick the gate cut short, so the loop never spins without yielding.
        scriptWait(0);
    }
}

int handleLibraryNotification(ModuleHandle module, std::uint32_t reason) {
    switch (static_cast<LibraryNotification>(reason)) {
        case LibraryNotification::processAttach:
            scriptRegister(module, scriptMain);
            break;
        case LibraryNotification::processDetach:
            scriptUnregister(module);
            break;
        case LibraryNotification::threadAttach:
        case LibraryNotification::threadDetach:
            break;
    }
    return notificationHandled;
}
