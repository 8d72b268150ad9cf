#include "sim/program_path.h"

#include <windows.h>

#include <vector>

namespace sim {

std::filesystem::path programPath() {
    // Paths may be longer than MAX_PATH; grow until the name fits.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::vector<wchar_t> buffer(size);
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) return {};
        if (length < size) return std::filesystem::path(std::wstring(buffer.data(), length));
    }
    return {};
}

}  // namespace sim
