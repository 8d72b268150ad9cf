#include "tools/output_file.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

namespace output {

namespace {

namespace fs = std::filesystem;

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

std::string reason() {
    return errno != 0 ? std::strerror(errno) : "write error";
}

// Two names of one file: the same file on disk when both exist, else the same absolute name.
bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    if (fs::exists(a, error) && fs::exists(b, error)) return fs::equivalent(a, b, error);
    return fs::weakly_canonical(a, error) == fs::weakly_canonical(b, error);
}

// Why nothing can be written at path, or nullopt when it looks writable. Asked before the run,
// so that a bad output costs no run time.
std::optional<std::string> unwritable(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::is_directory(status)) return "it is a directory";
    if (fs::is_regular_file(status)) {
        constexpr fs::perms anyWrite =
            fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        if ((status.permissions() & anyWrite) == fs::perms::none) return "it is read-only";
        // Opened for appending, so that the check changes nothing.
        errno = 0;
        std::ofstream probe(path, std::ios::binary | std::ios::app);
        if (!probe) return reason();
        return std::nullopt;
    }
    const fs::path parent = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    if (!fs::exists(parent, error)) return "directory " + parent.string() + " does not exist";
    if (!fs::is_directory(parent, error)) return parent.string() + " is not a directory";
    return std::nullopt;
}

// A name beside path that no file has yet.
std::string freeTemporaryName(const std::string& path) {
    std::random_device entropy;
    for (;;) {
        std::array<char, 16> suffix{};
        std::snprintf(suffix.data(), suffix.size(), ".partial-%06x", entropy() & 0xFFFFFFu);
        const std::string candidate = path + suffix.data();
        std::error_code error;
        if (!fs::exists(candidate, error)) return candidate;
    }
}

}  // namespace

std::optional<std::string> findClash(const std::vector<NamedPath>& inputs,
                                     const std::vector<NamedPath>& outputs) {
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const NamedPath& output = outputs[i];
        for (const NamedPath& input : inputs) {
            if (sameFile(output.path, input.path)) {
                return output.what + " " + output.path + " is " + input.what +
                       ": an output would overwrite it; name another file";
            }
        }
        // Two outputs may share a device (/dev/null); never a file.
        std::error_code error;
        if (fs::is_character_file(output.path, error)) continue;
        for (std::size_t j = 0; j < i; ++j) {
            if (sameFile(output.path, outputs[j].path)) {
                return outputs[j].what + " and " + output.what + " name the same file " +
                       output.path;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> open(OutputFile& file, const std::string& path) {
    file.path = path;
    if (std::optional<std::string> why = unwritable(path))
        return "cannot write " + path + ": " + *why;
    std::error_code error;
    const bool regular = !fs::exists(path, error) || fs::is_regular_file(path, error);
    errno = 0;
    if (!regular) {
        file.stream.open(path, std::ios::binary);
        if (!file.stream) return "cannot write " + path + ": " + reason();
        return std::nullopt;
    }
    file.temporaryPath = freeTemporaryName(path);
    rememberTemporary(file.temporaryPath);
    file.stream.open(file.temporaryPath, std::ios::binary | std::ios::trunc);
    if (!file.stream) {
        const std::string why = reason();
        discard(file);
        return "cannot write " + path + ": " + why;
    }
    return std::nullopt;
}

std::optional<std::string> commit(OutputFile& file) {
    // A write that already failed left its reason in errno; only a fresh flush may set a new one.
    bool written = static_cast<bool>(file.stream);
    std::string why = written ? std::string{} : reason();
    if (written) {
        errno = 0;
        file.stream.flush();
        written = static_cast<bool>(file.stream);
        if (!written) why = reason();
    }
    file.stream.close();
    if (written && file.stream.fail()) {
        written = false;
        why = reason();
    }
    if (!written) {
        discard(file);
        return "cannot write " + file.path + ": " + why;
    }
    if (file.temporaryPath.empty()) return std::nullopt;
    std::error_code error;
    fs::rename(file.temporaryPath, file.path, error);
    if (error) {
        discard(file);
        return "cannot write " + file.path + ": " + error.message();
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
        if (slot[0] != '\0') std::remove(slot.data());
    }
}

}  // namespace output
