// Script fibres on POSIX: a ucontext on a stack of the host's own.
#include <ucontext.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "sim/fibre_switch.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace sim::fibre {

struct Fibre {
    ucontext_t context{};
    std::unique_ptr<std::byte[]> stack;
    std::size_t stackBytes = 0;
    void* sanitizerFakeStack = nullptr;
};

namespace {

struct HostSide {
    ucontext_t context{};
    void* sanitizerFakeStack = nullptr;
    const void* stackBottom = nullptr;
    std::size_t stackSize = 0;
    // Stacks of abandoned fibres. They are kept, not freed: the frames on them still point at
    // whatever the script had allocated when it stopped, and freeing them would make a leak
    // checker report all of it.
    std::vector<std::unique_ptr<std::byte[]>> abandonedStacks;
};

// A plain global, not a function-local static: onHostThread is asked on every native call.
HostSide hostSideState;

HostSide& hostSide() {
    return hostSideState;
}

// The address sanitizer must be told about every switch between stacks, or it takes the
// fibre's frames for overflows of the host's stack.
void startSwitch(void** fakeStackSave, const void* bottom, std::size_t size) {
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_start_switch_fiber(fakeStackSave, bottom, size);
#else
    (void)fakeStackSave;
    (void)bottom;
    (void)size;
#endif
}

void finishSwitch(void* fakeStack, const void** oldBottom, std::size_t* oldSize) {
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_finish_switch_fiber(fakeStack, oldBottom, oldSize);
#else
    (void)fakeStack;
    (void)oldBottom;
    (void)oldSize;
#endif
}

// Which binding of the host thread the calling thread holds: bindHostThread gives the caller the
// latest, and no thread holds the first. A thread's own variable, not a pthread_self comparison,
// since it is read on every native call; initial-exec, since the host library is loaded with the
// program, makes the read a single instruction.
std::uint64_t latestBinding = 1;
[[gnu::tls_model("initial-exec")]] thread_local std::uint64_t bindingOfThisThread = 0;

}  // namespace

void bindHostThread() {
    bindingOfThisThread = ++latestBinding;
}

bool onHostThread() {
    return bindingOfThisThread == latestBinding;
}

Fibre* create(std::size_t stackBytes, void (*base)()) {
    auto fibre = std::make_unique<Fibre>();
    fibre->stack = std::make_unique<std::byte[]>(stackBytes);
    fibre->stackBytes = stackBytes;
    if (getcontext(&fibre->context) != 0) return nullptr;
    fibre->context.uc_stack.ss_sp = fibre->stack.get();
    fibre->context.uc_stack.ss_size = stackBytes;
    fibre->context.uc_link = nullptr;
    makecontext(&fibre->context, base, 0);
    return fibre.release();
}

void enter(Fibre& fibre) {
    HostSide& host = hostSide();
    startSwitch(&host.sanitizerFakeStack, fibre.stack.get(), fibre.stackBytes);
    swapcontext(&host.context, &fibre.context);
    finishSwitch(host.sanitizerFakeStack, nullptr, nullptr);
}

// A fibre that leaves for good is never resumed, so its fake stack goes too.
void leave(Fibre& fibre, bool forGood) {
    HostSide& host = hostSide();
    startSwitch(forGood ? nullptr : &fibre.sanitizerFakeStack, host.stackBottom, host.stackSize);
    swapcontext(&fibre.context, &host.context);
    finishSwitch(fibre.sanitizerFakeStack, &host.stackBottom, &host.stackSize);
}

void arrived() {
    HostSide& host = hostSide();
    finishSwitch(nullptr, &host.stackBottom, &host.stackSize);
}

void abandon(Fibre* fibre) {
    if (fibre == nullptr) return;
    hostSide().abandonedStacks.push_back(std::move(fibre->stack));
    delete fibre;
}

}  // namespace sim::fibre
