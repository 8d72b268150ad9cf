#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <tuple>

#include "data/gang_profiles.h"
#include "data/hideouts.h"
#include "data/squad_formation.h"

namespace {

std::size_t countWhere(HideoutList list, bool (*predicate)(Vector3)) {
    std::size_t count = 0;
    for (Vector3 p : list) count += predicate(p) ? 1 : 0;
    return count;
}

TEST(HideoutData, ProfilesOwnTheirListsInWalkOrder) {
    const HideoutList expected[] = {dusterHideouts, exConfederateHideouts, swampHideouts,
                                    inbredHideouts, mountainManHideouts,   banditoHideouts};
    std::size_t total = 0;
    for (std::size_t i = 0; i < gangProfiles.size(); ++i) {
        EXPECT_EQ(gangProfiles[i].hideouts.data(), expected[i].data()) << i;
        EXPECT_EQ(&profileOf(gangProfiles[i].gang), &gangProfiles[i]) << i;
        total += gangProfiles[i].hideouts.size();
    }
    EXPECT_EQ(total, 87u);
}

TEST(HideoutData, DusterListSplitsFourteenPrimaryTwentyFourSecondary) {
    const GangProfile& duster = profileOf(Gang::duster);
    std::size_t primary = 0;
    for (Vector3 p : dusterHideouts) {
        primary += std::strcmp(squadModel(duster, p), "g_m_m_uniduster_01") == 0 ? 1 : 0;
    }
    EXPECT_EQ(primary, 14u);
    EXPECT_EQ(dusterHideouts.size() - primary, 24u);
}

TEST(HideoutData, RepeatedExConfederatePointIsBitIdenticalAndOnlyRepeat) {
    EXPECT_EQ(std::memcmp(&exConfederateHideouts[5], &exConfederateHideouts[6], sizeof(Vector3)),
              0);
    std::set<std::tuple<float, float, float>> distinct;
    for (const GangProfile& profile : gangProfiles) {
        for (Vector3 p : profile.hideouts) distinct.insert({p.x, p.y, p.z});
    }
    EXPECT_EQ(distinct.size(), 86u);
}

TEST(HideoutData, SpotChecksAgainstTranscriptionSlips) {
    // First and last point of each list, and the one negative height.
    EXPECT_EQ(dusterHideouts.front().x, -1840.841f);
    EXPECT_EQ(dusterHideouts.back().z, 165.08f);
    EXPECT_EQ(mountainManHideouts[15].x, -1997.929f);
    EXPECT_EQ(banditoHideouts[4].z, -9.929f);
    EXPECT_EQ(countWhere(banditoHideouts, [](Vector3 p) { return p.z < 0.0f; }), 1u);
    const float apart = std::hypot(mountainManHideouts[15].x - mountainManHideouts[16].x,
                                   mountainManHideouts[15].y - mountainManHideouts[16].y,
                                   mountainManHideouts[15].z - mountainManHideouts[16].z);
    EXPECT_NEAR(apart, 36.8f, 0.1f);
}

TEST(SquadModel, ThresholdIsInclusiveAtMinusOneThousandExactly) {
    const GangProfile& duster = profileOf(Gang::duster);
    const float justAbove = std::nextafter(-1000.0f, 0.0f);
    EXPECT_STREQ(squadModel(duster, {-1000.0f, 0.0f, 0.0f}), "G_M_M_UNIDUSTER_02");
    EXPECT_STREQ(squadModel(duster, {justAbove, 0.0f, 0.0f}), "g_m_m_uniduster_01");
    EXPECT_STREQ(squadModel(duster, {-999.5f, 0.0f, 0.0f}), "g_m_m_uniduster_01");
    // A gang without a second model never switches, however far west.
    EXPECT_STREQ(squadModel(profileOf(Gang::bandito), {-5340.373f, 0.0f, 0.0f}),
                 "g_m_m_unibanditos_01");
}

TEST(SquadFormation, MembersStandAroundThePointAtItsHeightNeverOnIt) {
    const Vector3 point{1.5f, -2.25f, 41.726f};
    std::set<std::pair<float, float>> seen;
    for (int slot = 1; slot <= squadSize; ++slot) {
        const Vector3 p = memberPosition(point, slot);
        EXPECT_EQ(p.z, point.z) << slot;
        const float dx = p.x - point.x, dy = p.y - point.y;
        EXPECT_GT(std::hypot(dx, dy), 2.8f) << slot;
        EXPECT_LE(std::hypot(dx, dy), 4.0f) << slot;
        EXPECT_FALSE(dx == 0.0f && dy < 0.0f) << "no slot on -y, slot " << slot;
        seen.insert({dx, dy});
    }
    EXPECT_EQ(seen.size(), 7u);
    EXPECT_EQ(memberPosition(point, 1).x, point.x + 2.0f);
    EXPECT_EQ(memberPosition(point, 7).y, point.y + 4.0f);
}

TEST(GangProfiles, TheDocumentedOddOnesOut) {
    const GangProfile& swamp = profileOf(Gang::swamp);
    EXPECT_STREQ(swamp.meleeWeapon, "WEAPON_MELEE_MACHETE");
    EXPECT_EQ(swamp.spawnLineSpeaker, SpawnLineSpeaker::player);
    EXPECT_EQ(swamp.armWaitMs, 1000u);
    EXPECT_STREQ(profileOf(Gang::exConfederate).ammoType, "AMMO_RIFLE");
    EXPECT_EQ(profileOf(Gang::duster).spawnLineVariationMin, 2);

    // Bandito squads share every MountainMan setting but the list and the model.
    const GangProfile& a = profileOf(Gang::bandito);
    const GangProfile& b = profileOf(Gang::mountainMan);
    EXPECT_STREQ(a.relationshipGroup, b.relationshipGroup);
    EXPECT_STREQ(a.weapon, b.weapon);
    EXPECT_STREQ(a.ammoType, b.ammoType);
    EXPECT_EQ(a.ammoCount, b.ammoCount);
    EXPECT_EQ(a.armWaitMs, b.armWaitMs);
    EXPECT_STREQ(a.spawnLine, b.spawnLine);
    EXPECT_EQ(a.spawnLineVariationMax, b.spawnLineVariationMax);
    EXPECT_STRNE(a.primaryModel, b.primaryModel);

    for (const GangProfile& profile : gangProfiles) {
        if (profile.gang != Gang::swamp) {
            EXPECT_EQ(profile.meleeWeapon, nullptr);
        }
        if (profile.gang != Gang::duster) {
            EXPECT_EQ(profile.secondaryModel, nullptr);
        }
    }
}

}  // namespace
