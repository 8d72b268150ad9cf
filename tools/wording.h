// Counts in words: "1 squad", "2 squads", "0 squads".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace wording {

inline std::string counted(std::int64_t count, std::string_view singular, std::string_view plural) {
    return std::to_string(count) + " " + std::string(count == 1 ? singular : plural);
}

}  // namespace wording
