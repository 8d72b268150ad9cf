#include "encounter/visit_registry.h"

#include <gtest/gtest.h>

#include "data/hideouts.h"

namespace {

TEST(PointHash, MatchesTheWorkedValues) {
    struct Case {
        Vector3 point;
        std::uint64_t expected;
    };
    const Case cases[] = {
        {{0.0f, 0.0f, 0.0f}, 0x4d25767f9dce13f5ull},  // h(+0.0): the pair x, y cancels out
        {{1.0f, 2.0f, 3.0f}, 0x4a1c477f9c8673d8ull},
        {{3.0f, 2.0f, 1.0f}, 0x4a1c477f9c8673d8ull},  // XOR does not see the order
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pointHash(c.point), c.expected)
            << c.point.x << "," << c.point.y << "," << c.point.z;
    }
}

TEST(PointHash, NegativeZeroHashesLikePositiveZero) {
    EXPECT_EQ(pointHash({-0.0f, 5.0f, -0.0f}), pointHash({0.0f, 5.0f, 0.0f}));
}

TEST(PointHash, TwoEqualCoordinatesCancelLeavingTheThird) {
    EXPECT_EQ(pointHash({7.5f, 7.5f, 41.726f}), pointHash({0.0f, 0.0f, 41.726f}));
}

TEST(VisitRegistry, FirstLookupInsertsFalseAndSecondFindsTheSameFlag) {
    VisitRegistry registry;
    bool& first = visitedFlag(registry, {1.0f, 2.0f, 3.0f});
    EXPECT_FALSE(first);
    first = true;
    bool& again = visitedFlag(registry, {1.0f, 2.0f, 3.0f});
    EXPECT_EQ(&again, &first);
    EXPECT_TRUE(again);
    EXPECT_EQ(registry.entries.size(), 1u);
}

TEST(VisitRegistry, NegativeZeroKeyFindsTheFlagOfPositiveZero) {
    VisitRegistry registry;
    visitedFlag(registry, {0.0f, 10.0f, 0.0f}) = true;
    EXPECT_TRUE(visitedFlag(registry, {-0.0f, 10.0f, -0.0f}));
    EXPECT_EQ(registry.entries.size(), 1u);
}

TEST(VisitRegistry, PermutedKeysShareABucketButNotAFlag) {
    VisitRegistry registry;
    visitedFlag(registry, {1.0f, 2.0f, 3.0f}) = true;
    EXPECT_FALSE(visitedFlag(registry, {3.0f, 2.0f, 1.0f}));
    EXPECT_EQ(registry.entries.size(), 2u);
}

TEST(VisitRegistry, RepeatedExConfederatePointIsOneHideout) {
    VisitRegistry registry;
    visitedFlag(registry, exConfederateHideouts[5]) = true;
    EXPECT_TRUE(visitedFlag(registry, exConfederateHideouts[6]));
    EXPECT_EQ(registry.entries.size(), 1u);
}

TEST(VisitRegistry, GrowsEightToSixtyFourToFiveTwelveKeepingEveryFlag) {
    VisitRegistry registry;
    std::vector<Vector3> points;
    for (HideoutList list : {HideoutList(dusterHideouts), HideoutList(exConfederateHideouts),
                             HideoutList(swampHideouts), HideoutList(inbredHideouts),
                             HideoutList(mountainManHideouts), HideoutList(banditoHideouts)}) {
        for (Vector3 p : list) points.push_back(p);
    }
    points.erase(points.begin() + 38 + 6);  // the repeated ExConfederate point

    struct Step {
        std::size_t entriesAfter;
        std::size_t bucketsAfter;
    };
    const Step steps[] = {{8, 8}, {9, 64}, {64, 64}, {65, 512}, {86, 512}};
    std::size_t inserted = 0;
    for (const Step& step : steps) {
        for (; inserted < step.entriesAfter; ++inserted) {
            EXPECT_FALSE(visitedFlag(registry, points[inserted]));
            // Every other point carries a true flag, so a lost or swapped entry shows.
            if (inserted % 2 == 0) visitedFlag(registry, points[inserted]) = true;
        }
        EXPECT_EQ(registry.buckets.size(), step.bucketsAfter) << step.entriesAfter << " entries";
        for (std::size_t i = 0; i < inserted; ++i) {
            EXPECT_EQ(visitedFlag(registry, points[i]), i % 2 == 0) << "point " << i;
        }
        EXPECT_EQ(registry.entries.size(), inserted);
    }
}

TEST(VisitRegistry, ClearVisitedResetsFlagsAndKeepsEntriesAndBuckets) {
    VisitRegistry empty;
    clearVisited(empty);
    EXPECT_TRUE(empty.entries.empty());

    VisitRegistry registry;
    for (int i = 0; i < 12; ++i) visitedFlag(registry, {float(i), 0.0f, 0.0f}) = true;
    const std::size_t buckets = registry.buckets.size();
    clearVisited(registry);
    EXPECT_EQ(registry.entries.size(), 12u);
    EXPECT_EQ(registry.buckets.size(), buckets);
    for (int i = 0; i < 12; ++i) EXPECT_FALSE(visitedFlag(registry, {float(i), 0.0f, 0.0f}));
    EXPECT_EQ(registry.entries.size(), 12u);
}

}  // namespace
