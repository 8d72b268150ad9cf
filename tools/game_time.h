// Moments and spans on the game clock, as scenarios and options write them. The game starts on
// day 0; a moment is counted in game minutes from 00:00 of day 0, so day 2 08:30 is
// 2 * 1440 + 510. Frame time turns the clock one minute per sim::WorldOptions::framesPerGameMinute
// frames (2 s), so one game day is 48 minutes of frame time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace gametime {

using Moment = std::int64_t;  // game minutes since 00:00 of day 0

// "HH:MM" (day 0) or "day D HH:MM"; nullopt when it is neither.
std::optional<Moment> parseMoment(std::string_view text);
// "day 2 08:30"
std::string describeMoment(Moment moment);
Moment momentOf(int day, int hours, int minutes);
// The simulated game's clock now.
Moment momentNow();

// Frames of frame time in which the game clock turns by this many minutes.
std::int64_t framesForGameMinutes(std::int64_t minutes);
// The world's frame rate: frames in this much frame time, rounded up.
std::int64_t framesForMs(std::int64_t ms);

}  // namespace gametime
