#include "tools/listings.h"

#include <array>
#include <cstdio>

#include "data/squad_formation.h"
#include "natives/catalogue.h"
#include "tools/chronicle.h"
#include "tools/command_line.h"
#include "tools/scenario.h"

namespace listings {

namespace {

struct NativeMeaning {
    std::string_view role;
    std::string_view meaning;
};
constexpr std::array<NativeMeaning, nativeCatalogue.size()> nativeMeanings = {{
    {"hashOfString", "the game's hash of a name (models, groups, weapons)"},
    {"playerPed", "the player's character"},
    {"playerIndex", "the player's index"},
    {"isPlayerDead", "whether the player is dead"},
    {"tickGate", "once a frame: true means the plug-in leaves this frame alone"},
    {"entityCoords", "where a character stands"},
    {"distanceBetween", "metres between two points; once per hideout point in the hideout walk"},
    {"clockHours", "hour of the game clock"},
    {"clockMinutes", "minute of the game clock"},
    {"clockDayOfMonth", "day of the month (builds of a day's cooldown or more)"},
    {"clockMonth", "month of the game calendar"},
    {"clockYear", "year of the game calendar"},
    {"isEntityDead", "whether a character is dead"},
    {"entityModel", "a character's model, to choose a gang's lines"},
    {"deleteEntity", "removes a squad member from the world"},
    {"requestModel", "starts loading a squad's model, once a squad"},
    {"hasModelLoaded", "polled until the model is resident"},
    {"releaseModel", "the plug-in no longer needs the model"},
    {"createPed", "creates one squad member, seven a squad"},
    {"newPedSetup", "dresses a new member"},
    {"setRelationshipGroup", "puts a member in its gang's group"},
    {"addBlipForEntity", "an enemy mark on the map for a member"},
    {"setPedFlag", "a behaviour flag of a member"},
    {"setCombatAttribute", "a combat attribute of a member"},
    {"giveWeapon", "a weapon for a member"},
    {"taskCombat", "sends a member to fight the player"},
    {"randomIntInRange", "a random whole number, e.g. a line's variation"},
    {"playAmbientSpeech", "a spoken line, by the player or a member"},
    {"gameTimer", "the game's timer in milliseconds, bounding the wait for a model"},
}};

constexpr bool everyNativeMeant() {
    for (std::size_t i = 0; i < nativeCatalogue.size(); ++i) {
        if (nativeMeanings[i].role != nativeCatalogue[i].role) return false;
    }
    return true;
}
static_assert(everyNativeMeant(), "one meaning per native, in the catalogue's order");

std::string line(const char* format, auto... values) {
    std::array<char, 160> text{};
    std::snprintf(text.data(), text.size(), format, values...);
    return text.data();
}

}  // namespace

std::string hideouts(std::optional<Gang> only) {
    std::string out = "gang            N          x          y        z  model\n";
    for (const GangProfile& profile : gangProfiles) {
        if (only && profile.gang != *only) continue;
        const std::string gang(scenario::gangName(profile.gang));
        for (std::size_t i = 0; i < profile.hideouts.size(); ++i) {
            const Vector3& point = profile.hideouts[i];
            out += line("%-13s %3llu  %9.1f  %9.1f  %7.1f  %s\n", gang.c_str(),
                        static_cast<unsigned long long>(i + 1), static_cast<double>(point.x),
                        static_cast<double>(point.y), static_cast<double>(point.z),
                        squadModel(profile, point));
        }
    }
    return out;
}

std::string natives() {
    std::string out = "role name             what it does\n";
    for (const NativeMeaning& native : nativeMeanings) {
        out += line("%-21s %s\n", std::string(native.role).c_str(),
                    std::string(native.meaning).c_str());
    }
    return out + "\n`expect calls ROLE N` counts the calls of a native by its role name.\n";
}

std::string builds() {
    std::string out = "build  respawn cooldown\n";
    for (const cli::BuildInfo& build : cli::builds()) {
        out += line("%-5s  %s\n", std::string(build.name).c_str(),
                    chronicle::describeGameMinutes(build.cooldownMinutes).c_str());
    }
    return out;
}

std::string_view meaningOf(std::string_view role) {
    for (const NativeMeaning& native : nativeMeanings) {
        if (native.role == role) return native.meaning;
    }
    return {};
}

}  // namespace listings
