// Turns the director's decision into a squad: seven armed, hostile members of a gang standing in
// the squad formation around a hideout point, each recorded in the roster as soon as it is set up.
// Everything that differs between gangs is read from the profile. The spawner waits (for the model
// and after arming each member), and the whole tick waits with it.
#pragma once

#include "data/gang_profiles.h"
#include "host/host.h"

// Loads the squad's model once and spawns the seven members in slot order. Returns false, with no
// member created, when the game never made the model resident: the director then leaves the point
// armed so that a later tick can try again.
bool spawnSquad(const GangProfile& profile, Vector3 hideoutPoint);

// Creates one member of a resident model at memberPosition, sets it up, arms it, lets its spawn
// line be said, sends it against the player and appends it to the roster. The handle createPed
// gives is used unchecked: a failed creation still goes through every step and is recorded.
void spawnSquadMember(const GangProfile& profile, Hash model, Vector3 memberPosition);
