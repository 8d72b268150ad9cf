#include "sim/game_clock.h"

namespace sim {

namespace {

bool leapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Floor division, so that days before 1970 land in the right era.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

}  // namespace

int daysInMonth(int year, int month) {
    constexpr int commonYear[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 1 && leapYear(year)) return 29;
    return commonYear[month];
}

bool validDate(const GameDate& date) {
    return date.month >= 0 && date.month < 12 && date.day >= 1 &&
           date.day <= daysInMonth(date.year, date.month);
}

// Counts in 400-year eras of 146097 days, with years starting in March so that the leap day
// falls at the end of a year (H. Hinnant's days_from_civil).
std::int64_t dayNumberOf(const GameDate& date) {
    const std::int64_t month = date.month + 1;
    const std::int64_t year = date.year - (month <= 2 ? 1 : 0);
    const std::int64_t era = floorDiv(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear =
        (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + date.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

GameDate dateOf(std::int64_t dayNumber) {
    const std::int64_t shifted = dayNumber + 719468;
    const std::int64_t era = floorDiv(shifted, 146097);
    const std::int64_t dayOfEra = shifted - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // 0 = March
    const std::int64_t day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const std::int64_t month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return GameDate{.year = static_cast<int>(year),
                    .month = static_cast<int>(month - 1),
                    .day = static_cast<int>(day)};
}

void addMinutes(GameClock& clock, std::int64_t minutes) {
    const std::int64_t total = clock.minuteOfDay + minutes;
    clock.dayNumber += total / minutesPerDay;
    clock.minuteOfDay = static_cast<int>(total % minutesPerDay);
}

void tickFrame(GameClock& clock, int framesPerMinute) {
    if (++clock.framesIntoMinute < framesPerMinute) return;
    clock.framesIntoMinute = 0;
    addMinutes(clock, 1);
}

}  // namespace sim
