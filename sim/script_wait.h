// The host's one rule for scriptWait(ms), in both of its modes: the script resumes at the first
// frame after the one it waited in whose frame time is at least ms later, so scriptWait(0) is
// the next frame and a wait shorter than a frame still costs one.
#pragma once

#include <cstdint>

namespace sim {

struct PendingWait {
    std::int64_t frame;    // the frame scriptWait was called in
    std::int64_t startMs;  // its frame time
    std::uint32_t ms;      // the length asked for
};

inline bool waitIsOver(const PendingWait& wait, std::int64_t frame, std::int64_t timeMs) {
    return frame > wait.frame && timeMs - wait.startMs >= wait.ms;
}

}  // namespace sim
