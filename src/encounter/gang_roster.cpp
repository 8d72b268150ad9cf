#include "encounter/gang_roster.h"

#include <algorithm>

#include "natives/wrappers.h"

void appendMember(GangRoster& roster, Ped ped) {
    if (roster.size() == roster.capacity()) {
        roster.reserve(std::max(roster.capacity() + roster.capacity() / 2, roster.size() + 1));
    }
    roster.push_back({ped});
}

void removeMemberAt(GangRoster& roster, std::size_t position) {
    roster.erase(roster.begin() + static_cast<std::ptrdiff_t>(position));
}

void deleteAndRemoveAt(GangRoster& roster, std::size_t position) {
    deleteEntity(&roster[position].ped);
    removeMemberAt(roster, position);
}
