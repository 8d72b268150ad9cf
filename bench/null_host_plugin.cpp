// The plug-in's code linked against the null host, in a library of its own: the benchmarks link
// the simulated game's host, and the two hosts' functions share their names. Everything in here
// is bound inside the library; only these entry points are exported.
#include "bench/null_host_plugin.h"

#include "bench/null_host.h"
#include "encounter/tick_director.h"

extern "C" {

void nullHostReset(float distance) {
    nullhost::resetWithFreshPlugin(distance);
}

void nullHostTick() {
    tick();
}

std::int64_t nullHostNativeCalls() {
    return nullhost::nativeCalls();
}

}  // extern "C"
