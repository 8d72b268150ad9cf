// What `gang-hideouts-sim --list` prints: the names a scenario can use and where they point.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "data/gang_profiles.h"

namespace listings {

// Every hideout (or one gang's): gang, number for `goto GANG N`, position, the model its squad
// wears.
std::string hideouts(std::optional<Gang> only);
// The natives by the role name `expect calls` takes, with what each does in the game.
std::string natives();
// The builds with their respawn cooldowns.
std::string builds();

// What a native does, in a few words; empty for a role name the catalogue does not have.
std::string_view meaningOf(std::string_view role);

}  // namespace listings
