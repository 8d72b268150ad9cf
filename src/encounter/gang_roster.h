// The squad members the plug-in has created and not yet removed, oldest first.
//
// Removal closes the gap and keeps the order of the rest, so entry 0 is always the oldest member
// still recorded. Passes that remove while they walk go by position and do not advance after a
// removal: the next entry has just moved into that position.
#pragma once

#include <cstddef>
#include <vector>

#include "host/host.h"

struct RosterEntry {
    Ped ped;
};

using GangRoster = std::vector<RosterEntry>;

// Adds a member at the end. Storage grows by half again when full and never shrinks.
void appendMember(GangRoster& roster, Ped ped);

// Removes entry `position`; later entries move down one.
void removeMemberAt(GangRoster& roster, std::size_t position);

// Deletes the member's character from the game, handing the game a pointer to the entry's handle,
// then removes the entry. The handle is not read again: the game may have written through it.
void deleteAndRemoveAt(GangRoster& roster, std::size_t position);
