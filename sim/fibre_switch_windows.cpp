// Script fibres on Windows: the host's thread becomes a fibre itself, and each script gets a
// fibre of Windows' own making.
#include <windows.h>

#include "sim/fibre_switch.h"

namespace sim::fibre {

struct Fibre {
    LPVOID handle = nullptr;
    void (*base)() = nullptr;
};

namespace {

struct HostSide {
    DWORD thread = 0;
    LPVOID fibre = nullptr;
};

HostSide& hostSide() {
    static HostSide state;
    return state;
}

void WINAPI fibreStart(LPVOID parameter) {
    static_cast<Fibre*>(parameter)->base();
}

}  // namespace

// A thread is converted once; a later run on the same thread keeps the fibre it already is.
void bindHostThread() {
    HostSide& host = hostSide();
    if (host.fibre != nullptr && host.thread == GetCurrentThreadId()) return;
    host.thread = GetCurrentThreadId();
    host.fibre = ConvertThreadToFiber(nullptr);
}

bool onHostThread() {
    return GetCurrentThreadId() == hostSide().thread;
}

Fibre* create(std::size_t stackBytes, void (*base)()) {
    if (hostSide().fibre == nullptr) return nullptr;
    auto* fibre = new Fibre{nullptr, base};
    fibre->handle = CreateFiber(stackBytes, fibreStart, fibre);
    if (fibre->handle == nullptr) {
        delete fibre;
        return nullptr;
    }
    return fibre;
}

void enter(Fibre& fibre) {
    SwitchToFiber(fibre.handle);
}

void leave(Fibre& /*fibre*/, bool /*forGood*/) {
    SwitchToFiber(hostSide().fibre);
}

void arrived() {}

// Windows frees the fibre's stack; what the script allocated from it stays allocated.
void abandon(Fibre* fibre) {
    if (fibre == nullptr) return;
    DeleteFiber(fibre->handle);
    delete fibre;
}

}  // namespace sim::fibre
