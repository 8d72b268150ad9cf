// The player's own character taunts a gang when its hideout is reached: the gang's taunt script,
// played at most once between two re-arms.
#pragma once

#include "data/gang_profiles.h"
#include "host/host.h"

inline constexpr float tauntDistance = 50.0f;  // metres; the taunt plays at this distance too

// Plays the gang's taunt when the player stands within tauntDistance of hideoutPoint and no taunt
// has played since the last re-arm. The player's position and distance are taken on every call,
// before tauntDone is looked at; tauntDone is set once the last line has been said.
void playApproachTaunt(const GangProfile& profile, Vector3 hideoutPoint);
