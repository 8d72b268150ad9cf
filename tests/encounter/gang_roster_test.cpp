#include "encounter/gang_roster.h"

#include <gtest/gtest.h>

#include <vector>

#include "sim/control.h"
#include "tests/support/sim_calls.h"

namespace {

std::vector<Ped> handles(const GangRoster& roster) {
    std::vector<Ped> result;
    for (const RosterEntry& entry : roster) result.push_back(entry.ped);
    return result;
}

GangRoster rosterOf(std::vector<Ped> peds) {
    GangRoster roster;
    for (Ped ped : peds) appendMember(roster, ped);
    return roster;
}

TEST(GangRoster, RemovalKeepsTheOrderOfTheRest) {
    struct Case {
        std::size_t position;
        std::vector<Ped> expected;
    };
    const Case cases[] = {
        {0, {102, 103, 104}},
        {1, {101, 103, 104}},
        {3, {101, 102, 103}},
    };
    for (const Case& c : cases) {
        GangRoster roster = rosterOf({101, 102, 103, 104});
        removeMemberAt(roster, c.position);
        EXPECT_EQ(handles(roster), c.expected) << "removing " << c.position;
    }
}

TEST(GangRoster, AppendGrowsByHalfAgainWhenFull) {
    GangRoster roster;
    std::vector<std::size_t> capacities;
    for (Ped ped = 1; ped <= 14; ++ped) {
        appendMember(roster, ped);
        if (capacities.empty() || capacities.back() != roster.capacity()) {
            capacities.push_back(roster.capacity());
        }
    }
    EXPECT_EQ(capacities, (std::vector<std::size_t>{1, 2, 3, 4, 6, 9, 13, 19}));
    EXPECT_EQ(handles(roster).front(), 1);
    EXPECT_EQ(handles(roster).back(), 14);
}

TEST(GangRoster, DeleteAndRemoveHandsTheGameAPointerToTheHandleThenForgetsIt) {
    sim::resetWorld();
    GangRoster roster = rosterOf({101, 102, 103});
    deleteAndRemoveAt(roster, 1);
    const auto deletes = testing_calls::callsNamed("deleteEntity");
    ASSERT_EQ(deletes.size(), 1u);
    EXPECT_EQ(sim::argsJson(*deletes[0]), "[102]");  // the handle the pointer pointed to
    EXPECT_EQ(handles(roster), (std::vector<Ped>{101, 103}));
}

}  // namespace
