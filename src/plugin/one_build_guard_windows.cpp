#include <windows.h>

#include <string>

#include "plugin/one_build_guard.h"

namespace {

HANDLE claim = nullptr;

// Local to the session and keyed by the process id: another game process, or the same game
// started again, has its own name.
std::wstring claimName() {
    return L"Local\\GangHideouts.OneBuildPerProcess." + std::to_wstring(GetCurrentProcessId());
}

}  // namespace

bool claimGameProcess() {
    if (claim != nullptr) return true;
    HANDLE handle = CreateMutexW(nullptr, FALSE, claimName().c_str());
    if (handle == nullptr) return true;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(handle);
        return false;
    }
    claim = handle;
    return true;
}

void releaseGameProcess() {
    if (claim == nullptr) return;
    CloseHandle(claim);
    claim = nullptr;
}

void reportIdleBuild(ModuleHandle module) {
    char file[MAX_PATH] = "this build";
    GetModuleFileNameA(static_cast<HMODULE>(module), file, MAX_PATH);
    const std::string reason = std::string("Gang Hideouts: ") + file +
                               " stays idle: another Gang Hideouts build already runs in this game;"
                               " keep exactly one GangHideouts*.asi beside the game.\n";
    OutputDebugStringA(reason.c_str());
}
