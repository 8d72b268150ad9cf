#include "sim/script_fibre.h"

#include <exception>
#include <memory>
#include <utility>

#include "natives/catalogue.h"
#include "sim/call_log.h"
#include "sim/fibre_switch.h"
#include "sim/script_wait.h"
#include "sim/world.h"

namespace sim {

namespace {

struct ScriptFibre {
    fibre::Fibre* platform = nullptr;
    ScriptEntry entry = nullptr;
    bool started = false;
    bool finished = false;  // returned, failed or stopped: never resumed again
    PendingWait wait{};     // the pending scriptWait
};

struct FibreHost {
    bool active = false;
    FibreHostOptions options;
    std::unique_ptr<ScriptFibre> fibre;
    bool onFibre = false;
    std::int64_t nativeCallsLeft = 0;  // in this frame, before the script has run away
    std::optional<std::string> failure;
    bool returned = false;
};

// A plain global, not a function-local static: every native call reaches it.
FibreHost hostState;

FibreHost& host() {
    return hostState;
}

bool onScriptFibre() {
    FibreHost& h = host();
    return h.onFibre && fibre::onHostThread();
}

void switchToFibre() {
    FibreHost& h = host();
    h.onFibre = true;
    fibre::enter(*h.fibre->platform);
    h.onFibre = false;
}

void switchToHost(bool forGood) {
    fibre::leave(*host().fibre->platform, forGood);
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
    fibre::arrived();
    FibreHost& h = host();
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
    fibre::abandon(h.fibre->platform);
    h.fibre.reset();
}

void startFibre(ScriptEntry entry) {
    FibreHost& h = host();
    auto script = std::make_unique<ScriptFibre>();
    script->entry = entry;
    script->platform = fibre::create(h.options.stackBytes, fibreBase);
    if (script->platform == nullptr) {
        recordHostFailure("the host could not create the script fibre");
        return;
    }
    h.fibre = std::move(script);
}

// The fibre follows the registration: a new entry gets a new fibre, no entry no fibre.
void followRegistration() {
    FibreHost& h = host();
    const std::optional<ScriptEntry> registered = registeredScript();
    if (h.fibre && (!registered || *registered != h.fibre->entry)) abandonFibre();
    if (registered && !h.fibre) startFibre(*registered);
}

bool resumesNow(const ScriptFibre& script) {
    return !script.started || waitIsOver(script.wait, currentFrame(), currentTimeMs());
}

}  // namespace

void startFibreHost(const FibreHostOptions& options) {
    FibreHost& h = host();
    abandonFibre();
    h.active = true;
    h.options = options;
    fibre::bindHostThread();
    h.onFibre = false;
    h.nativeCallsLeft = 0;
    h.failure.reset();
    h.returned = false;
}

void stopFibreHost() {
    abandonFibre();
    host().active = false;
}

bool fibreHostActive() {
    return host().active;
}

bool runScriptFrame() {
    FibreHost& h = host();
    if (h.failure) return false;
    advanceFrame();
    if (h.failure) return false;  // a broken invariant found between frames
    followRegistration();
    if (h.fibre && !h.fibre->finished && resumesNow(*h.fibre)) {
        h.fibre->started = true;
        h.nativeCallsLeft = h.options.nativeCallsPerFrame;
        switchToFibre();
    }
    return !h.failure;
}

std::optional<std::string> hostFailure() {
    return host().failure;
}

void recordHostFailure(std::string message) {
    FibreHost& h = host();
    if (!h.failure) h.failure = std::move(message);
}

bool scriptReturned() {
    return host().returned;
}

void suspendScript(std::uint32_t ms) {
    FibreHost& h = host();
    if (!onScriptFibre()) {
        recordHostFailure(
            "scriptWait called off the script fibre (from the plug-in's load or unload)");
        return;
    }
    h.fibre->wait = PendingWait{currentFrame(), currentTimeMs(), ms};
    switchToHost(false);
}

namespace {

// The refusals of checkNativeCaller, kept out of its path: every native call passes the check.
[[gnu::cold, gnu::noinline]] void refuseNativeCaller(NativeHash hash) {
    FibreHost& h = host();
    if (!onScriptFibre()) {
        // Not thrown: off the fibre the caller may be the dynamic loader running the plug-in's
        // static constructors, which must not be unwound. The call is answered and the run stops
        // as soon as control is back with the host.
        recordHostFailure(describeNative(hash) + " called off the script fibre");
        return;
    }
    dropOpenNativeCall();  // the check comes after nativeInit opened the call
    // Built first: a temporary of the call's own expression would never be destroyed, since
    // stopOnFibre does not return.
    std::string message = "the script did not yield in frame " + std::to_string(currentFrame()) +
                          ": " + std::to_string(h.options.nativeCallsPerFrame) +
                          " native calls without a scriptWait, the last " + describeNative(hash);
    stopOnFibre(std::move(message));
}

}  // namespace

void checkNativeCaller(NativeHash hash) {
    FibreHost& h = host();
    if (h.onFibre && fibre::onHostThread() && --h.nativeCallsLeft >= 0) return;
    if (!h.active) return;  // direct mode: no fibre to call from
    refuseNativeCaller(hash);
}

}  // namespace sim
