#include "sim/program_path.h"

namespace sim {

std::filesystem::path programPath() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self;
}

}  // namespace sim
