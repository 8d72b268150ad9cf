#include "sim/script_fibre.h"

#include <pthread.h>
#include <ucontext.h>

#include <exception>
#include <memory>
#include <utility>
#include <vector>

#include "natives/catalogue.h"
#include "sim/call_log.h"
#include "sim/world.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace sim {

namespace {

struct Fibre {
    ucontext_t context{};
    std::unique_ptr<std::byte[]> stack;
    ScriptEntry entry = nullptr;
    bool started = false;
    bool finished = false;  // returned, failed or stopped: never resumed again
    // The pending scriptWait: the frame it was called in, its frame time, and its length.
    std::int64_t waitFrame = 0;
    std::int64_t waitStartMs = 0;
    std::uint32_t waitMs = 0;
    void* sanitizerFakeStack = nullptr;
};

struct FibreHost {
    bool active = false;
    FibreHostOptions options;
    ucontext_t hostContext{};
    pthread_t hostThread{};
    std::unique_ptr<Fibre> fibre;
    bool onFibre = false;
    std::int64_t nativeCallsThisFrame = 0;
    std::optional<std::string> failure;
    bool returned = false;
    // Stacks of abandoned fibres. They are kept, not freed: the frames on them still point at
    // whatever the script had allocated when it stopped, and freeing them would make a leak
    // checker report all of it.
    std::vector<std::unique_ptr<std::byte[]>> abandonedStacks;
    void* sanitizerFakeStack = nullptr;
    const void* hostStackBottom = nullptr;
    std::size_t hostStackSize = 0;
};

FibreHost& host() {
    static FibreHost state;
    return state;
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

std::string describeNative(NativeHash hash) {
    const NativeInfo* info = findNative(hash);
    const std::string hex = hexText(hash, 16);
    return info == nullptr ? "native " + hex : "native " + std::string(info->role) + " (" + hex + ")";
}

bool onScriptFibre() {
    FibreHost& h = host();
    return h.onFibre && pthread_equal(pthread_self(), h.hostThread) != 0;
}

void switchToFibre() {
    FibreHost& h = host();
    Fibre& fibre = *h.fibre;
    h.onFibre = true;
    startSwitch(&h.sanitizerFakeStack, fibre.stack.get(), h.options.stackBytes);
    swapcontext(&h.hostContext, &fibre.context);
    finishSwitch(h.sanitizerFakeStack, nullptr, nullptr);
    h.onFibre = false;
}

// Back to the host. A fibre that leaves for good is never resumed, so its fake stack goes too.
void switchToHost(bool forGood) {
    FibreHost& h = host();
    Fibre& fibre = *h.fibre;
    startSwitch(forGood ? nullptr : &fibre.sanitizerFakeStack, h.hostStackBottom, h.hostStackSize);
    swapcontext(&fibre.context, &h.hostContext);
    finishSwitch(fibre.sanitizerFakeStack, &h.hostStackBottom, &h.hostStackSize);
}

// Never returns: the fibre is left for good. Whatever is still alive on its stack stays there.
void stopOnFibre(std::string message) {
    FibreHost& h = host();
    if (!h.failure) h.failure = std::move(message);
    message = std::string();  // freed here: this frame is never left
    h.fibre->finished = true;
    switchToHost(true);
}

// The base of the fibre's stack. Nothing thrown may get past it: there is no caller to unwind
// into on this stack.
void fibreBase() {
    FibreHost& h = host();
    finishSwitch(nullptr, &h.hostStackBottom, &h.hostStackSize);
    std::string failure;
    try {
        h.fibre->entry();
        h.returned = true;
    } catch (const HostError& error) {
        failure = error.what();
    } catch (const std::exception& error) {
        failure = std::string("the script threw an exception: ") + error.what();
    } catch (...) {
        failure = "the script threw an exception";
    }
    if (!failure.empty()) stopOnFibre(std::move(failure));
    h.fibre->finished = true;
    switchToHost(true);
}

void abandonFibre() {
    FibreHost& h = host();
    if (!h.fibre) return;
    h.abandonedStacks.push_back(std::move(h.fibre->stack));
    h.fibre.reset();
}

void startFibre(ScriptEntry entry) {
    FibreHost& h = host();
    auto fibre = std::make_unique<Fibre>();
    fibre->entry = entry;
    fibre->stack = std::make_unique<std::byte[]>(h.options.stackBytes);
    if (getcontext(&fibre->context) != 0) {
        recordHostFailure("the host could not create the script fibre (getcontext)");
        return;
    }
    fibre->context.uc_stack.ss_sp = fibre->stack.get();
    fibre->context.uc_stack.ss_size = h.options.stackBytes;
    fibre->context.uc_link = nullptr;
    makecontext(&fibre->context, fibreBase, 0);
    h.fibre = std::move(fibre);
}

// The fibre follows the registration: a new entry gets a new fibre, no entry no fibre.
void followRegistration() {
    FibreHost& h = host();
    const std::optional<ScriptEntry> registered = registeredScript();
    if (h.fibre && (!registered || *registered != h.fibre->entry)) abandonFibre();
    if (registered && !h.fibre) startFibre(*registered);
}

bool waitIsOver(const Fibre& fibre) {
    if (!fibre.started) return true;
    return currentFrame() > fibre.waitFrame && currentTimeMs() - fibre.waitStartMs >= fibre.waitMs;
}

}  // namespace

void startFibreHost(const FibreHostOptions& options) {
    FibreHost& h = host();
    abandonFibre();
    h.active = true;
    h.options = options;
    h.hostThread = pthread_self();
    h.onFibre = false;
    h.nativeCallsThisFrame = 0;
    h.failure.reset();
    h.returned = false;
}

void stopFibreHost() {
    abandonFibre();
    host().active = false;
}

bool fibreHostActive() { return host().active; }

bool runScriptFrame() {
    FibreHost& h = host();
    if (h.failure) return false;
    advanceFrame();
    followRegistration();
    if (h.fibre && !h.fibre->finished && waitIsOver(*h.fibre)) {
        h.fibre->started = true;
        h.nativeCallsThisFrame = 0;
        switchToFibre();
    }
    return !h.failure;
}

std::optional<std::string> hostFailure() { return host().failure; }

void recordHostFailure(std::string message) {
    FibreHost& h = host();
    if (!h.failure) h.failure = std::move(message);
}

bool scriptReturned() { return host().returned; }

void suspendScript(std::uint32_t ms) {
    FibreHost& h = host();
    if (!onScriptFibre()) {
        recordHostFailure("scriptWait called off the script fibre (from the plug-in's load or unload)");
        return;
    }
    Fibre& fibre = *h.fibre;
    fibre.waitFrame = currentFrame();
    fibre.waitStartMs = currentTimeMs();
    fibre.waitMs = ms;
    switchToHost(false);
}

void checkNativeCaller(NativeHash hash) {
    FibreHost& h = host();
    if (!onScriptFibre()) {
        // Not thrown: off the fibre the caller may be the dynamic loader running the plug-in's
        // static constructors, which must not be unwound. The call is answered and the run stops
        // as soon as control is back with the host.
        recordHostFailure(describeNative(hash) + " called off the script fibre");
        return;
    }
    if (++h.nativeCallsThisFrame > h.options.nativeCallsPerFrame) {
        // Built first: a temporary of the call's own expression would never be destroyed, since
        // stopOnFibre does not return.
        std::string message = "the script did not yield in frame " + std::to_string(currentFrame()) +
                              ": " + std::to_string(h.options.nativeCallsPerFrame) +
                              " native calls without a scriptWait, the last " + describeNative(hash);
        stopOnFibre(std::move(message));
    }
}

}  // namespace sim
