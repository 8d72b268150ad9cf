// libFuzzer target: any bytes as a scenario file. The parser must answer with a scenario or with
// an error naming a line of the input, and never crash, hang or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>

#include "tools/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto parsed = scenario::parseScenario(text, "fuzz.scenario");
    if (const auto* error = std::get_if<scenario::ScenarioError>(&parsed)) {
        // A line number the input has: at least 1, at most one more than its newlines.
        std::size_t lines = 1;
        for (char c : text) lines += c == '\n' ? 1 : 0;
        if (error->line < 1 || static_cast<std::size_t>(error->line) > lines) std::abort();
        (void)scenario::describe(*error);
    }
    return 0;
}
