#include "tools/expectations.h"

#include "sim/control.h"
#include "tools/wording.h"

namespace expectations {

namespace {

struct PedCounts {
    std::int64_t inWorld = 0;
    std::int64_t alive = 0;
    std::int64_t dead = 0;
};

PedCounts countPeds() {
    PedCounts counts;
    for (Ped ped : sim::createdPeds()) {
        const std::optional<sim::PedState> state = sim::pedState(ped);
        if (!state || !state->exists) continue;
        ++counts.inWorld;
        ++(state->dead ? counts.dead : counts.alive);
    }
    return counts;
}

Outcome countIs(std::int64_t found, std::int64_t wanted) {
    return {found == wanted, std::to_string(found)};
}

std::int64_t countOf(const std::map<std::string, std::int64_t, std::less<>>& counts,
                     const std::string& name) {
    auto found = counts.find(name);
    return found == counts.end() ? 0 : found->second;
}

std::string timesWord(std::int64_t count) {
    return wording::counted(count, "time", "times");
}

Outcome latestSquadIs(const scenario::Expect& expect, const chronicle::Chronicle& chronicle) {
    if (chronicle.squads.empty()) return {false, "no squad yet"};
    const chronicle::Squad& squad = chronicle.squads.back();
    const bool placeMatches = squad.gang == expect.gang && squad.point == expect.point;
    const bool modelMatches = expect.name.empty() || squad.model == expect.name;
    return {placeMatches && modelMatches, "squad " + std::to_string(squad.number) + " at " +
                                              chronicle::describePoint(squad) + ", " + squad.model};
}

}  // namespace

Outcome check(const scenario::Expect& expect, const chronicle::Chronicle& chronicle) {
    using scenario::ExpectKind;
    switch (expect.kind) {
        case ExpectKind::squads:
            return countIs(static_cast<std::int64_t>(chronicle.squads.size()), expect.count);
        case ExpectKind::squadAt:
            return latestSquadIs(expect, chronicle);
        case ExpectKind::peds:
            return countIs(countPeds().inWorld, expect.count);
        case ExpectKind::pedsAlive:
            return countIs(countPeds().alive, expect.count);
        case ExpectKind::pedsDead:
            return countIs(countPeds().dead, expect.count);
        case ExpectKind::deleted:
            return countIs(chronicle.deletedCount, expect.count);
        case ExpectKind::said: {
            const std::int64_t said = countOf(chronicle.saidCount, expect.name);
            const bool passed = expect.exactCount ? said == expect.count : said > 0;
            return {passed, "said " + timesWord(said)};
        }
        case ExpectKind::notSaid: {
            const std::int64_t said = countOf(chronicle.saidCount, expect.name);
            return {said == 0, "said " + timesWord(said)};
        }
        case ExpectKind::calls:
            // The parser takes only names of natives the plug-in calls.
            return countIs(chronicle.callCount.at(sim::callKindOf(expect.name).value()),
                           expect.count);
    }
    return {false, "unknown expectation"};
}

}  // namespace expectations
