#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "host/clock_units.h"
#include "natives/catalogue.h"
#include "tools/scenario.h"

namespace scenario {

namespace {

// Larger numbers are surely typos, and keeping them small keeps every sum of milliseconds,
// minutes and frames far from overflow.
constexpr std::int64_t largestNumber = 1'000'000;

struct Unit {
    std::string_view suffix;
    std::int64_t ms;
};
// Longest suffix first where one ends another ("ms" before "s").
constexpr std::array<Unit, 5> durationUnits = {{
    {"ms", 1},
    {"min", 60'000},
    {"s", 1'000},
    {"h", 3'600'000},
    {"d", 86'400'000},
}};
constexpr std::int64_t msPerMinute = 60'000;

// Thrown inside the parser only, turned into a ScenarioError for the line being parsed.
struct LineError {
    std::string message;
};

bool knownNative(std::string_view role) {
    for (const NativeInfo& info : nativeCatalogue) {
        if (info.role == role) return true;
    }
    return false;
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::vector<std::string_view> splitWords(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        std::size_t start = i;
        while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

std::optional<std::int64_t> wholeNumber(std::string_view text) {
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::int64_t count(std::string_view text, std::string_view what, std::int64_t smallest) {
    std::optional<std::int64_t> value = wholeNumber(text);
    if (!value)
        throw LineError{"bad " + std::string(what) + " " + quoted(text) + ": not a whole number"};
    if (*value < smallest || *value > largestNumber) {
        throw LineError{"bad " + std::string(what) + " " + quoted(text) + ": must be " +
                        std::to_string(smallest) + " to " + std::to_string(largestNumber)};
    }
    return *value;
}

float metres(std::string_view text) {
    float value = 0.0f;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) {
        throw LineError{"bad coordinate " + quoted(text) + ": not a number of metres"};
    }
    return value;
}

bool wholeNumberOrMetres(std::string_view text) {
    float value = 0.0f;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

Vector3 position(std::span<const std::string_view> words) {
    return {metres(words[0]), metres(words[1]), metres(words[2])};
}

// "10s", "500ms", "2min", "6h", "2d", or several of them, largest first: "1h30min". In
// milliseconds.
std::int64_t duration(std::string_view text) {
    const LineError bad{
        "bad duration " + quoted(text) +
        ": write a whole number and a unit, ms, s, min, h or d (e.g. 10s, 2min, 1h30min)"};
    std::string_view rest = text;
    std::int64_t total = 0;
    std::int64_t previousUnitMs = 0;
    while (!rest.empty()) {
        std::size_t digits = 0;
        while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') ++digits;
        std::optional<std::int64_t> value = wholeNumber(rest.substr(0, digits));
        rest.remove_prefix(digits);
        const Unit* unit = nullptr;
        for (const Unit& candidate : durationUnits) {
            if (rest.starts_with(candidate.suffix)) {
                unit = &candidate;
                break;
            }
        }
        if (!value || unit == nullptr) throw bad;
        if (previousUnitMs != 0 && unit->ms >= previousUnitMs) throw bad;
        if (*value > largestNumber) {
            throw LineError{"bad duration " + quoted(text) + ": at most " +
                            std::to_string(largestNumber) + " of a unit"};
        }
        rest.remove_prefix(unit->suffix.size());
        total += *value * unit->ms;
        previousUnitMs = unit->ms;
    }
    if (previousUnitMs == 0) throw bad;
    return total;
}

std::pair<int, int> clockTime(std::string_view text) {
    std::size_t colon = text.find(':');
    if (colon != std::string_view::npos && colon >= 1 && colon <= 2 && text.size() == colon + 3) {
        std::optional<std::int64_t> hours = wholeNumber(text.substr(0, colon));
        std::optional<std::int64_t> minutes = wholeNumber(text.substr(colon + 1));
        if (hours && minutes && *hours >= 0 && *hours <= 23 && *minutes >= 0 && *minutes <= 59) {
            return {static_cast<int>(*hours), static_cast<int>(*minutes)};
        }
    }
    throw LineError{"bad clock time " + quoted(text) + ": write HH:MM, 00:00 to 23:59"};
}

// YYYY-MM-DD, a day that exists in the Gregorian calendar.
SetDate calendarDate(std::string_view text) {
    const LineError bad{"bad date " + quoted(text) +
                        ": write YYYY-MM-DD, a day of the calendar (e.g. 1899-06-14)"};
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') throw bad;
    const std::optional<std::int64_t> year = wholeNumber(text.substr(0, 4));
    const std::optional<std::int64_t> month = wholeNumber(text.substr(5, 2));
    const std::optional<std::int64_t> day = wholeNumber(text.substr(8, 2));
    if (!year || !month || !day || *year < 1 || *month < 1 || *month > 12 || *day < 1) throw bad;
    constexpr std::array<int, 12> monthDays = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (*year % 4 == 0 && *year % 100 != 0) || *year % 400 == 0;
    const int days = *month == 2 && !leap ? 28 : monthDays[static_cast<std::size_t>(*month - 1)];
    if (*day > days) throw bad;
    return SetDate{static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day)};
}

Gang gang(std::string_view text) {
    if (std::optional<Gang> named = gangNamed(text)) return *named;
    std::string known;
    for (const GangProfile& profile : gangProfiles) {
        known += (known.empty() ? "" : ", ") + std::string(profile.scenarioName);
    }
    throw LineError{"unknown gang " + quoted(text) + ": one of " + known};
}

void wantWords(std::span<const std::string_view> words, std::size_t least, std::size_t most,
               std::string_view usage) {
    if (words.size() < least || words.size() > most)
        throw LineError{"usage: " + std::string(usage)};
}

Action parseClock(std::span<const std::string_view> words) {
    constexpr std::string_view usage = "clock HH:MM | clock +DURATION";
    wantWords(words, 2, 2, usage);
    if (words[1].starts_with('+')) {
        std::int64_t ms = duration(words[1].substr(1));
        if (ms % msPerMinute != 0) {
            throw LineError{"bad duration " + quoted(words[1]) +
                            ": the game clock moves in whole minutes (use min, h or d)"};
        }
        return ClockAdvance{ms / msPerMinute};
    }
    auto [hours, minutes] = clockTime(words[1]);
    return ClockSet{hours, minutes};
}

// Point N, from 1, of the gang's hideout list.
int hideoutPoint(Gang named, std::string_view gangWord, std::string_view pointWord) {
    const std::size_t points = ::profileOf(named).hideouts.size();
    const std::optional<std::int64_t> point = wholeNumber(pointWord);
    if (!point) throw LineError{"bad point " + quoted(pointWord) + ": not a whole number"};
    if (*point < 1 || *point > static_cast<std::int64_t>(points)) {
        throw LineError{"bad point " + quoted(pointWord) + ": " + std::string(gangWord) +
                        " has points 1 to " + std::to_string(points)};
    }
    return static_cast<int>(*point);
}

Action parseGoto(std::span<const std::string_view> words) {
    constexpr std::string_view usage = "goto GANG N [DX DY DZ] | goto X Y Z";
    if (words.size() < 2) throw LineError{"usage: " + std::string(usage)};
    if (!gangNamed(words[1]) && wholeNumberOrMetres(words[1])) {
        if (words.size() != 4) {
            throw LineError{"a position takes three numbers, X Y Z (got " +
                            std::to_string(words.size() - 1) + "): goto X Y Z"};
        }
        return GotoPosition{position(words.subspan(1))};
    }
    const Gang named = gang(words[1]);
    if (words.size() == 4 || words.size() == 5) {
        throw LineError{"an offset takes three numbers, DX DY DZ (got " +
                        std::to_string(words.size() - 3) + "): goto GANG N DX DY DZ"};
    }
    if (words.size() != 3 && words.size() != 6) throw LineError{"usage: " + std::string(usage)};
    const int point = hideoutPoint(named, words[1], words[2]);
    Vector3 offset = words.size() == 6 ? position(words.subspan(3)) : Vector3{0.0f, 0.0f, 0.0f};
    return GotoHideout{named, point, offset};
}

// The game-clock units of `run N game days`, in game minutes.
struct GameUnit {
    std::string_view singular;
    std::string_view plural;
    std::int64_t minutes;
};
constexpr std::array<GameUnit, 3> gameUnits = {{
    {"day", "days", minutesPerDay},
    {"hour", "hours", minutesPerHour},
    {"minute", "minutes", 1},
}};

Action parseRun(std::span<const std::string_view> words) {
    constexpr std::string_view usage =
        "run DURATION | run N frames | run N game days|hours|minutes | run until [day D] HH:MM";
    wantWords(words, 2, 5, usage);
    if (words[1] == "until") {
        if (words.size() == 3) {
            auto [hours, minutes] = clockTime(words[2]);
            return RunUntil{hours, minutes};
        }
        if (words.size() != 5 || words[2] != "day") throw LineError{"usage: " + std::string(usage)};
        const std::int64_t day = count(words[3], "day", 0);
        auto [hours, minutes] = clockTime(words[4]);
        return RunUntilMoment{gametime::momentOf(static_cast<int>(day), hours, minutes)};
    }
    if (words.size() == 4 && words[2] == "game") {
        for (const GameUnit& unit : gameUnits) {
            if (words[3] == unit.singular || words[3] == unit.plural) {
                return RunGameMinutes{
                    count(words[1], "count of game " + std::string(unit.plural), 0) * unit.minutes};
            }
        }
        throw LineError{"bad unit " + quoted(words[3]) + ": game days, game hours or game minutes"};
    }
    if (words.size() == 3) {
        if (words[2] != "frames" && words[2] != "frame")
            throw LineError{"usage: " + std::string(usage)};
        return RunFrames{count(words[1], "frame count", 0)};
    }
    if (words.size() != 2) throw LineError{"usage: " + std::string(usage)};
    return RunFor{duration(words[1])};
}

Action parseKill(std::span<const std::string_view> words) {
    wantWords(words, 2, 2, "kill squad | kill N");
    if (words[1] == "squad") return KillSquad{};
    return KillPed{static_cast<int>(count(words[1], "ped number", 1))};
}

Action parseExpect(std::span<const std::string_view> words) {
    constexpr std::string_view usage =
        "expect squads N | expect squad GANG N [MODEL] | expect peds [alive|dead] N | "
        "expect deleted N | expect said LINE [N] | expect not said LINE | expect calls NATIVE N";
    if (words.size() < 3) throw LineError{"usage: " + std::string(usage)};
    std::string_view what = words[1];
    Expect expect{};
    if (what == "squads" && words.size() == 3) {
        expect.kind = ExpectKind::squads;
        expect.count = count(words[2], "count", 0);
    } else if (what == "squad" && (words.size() == 4 || words.size() == 5)) {
        expect.kind = ExpectKind::squadAt;
        expect.gang = gang(words[2]);
        expect.point = hideoutPoint(expect.gang, words[2], words[3]);
        if (words.size() == 5) expect.name = words[4];
    } else if (what == "peds" && words.size() == 3) {
        expect.kind = ExpectKind::peds;
        expect.count = count(words[2], "count", 0);
    } else if (what == "peds" && words.size() == 4 && (words[2] == "alive" || words[2] == "dead")) {
        expect.kind = words[2] == "alive" ? ExpectKind::pedsAlive : ExpectKind::pedsDead;
        expect.count = count(words[3], "count", 0);
    } else if (what == "deleted" && words.size() == 3) {
        expect.kind = ExpectKind::deleted;
        expect.count = count(words[2], "count", 0);
    } else if (what == "said" && (words.size() == 3 || words.size() == 4)) {
        expect.kind = ExpectKind::said;
        expect.name = words[2];
        expect.exactCount = words.size() == 4;
        if (expect.exactCount) expect.count = count(words[3], "count", 0);
    } else if (what == "not" && words.size() == 4 && words[2] == "said") {
        expect.kind = ExpectKind::notSaid;
        expect.name = words[3];
    } else if (what == "calls" && words.size() == 4) {
        if (!knownNative(words[2])) {
            throw LineError{"unknown native " + quoted(words[2]) +
                            ": use a role name such as createPed"};
        }
        expect.kind = ExpectKind::calls;
        expect.name = words[2];
        expect.count = count(words[3], "count", 0);
    } else {
        throw LineError{"usage: " + std::string(usage)};
    }
    return expect;
}

Action parseCommand(std::span<const std::string_view> words) {
    std::string_view name = words[0];
    if (name == "clock") return parseClock(words);
    if (name == "goto") return parseGoto(words);
    if (name == "run") return parseRun(words);
    if (name == "kill") return parseKill(words);
    if (name == "player") {
        constexpr std::string_view usage = "player dead | player alive | player new";
        wantWords(words, 2, 2, usage);
        if (words[1] == "new") return NewPlayerPed{};
        if (words[1] != "dead" && words[1] != "alive")
            throw LineError{"usage: " + std::string(usage)};
        return SetPlayerDead{words[1] == "dead"};
    }
    if (name == "gate") {
        wantWords(words, 2, 2, "gate on | gate off");
        if (words[1] != "on" && words[1] != "off") throw LineError{"usage: gate on | gate off"};
        return SetGate{words[1] == "on"};
    }
    if (name == "model") {
        constexpr std::string_view usage = "model NAME never | model NAME loads";
        wantWords(words, 3, 3, usage);
        if (words[2] == "loads") return ModelLoads{std::string(words[1])};
        if (words[2] != "never") throw LineError{"usage: " + std::string(usage)};
        return ModelNever{std::string(words[1])};
    }
    if (name == "vanish") {
        wantWords(words, 2, 2, "vanish N");
        return VanishPed{static_cast<int>(count(words[1], "ped number", 1))};
    }
    if (name == "move") {
        wantWords(words, 5, 5, "move N X Y Z");
        return MovePed{static_cast<int>(count(words[1], "ped number", 1)),
                       position(words.subspan(2))};
    }
    if (name == "pool") {
        wantWords(words, 2, 2, "pool N");
        return SetPool{static_cast<int>(count(words[1], "pool size", 0))};
    }
    if (name == "date") {
        wantWords(words, 2, 2, "date YYYY-MM-DD");
        return calendarDate(words[1]);
    }
    if (name == "expect") return parseExpect(words);
    throw LineError{
        "unknown command " + quoted(name) +
        " (clock, goto, run, kill, player, gate, model, vanish, move, pool, date, expect)"};
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

}  // namespace

std::string describe(const ScenarioError& error) {
    if (error.line == 0) return error.fileName + ": " + error.message;
    return error.fileName + ":" + std::to_string(error.line) + ": " + error.message;
}

std::variant<Scenario, ScenarioError> parseScenario(std::string_view text, std::string fileName) {
    Scenario parsed{.fileName = fileName, .commands = {}};
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(byteOrderMark)) text.remove_prefix(byteOrderMark.size());
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.find('\0') != std::string_view::npos) {
            return ScenarioError{fileName, lineNumber, "not a text file (NUL byte)"};
        }
        line = trimmed(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        std::vector<std::string_view> words = splitWords(line);
        try {
            parsed.commands.push_back({lineNumber, std::string(line), parseCommand(words)});
        } catch (const LineError& error) {
            return ScenarioError{fileName, lineNumber, error.message};
        }
    }
    return parsed;
}

std::variant<Scenario, ScenarioError> loadScenario(const std::string& fileName) {
    std::error_code error;
    if (std::filesystem::is_directory(fileName, error)) {
        return ScenarioError{fileName, 0, "cannot read the scenario: it is a directory"};
    }
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        return ScenarioError{fileName, 0,
                             "cannot read the scenario: " + std::string(std::strerror(errno))};
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) return ScenarioError{fileName, 0, "cannot read the scenario: read error"};
    return parseScenario(text.str(), fileName);
}

std::string_view gangName(Gang gang) {
    return profileOf(gang).scenarioName;
}

std::optional<Gang> gangNamed(std::string_view name) {
    for (const GangProfile& profile : gangProfiles) {
        if (profile.scenarioName == name) return profile.gang;
    }
    return std::nullopt;
}

}  // namespace scenario
