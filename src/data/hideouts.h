// The compiled-in hideout points, one list per gang, in the order the director walks them.
//
// Inside a list the order matters: only the first point within reach of the player counts.
// Each value is the shortest decimal that reads back as the stored 32-bit float. A list may hold
// the same point twice (exConfederateHideouts 6 and 7); both copies are one hideout.
#pragma once

#include <array>
#include <span>

#include "host/host.h"

using HideoutList = std::span<const Vector3>;

inline constexpr auto dusterHideouts = std::to_array<Vector3>({
    {-1840.841f, 1860.41f, 246.471f},   // 1
    {-1337.414f, 2107.562f, 312.057f},  // 2
    {-1340.106f, 1580.597f, 283.238f},  // 3
    {-857.478f, 1402.56f, 230.655f},    // 4
    {-1362.225f, 1480.672f, 245.064f},  // 5
    {-837.96f, 2748.164f, 340.959f},    // 6
    {-1688.595f, 1451.62f, 253.6f},     // 7
    {-1629.98f, 2270.906f, 300.12f},    // 8
    {-1257.79f, 2904.882f, 390.304f},   // 9
    {-1438.047f, 1835.458f, 299.092f},  // 10
    {-1587.453f, 1106.599f, 269.21f},   // 11
    {-1149.682f, 632.0f, 97.0f},        // 12
    {-1857.885f, 602.439f, 115.573f},   // 13
    {-2165.911f, 468.057f, 118.746f},   // 14
    {-1916.701f, -631.92f, 128.113f},   // 15
    {-2050.033f, -777.219f, 86.267f},   // 16
    {-853.783f, -441.318f, 43.317f},    // 17
    {-832.081f, -167.57f, 77.411f},     // 18
    {803.297f, 1258.706f, 154.136f},    // 19
    {1241.363f, -51.599f, 99.033f},     // 20
    {1064.912f, -62.256f, 88.774f},     // 21
    {205.494f, -482.709f, 74.434f},     // 22
    {-1383.333f, -38.524f, 83.495f},    // 23
    {-1610.792f, 266.408f, 109.233f},   // 24
    {-2217.001f, 731.234f, 123.076f},   // 25
    {-2249.294f, 480.75f, 122.279f},    // 26
    {-389.344f, 403.767f, 56.386f},     // 27
    {-612.941f, 1206.259f, 170.601f},   // 28
    {-750.071f, 186.316f, 45.737f},     // 29
    {-1410.085f, 149.464f, 86.213f},    // 30
    {-2215.261f, 421.137f, 164.236f},   // 31
    {-1343.147f, -733.294f, 92.183f},   // 32
    {-987.438f, -359.334f, 63.764f},    // 33
    {-1772.202f, -764.784f, 114.923f},  // 34
    {-1955.822f, -849.268f, 101.807f},  // 35
    {-2171.958f, -477.158f, 155.475f},  // 36
    {77.756f, 536.076f, 144.382f},      // 37
    {427.683f, 930.808f, 165.08f},      // 38
});

inline constexpr auto exConfederateHideouts = std::to_array<Vector3>({
    {1260.913f, -2210.287f, 48.807f},  // 1
    {1108.246f, -2096.653f, 54.608f},  // 2
    {1004.841f, -891.085f, 72.47f},    // 3
    {1777.244f, -469.331f, 45.59f},    // 4
    {1656.198f, -203.761f, 79.066f},   // 5
    {1347.96f, -1484.008f, 77.385f},   // 6
    {1347.96f, -1484.008f, 77.385f},   // 7
    {1526.321f, -1996.032f, 45.196f},  // 8
    {1470.891f, -995.301f, 52.821f},   // 9
});

inline constexpr auto swampHideouts = std::to_array<Vector3>({
    {1638.147f, -993.645f, 41.726f},  // 1
    {1756.714f, -1128.9f, 41.876f},   // 2
});

inline constexpr auto inbredHideouts = std::to_array<Vector3>({
    {2100.324f, 1544.223f, 128.014f},  // 1
    {2290.619f, 1903.957f, 150.976f},  // 2
    {2455.348f, 1863.36f, 104.828f},   // 3
    {2572.421f, 2241.268f, 164.54f},   // 4
    {2928.576f, 1802.026f, 104.041f},  // 5
    {3098.893f, 1622.462f, 61.035f},   // 6
    {2605.001f, 1336.65f, 115.062f},   // 7
    {2704.161f, 1611.882f, 149.309f},  // 8
    {2308.317f, 716.067f, 80.452f},    // 9
    {2029.139f, -151.436f, 48.742f},   // 10
    {1877.049f, 57.485f, 84.809f},     // 11
    {2443.332f, 2240.647f, 180.22f},   // 12
});

inline constexpr auto mountainManHideouts = std::to_array<Vector3>({
    {-2112.35f, -1279.513f, 122.97f},    // 1
    {-2138.685f, -905.848f, 108.225f},   // 2
    {-2148.211f, -822.639f, 108.118f},   // 3
    {-2313.491f, -1750.137f, 116.107f},  // 4
    {-2790.392f, -1426.471f, 168.381f},  // 5
    {-2370.864f, -1662.484f, 130.082f},  // 6
    {-2343.923f, -1805.742f, 107.818f},  // 7
    {-2295.392f, -1844.404f, 109.223f},  // 8
    {-2181.905f, -1948.405f, 90.684f},   // 9
    {-1779.273f, -1999.516f, 51.811f},   // 10
    {-1386.338f, -1963.417f, 45.142f},   // 11
    {-1363.963f, -1760.147f, 84.66f},    // 12
    {-1353.54f, -971.645f, 73.082f},     // 13
    {-1618.309f, -1117.866f, 72.521f},   // 14
    {-1951.378f, -1053.918f, 77.27f},    // 15
    {-1997.929f, -1735.594f, 122.473f},  // 16
    {-2024.924f, -1711.507f, 128.987f},  // 17
});

inline constexpr auto banditoHideouts = std::to_array<Vector3>({
    {-1661.555f, -2627.415f, 62.975f},  // 1
    {-2147.946f, -2137.19f, 69.212f},   // 2
    {-2331.363f, -2181.099f, 72.525f},  // 3
    {-1925.529f, -2772.433f, 72.543f},  // 4
    {-4367.069f, -3075.383f, -9.929f},  // 5
    {-5340.373f, -2919.099f, 9.125f},   // 6
    {-2079.603f, -2334.677f, 61.573f},  // 7
    {-2041.824f, -2202.811f, 44.971f},  // 8
    {-2951.648f, -2518.837f, 67.373f},  // 9
});

// The rows set each list's length, so a deleted or added row changes a count here.
static_assert(dusterHideouts.size() == 38, "dusterHideouts holds 38 points");
static_assert(exConfederateHideouts.size() == 9, "exConfederateHideouts holds 9 points");
static_assert(swampHideouts.size() == 2, "swampHideouts holds 2 points");
static_assert(inbredHideouts.size() == 12, "inbredHideouts holds 12 points");
static_assert(mountainManHideouts.size() == 17, "mountainManHideouts holds 17 points");
static_assert(banditoHideouts.size() == 9, "banditoHideouts holds 9 points");
