// Prints every constant table of the plug-in, one row (or one profile field) a line, each line
// naming its table and row: the text that tests/data/expected/tables.txt pins.
#include <charconv>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "data/gang_profiles.h"
#include "data/hideouts.h"
#include "data/squad_formation.h"
#include "tests/support/named_scripts.h"

namespace {

// The shortest decimal that reads back as the same float.
std::string number(float value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

std::string text(const char* name) {
    return name == nullptr ? "(none)" : std::string("\"") + name + "\"";
}

void printPoints(std::string_view table, std::span<const Vector3> points) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        std::printf("%.*s %zu: %s %s %s\n", static_cast<int>(table.size()), table.data(), i + 1,
                    number(points[i].x).c_str(), number(points[i].y).c_str(),
                    number(points[i].z).c_str());
    }
}

void printScript(std::string_view table, std::span<const SpeechStep> steps) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const SpeechStep& step = steps[i];
        const std::string wait =
            step.waitAfterMs ? "wait " + std::to_string(*step.waitAfterMs) : "no wait";
        std::printf("%.*s %zu: \"%s\" (%d, %d) %s\n", static_cast<int>(table.size()), table.data(),
                    i + 1, step.lineName, step.lowerBound, step.upperBound, wait.c_str());
    }
}

// The name the source gives a script, found by its address.
std::string scriptName(std::span<const SpeechStep> script) {
    for (const auto& [name, steps] : testing_scripts::everyScript) {
        if (steps.data() == script.data() && steps.size() == script.size()) return name;
    }
    return "(an unnamed script)";
}

const char* hideoutListName(HideoutList list) {
    const std::pair<const char*, HideoutList> lists[] = {
        {"dusterHideouts", dusterHideouts},
        {"exConfederateHideouts", exConfederateHideouts},
        {"swampHideouts", swampHideouts},
        {"inbredHideouts", inbredHideouts},
        {"mountainManHideouts", mountainManHideouts},
        {"banditoHideouts", banditoHideouts},
    };
    for (const auto& [name, points] : lists) {
        if (points.data() == list.data()) return name;
    }
    return "(an unnamed list)";
}

void printProfile(const GangProfile& p) {
    const std::string row = "gangProfiles " + std::string(p.displayName);
    const auto field = [&](const char* name, const std::string& value) {
        std::printf("%s %s: %s\n", row.c_str(), name, value.c_str());
    };
    field("gang", std::to_string(static_cast<int>(p.gang)));
    field("displayName", std::string(p.displayName));
    field("scenarioName", std::string(p.scenarioName));
    field("mapColour", std::string(p.mapColour));
    field("hideouts", hideoutListName(p.hideouts));
    field("primaryModel", text(p.primaryModel));
    field("secondaryModel", text(p.secondaryModel));
    field("secondaryModelMaxX", number(p.secondaryModelMaxX));
    field("relationshipGroup", text(p.relationshipGroup));
    field("meleeWeapon", text(p.meleeWeapon));
    field("weapon", text(p.weapon));
    field("ammoType", text(p.ammoType));
    field("ammoCount", std::to_string(p.ammoCount));
    field("armWaitMs", std::to_string(p.armWaitMs));
    field("spawnLine", text(p.spawnLine));
    field("spawnLineSpeaker", p.spawnLineSpeaker == SpawnLineSpeaker::player ? "player" : "member");
    field("spawnLineVariation",
          std::to_string(p.spawnLineVariationMin) + ".." + std::to_string(p.spawnLineVariationMax));
    field("approachTaunt", scriptName(p.approachTaunt));
    field("aftermathLookup", std::to_string(p.aftermathLookup));
    field("firstKillLines", scriptName(p.firstKillLines));
    field("closingLines", scriptName(p.closingLines));
}

}  // namespace

int main() {
    for (const GangProfile& profile : gangProfiles)
        printPoints(hideoutListName(profile.hideouts), profile.hideouts);
    printPoints("squadFormation", squadFormation);
    std::printf("squad size: %d\n", squadSize);
    std::printf("squad blip style: %s\n", text(squadBlipStyle).c_str());
    std::printf("squad ped flag: %d\n", squadPedFlag);
    for (std::size_t i = 0; i < squadCombatAttributes.size(); ++i) {
        std::printf("squadCombatAttributes %zu: %d\n", i + 1, squadCombatAttributes[i]);
    }
    for (const auto& [name, steps] : testing_scripts::everyScript) printScript(name, steps);
    for (const GangProfile& profile : gangProfiles) printProfile(profile);
    return 0;
}
