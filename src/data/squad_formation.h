// Settings common to every squad, and where its members stand around a hideout point.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "data/gang_profiles.h"
#include "host/host.h"

inline constexpr int squadSize = 7;  // members per squad, one per formation slot
inline constexpr const char* squadBlipStyle = "BLIP_STYLE_ENEMY";
inline constexpr std::int32_t squadPedFlag = 600;  // set to false on every member
// Set to false on every member, in this order.
inline constexpr std::array<std::int32_t, 2> squadCombatAttributes = {27, 113};

// Offsets in metres from the hideout point, in slot order: the corners of a 4 m square, then
// 4 m along +x, -x and +y. Every member stands at the point's height.
inline constexpr auto squadFormation = std::to_array<Vector3>({
    {2.0f, 2.0f, 0.0f},
    {-2.0f, -2.0f, 0.0f},
    {2.0f, -2.0f, 0.0f},
    {-2.0f, 2.0f, 0.0f},
    {4.0f, 0.0f, 0.0f},
    {-4.0f, 0.0f, 0.0f},
    {0.0f, 4.0f, 0.0f},
});
static_assert(squadFormation.size() == static_cast<std::size_t>(squadSize),
              "one formation slot per squad member");

// The model name of a squad at hideoutPoint: the secondary model where the profile has one and
// the point's x is at most secondaryModelMaxX (compared as 32-bit floats), else the primary one.
const char* squadModel(const GangProfile& profile, Vector3 hideoutPoint);

// Where the member of slot 1..7 stands: the hideout point plus the slot's offset.
Vector3 memberPosition(Vector3 hideoutPoint, int slot);
