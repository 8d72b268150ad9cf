// A plug-in that breaks one rule of the script host or one invariant, chosen by a compile
// definition, so that the simulator's handling of each host error can be seen from the outside.
#include <cstdint>

#include "host/host.h"
#include "natives/call.h"
#include "natives/catalogue.h"
#include "natives/slot.h"

namespace {

constexpr NativeHash nativeTheGameLacks = 0x0123456789ABCDEFull;

void script() {
#if defined(ROGUE_runaway)
    // Never yields: a frame that does not end.
    for (;;) callNative(native::tickGate);
#elif defined(ROGUE_unknownNative)
    scriptWait(0);
    callNative(nativeTheGameLacks);
#elif defined(ROGUE_wrongSlots)
    scriptWait(0);
    callNative(native::playerPed, intSlot(1));
#elif defined(ROGUE_deletesPlayer)
    // Legal calls, but it deletes the player's character: an invariant, not a host rule.
    for (int frame = 0; frame < 90; ++frame) scriptWait(0);
    Ped player = slotInt(callNative(native::playerPed)[0]);
    callNative(native::deleteEntity, pointerSlot(&player));
#endif
    for (;;) scriptWait(0);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int GangHideoutsEntry(void* module,
                                                                        std::uint32_t reason,
                                                                        void* /*reserved*/) {
    if (reason == 1) {
#if defined(ROGUE_nativeOnLoad)
        // Natives belong on the script fibre, not in the library entry.
        callNative(native::playerPed);
#endif
        scriptRegister(module, script);
    }
    if (reason == 0) scriptUnregister(module);
    return 1;
}
