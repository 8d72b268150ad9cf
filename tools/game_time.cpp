#include "tools/game_time.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "host/clock_units.h"
#include "sim/control.h"

namespace gametime {

namespace {

std::optional<int> number(std::string_view text, int largest) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < 0 || value > largest) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<Moment> parseMoment(std::string_view text) {
    int day = 0;
    if (text.starts_with("day ")) {
        text.remove_prefix(4);
        const std::size_t space = text.find(' ');
        if (space == std::string_view::npos) return std::nullopt;
        // Days as far as a scenario can run: a million days of frame time is far beyond any run.
        const std::optional<int> parsedDay = number(text.substr(0, space), 1'000'000);
        if (!parsedDay) return std::nullopt;
        day = *parsedDay;
        text.remove_prefix(space + 1);
    }
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon < 1 || colon > 2 || text.size() != colon + 3)
        return std::nullopt;
    const std::optional<int> hours = number(text.substr(0, colon), 23);
    const std::optional<int> minutes = number(text.substr(colon + 1), 59);
    if (!hours || !minutes) return std::nullopt;
    return momentOf(day, *hours, *minutes);
}

std::string describeMoment(Moment moment) {
    std::array<char, 48> text{};
    std::snprintf(text.data(), text.size(), "day %lld %02d:%02d",
                  static_cast<long long>(moment / minutesPerDay),
                  static_cast<int>(moment % minutesPerDay / minutesPerHour),
                  static_cast<int>(moment % minutesPerHour));
    return text.data();
}

Moment momentOf(int day, int hours, int minutes) {
    return static_cast<Moment>(day) * minutesPerDay + hours * minutesPerHour + minutes;
}

Moment momentNow() {
    return momentOf(sim::gameDaysNow(), sim::clockHoursNow(), sim::clockMinutesNow());
}

std::int64_t framesForGameMinutes(std::int64_t minutes) {
    return minutes * sim::WorldOptions{}.framesPerGameMinute;
}

std::int64_t framesForMs(std::int64_t ms) {
    return (ms * sim::framesPerSecond + 999) / 1000;
}

}  // namespace gametime
