// Small readers over the simulated host's call log, shared by the tests of the natives, the
// encounter and speech.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/control.h"

namespace testing_calls {

// Names of the calls made since the log was last cleared, host functions included.
inline std::vector<std::string> callNames() {
    std::vector<std::string> names;
    for (const sim::CallRecord& record : sim::calls()) names.emplace_back(record.name());
    return names;
}

inline std::vector<const sim::CallRecord*> callsNamed(std::string_view name) {
    std::vector<const sim::CallRecord*> found;
    for (const sim::CallRecord& record : sim::calls()) {
        if (record.name() == name) found.push_back(&record);
    }
    return found;
}

// A record's argument slots, to compare with a list of expected slots.
inline std::vector<std::uint64_t> slotsOf(const sim::CallRecord& record) {
    return {record.arguments().begin(), record.arguments().end()};
}

}  // namespace testing_calls
