#include "tools/output_file.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "tools/file_permissions.h"

namespace output {

namespace {

// Temporary names kept where a signal handler can reach them without allocating.
constexpr std::size_t maxOpenFiles = 4;
constexpr std::size_t maxPathBytes = 4096;
std::array<std::array<char, maxPathBytes>, maxOpenFiles> openTemporaries{};

void rememberTemporary(const std::string& path) {
    for (auto& slot : openTemporaries) {
        if (slot[0] == '\0' && path.size() < maxPathBytes) {
            std::memcpy(slot.data(), path.c_str(), path.size() + 1);
            return;
        }
    }
}

void forgetTemporary(const std::string& path) {
    for (auto& slot : openTemporaries) {
        if (path == slot.data()) slot[0] = '\0';
    }
}

std::string reason() { return std::strerror(errno); }

}  // namespace

std::optional<std::string> open(OutputFile& file, const std::string& path) {
    file.path = path;
    std::vector<char> name(path.begin(), path.end());
    const std::string suffix = ".partial-XXXXXX";
    name.insert(name.end(), suffix.begin(), suffix.end());
    name.push_back('\0');
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0) return "cannot write " + path + ": " + reason();
    // mkstemp makes the file private; the finished file gets the usual permissions.
    giveUsualPermissions(descriptor);
    close(descriptor);
    file.temporaryPath = name.data();
    rememberTemporary(file.temporaryPath);
    file.stream.open(file.temporaryPath, std::ios::binary | std::ios::trunc);
    if (!file.stream) {
        discard(file);
        return "cannot write " + path + ": " + reason();
    }
    return std::nullopt;
}

std::optional<std::string> commit(OutputFile& file) {
    file.stream.flush();
    const bool written = static_cast<bool>(file.stream);
    file.stream.close();
    if (!written || file.stream.fail()) {
        discard(file);
        return "cannot write " + file.path + ": the disk may be full";
    }
    // std::filesystem::rename replaces an existing file on every platform; Windows' C rename
    // refuses to.
    std::error_code renameError;
    std::filesystem::rename(file.temporaryPath, file.path, renameError);
    if (renameError) {
        const std::string why = renameError.message();
        discard(file);
        return "cannot write " + file.path + ": " + why;
    }
    forgetTemporary(file.temporaryPath);
    file.temporaryPath.clear();
    return std::nullopt;
}

void discard(OutputFile& file) {
    if (file.stream.is_open()) file.stream.close();
    if (file.temporaryPath.empty()) return;
    std::remove(file.temporaryPath.c_str());
    forgetTemporary(file.temporaryPath);
    file.temporaryPath.clear();
}

void discardAllFromSignal() {
    for (auto& slot : openTemporaries) {
        if (slot[0] != '\0') unlink(slot.data());
    }
}

}  // namespace output
