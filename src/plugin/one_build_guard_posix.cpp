#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

#include "plugin/one_build_guard.h"

namespace {

int claim = -1;

}  // namespace

// A socket bound to an abstract name, keyed by the process id: the name exists as long as the
// socket is open, never touches the file system, and goes with the process.
bool claimGameProcess() {
    if (claim >= 0) return true;
    const int handle = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (handle < 0) return true;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string name = "GangHideouts.OneBuildPerProcess." + std::to_string(getpid());
    std::memcpy(address.sun_path + 1, name.data(), name.size());  // sun_path[0] stays 0: abstract
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    if (bind(handle, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        close(handle);
        return errno != EADDRINUSE;
    }
    claim = handle;
    return true;
}

void releaseGameProcess() {
    if (claim < 0) return;
    close(claim);
    claim = -1;
}

void reportIdleBuild(ModuleHandle module) {
    Dl_info info{};
    const char* file = "this build";
    if (dladdr(reinterpret_cast<const void*>(&reportIdleBuild), &info) != 0 &&
        info.dli_fname != nullptr) {
        file = info.dli_fname;
    }
    (void)module;
    std::fprintf(
        stderr,
        "Gang Hideouts: %s stays idle: another Gang Hideouts build already runs in this game;"
        " keep exactly one GangHideouts*.so loaded.\n",
        file);
}
