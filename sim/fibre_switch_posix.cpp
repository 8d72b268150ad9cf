// Script fibres on POSIX (x86-64): a stack of the host's own, and a switch between stacks that
// saves what the calling convention says a call preserves and nothing more. swapcontext would
// also save and restore the signal mask, two system calls a switch, four a frame.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "sim/fibre_switch.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

#if !defined(__x86_64__)
#error "the script fibre's stack switch is written for x86-64"
#endif

// switchStacks(&savedStackPointer, stackPointer): pushes the registers a callee must preserve
// (System V x86-64: rbx, rbp, r12 to r15, the SSE and x87 control words), stores the stack
// pointer where the first argument says, loads the second as the stack pointer, pops that stack's
// registers and returns to whoever switched away from it.
extern "C" __attribute__((visibility("hidden"))) void simSwitchStacks(void** save, void* load);
asm(R"(
    .text
    .p2align 4
    .globl simSwitchStacks
    .hidden simSwitchStacks
    .type simSwitchStacks, @function
simSwitchStacks:
    pushq %rbp
    pushq %rbx
    pushq %r12
    pushq %r13
    pushq %r14
    pushq %r15
    subq $8, %rsp
    stmxcsr (%rsp)
    fnstcw 4(%rsp)
    movq %rsp, (%rdi)
    movq %rsi, %rsp
    ldmxcsr (%rsp)
    fldcw 4(%rsp)
    addq $8, %rsp
    popq %r15
    popq %r14
    popq %r13
    popq %r12
    popq %rbx
    popq %rbp
    ret
    .size simSwitchStacks, .-simSwitchStacks
)");

namespace sim::fibre {

struct Fibre {
    void* stackPointer = nullptr;  // where switchStacks left it
    void (*base)() = nullptr;
    std::unique_ptr<std::byte[]> stack;
    std::size_t stackBytes = 0;
    void* sanitizerFakeStack = nullptr;
};

namespace {

struct HostSide {
    void* stackPointer = nullptr;  // while a fibre runs
    Fibre* entering = nullptr;     // the fibre being entered, for its first run
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

// Where a new fibre's first switch returns to: a frame as if base had been called there.
[[noreturn]] void startOnFibre() {
    hostSide().entering->base();
    __builtin_trap();  // base leaves for good instead of returning
}

Fibre* create(std::size_t stackBytes, void (*base)()) {
    auto fibre = std::make_unique<Fibre>();
    fibre->stack = std::make_unique<std::byte[]>(stackBytes);
    fibre->stackBytes = stackBytes;
    fibre->base = base;
    // The frame switchStacks pops, from the lowest address: the control words (the host's own),
    // six zeroed registers, the address of startOnFibre, and a zero return address for it. It
    // enters startOnFibre with the stack 8 bytes off 16-byte alignment, as a call would.
    const auto top =
        (reinterpret_cast<std::uintptr_t>(fibre->stack.get()) + stackBytes) & ~std::uintptr_t{15};
    std::uint64_t frame[9]{};
    std::uint32_t mxcsr = 0;
    std::uint16_t x87 = 0;
    asm volatile("stmxcsr %0" : "=m"(mxcsr));
    asm volatile("fnstcw %0" : "=m"(x87));
    frame[0] = mxcsr | (std::uint64_t{x87} << 32);
    frame[7] = reinterpret_cast<std::uintptr_t>(&startOnFibre);
    const std::uintptr_t frameStart = top - sizeof frame;
    std::memcpy(reinterpret_cast<void*>(frameStart), frame, sizeof frame);
    fibre->stackPointer = reinterpret_cast<void*>(frameStart);
    return fibre.release();
}

void enter(Fibre& fibre) {
    HostSide& host = hostSide();
    startSwitch(&host.sanitizerFakeStack, fibre.stack.get(), fibre.stackBytes);
    host.entering = &fibre;
    simSwitchStacks(&host.stackPointer, fibre.stackPointer);
    finishSwitch(host.sanitizerFakeStack, nullptr, nullptr);
}

// A fibre that leaves for good is never resumed, so its fake stack goes too.
void leave(Fibre& fibre, bool forGood) {
    HostSide& host = hostSide();
    startSwitch(forGood ? nullptr : &fibre.sanitizerFakeStack, host.stackBottom, host.stackSize);
    simSwitchStacks(&fibre.stackPointer, host.stackPointer);
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
