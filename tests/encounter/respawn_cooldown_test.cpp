#include "encounter/respawn_cooldown.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "data/hideouts.h"
#include "deliverable_builds.h"
#include "encounter/tick_director.h"
#include "tests/support/encounter_fixture.h"

namespace {

using namespace encounter_testing;

class RespawnCooldownTest : public EncounterTest {};

// The cooldowns of the deliverables, all of them and those of a day or more.
std::vector<std::int32_t> cooldownsWhere(bool (*keep)(std::int32_t)) {
    std::vector<std::int32_t> cooldowns;
    for (const DeliverableBuild& build : deliverableBuilds) {
        if (keep(build.cooldownMinutes)) cooldowns.push_back(build.cooldownMinutes);
    }
    return cooldowns;
}
const std::vector<std::int32_t> everyBuild = cooldownsWhere([](std::int32_t) { return true; });
const std::vector<std::int32_t> dayLongBuilds = cooldownsWhere(measuredOnCalendar);

constexpr GameClockReading at(std::int32_t year, std::int32_t month, std::int32_t day,
                              std::int32_t hours, std::int32_t minutes) {
    return {hours, minutes, day, month, year};
}

TEST(CooldownArithmetic, ShortBuildsCountTheTimeOfDayAndDayLongBuildsTheCalendar) {
    struct Case {
        const char* what;
        GameClockReading stamp;
        GameClockReading now;
        std::int64_t shortBuildsElapsed;
        std::int64_t dayLongBuildsElapsed;
    };
    const Case cases[] = {
        {"22:30 to 2:15 the next day", at(1899, 5, 1, 22, 30), at(1899, 5, 2, 2, 15), 225, 225},
        {"10:30 to 10:10 the next day", at(1899, 5, 1, 10, 30), at(1899, 5, 2, 10, 10), 1420, 1420},
        {"23:59 to midnight", at(1899, 5, 1, 23, 59), at(1899, 5, 2, 0, 0), 1, 1},
        {"stamp and clock equal", at(1899, 5, 1, 12, 0), at(1899, 5, 1, 12, 0), 0, 0},
        {"a jump of 25 hours", at(1899, 5, 1, 10, 0), at(1899, 5, 2, 11, 0), 60, 1500},
        {"a whole week", at(1899, 5, 1, 10, 0), at(1899, 5, 8, 10, 0), 0, 7 * 1440},
        {"the clock set back a day", at(1899, 5, 2, 10, 0), at(1899, 5, 1, 10, 0), 0, -1440},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const std::int32_t cooldown : everyBuild) {
            SCOPED_TRACE(cooldown);
            EXPECT_EQ(minutesSinceStamp(c.stamp, c.now, cooldown),
                      measuredOnCalendar(cooldown) ? c.dayLongBuildsElapsed : c.shortBuildsElapsed);
        }
    }
}

TEST(CooldownArithmetic, EveryBuildReachesItsCooldownExactlyAtItsLengthAcrossMonthsAndYears) {
    struct Case {
        std::int32_t cooldown;
        GameClockReading stamp;
        GameClockReading due;
        GameClockReading minuteBefore;
    };
    const Case cases[] = {
        {360, at(1899, 2, 10, 8, 0), at(1899, 2, 10, 14, 0), at(1899, 2, 10, 13, 59)},
        {480, at(1899, 2, 10, 8, 0), at(1899, 2, 10, 16, 0), at(1899, 2, 10, 15, 59)},
        {720, at(1899, 2, 10, 20, 0), at(1899, 2, 11, 8, 0), at(1899, 2, 11, 7, 59)},
        {960, at(1899, 2, 10, 20, 0), at(1899, 2, 11, 12, 0), at(1899, 2, 11, 11, 59)},
        // February 1899 has 28 days.
        {1440, at(1899, 1, 28, 20, 0), at(1899, 2, 1, 20, 0), at(1899, 2, 1, 19, 59)},
        {1920, at(1899, 11, 31, 20, 0), at(1900, 0, 2, 4, 0), at(1900, 0, 2, 3, 59)},
        // 1900 is not a leap year.
        {2880, at(1900, 1, 28, 10, 0), at(1900, 2, 2, 10, 0), at(1900, 2, 2, 9, 59)},
        {4320, at(1899, 0, 30, 6, 0), at(1899, 1, 2, 6, 0), at(1899, 1, 2, 5, 59)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cooldown);
        EXPECT_EQ(minutesSinceStamp(c.stamp, c.due, c.cooldown), c.cooldown);
        EXPECT_EQ(minutesSinceStamp(c.stamp, c.minuteBefore, c.cooldown), c.cooldown - 1);
    }
}

// The encounter as a test sets it up before the clock moves: a fight under way at a visited point.
void disarm() {
    encounterState.encounterActive = true;
    encounterState.tauntDone = true;
    encounterState.firstKillHandled = true;
    encounterState.fightOverHandled = true;
    visitedFlag(encounterState.visitRegistry, swampHideouts[0]) = true;
}

bool rearmed() {
    return !encounterState.encounterActive && !encounterState.tauntDone &&
           !encounterState.firstKillHandled && !encounterState.fightOverHandled &&
           !visitedFlag(encounterState.visitRegistry, swampHideouts[0]);
}

bool stillDisarmed() {
    return encounterState.encounterActive && encounterState.tauntDone &&
           encounterState.firstKillHandled && encounterState.fightOverHandled &&
           visitedFlag(encounterState.visitRegistry, swampHideouts[0]);
}

// Still disarmed one game minute short of the cooldown, re-armed at it.
void expectReArmAfterExactly(std::int32_t cooldown) {
    sim::advanceClock(cooldown - 1);
    rearmIfDueAfter(cooldown);
    EXPECT_TRUE(stillDisarmed()) << "one minute short";
    sim::advanceClock(1);
    rearmIfDueAfter(cooldown);
    EXPECT_TRUE(rearmed());
}

// The day-long builds measured the time of day alone, which never reaches a day: their hideouts
// stayed disarmed for ever.
TEST_F(RespawnCooldownTest, DayLongBuildsReArmOnceTheirWholeCooldownHasPassedAcrossDays) {
    for (const std::int32_t cooldown : dayLongBuilds) {
        SCOPED_TRACE(cooldown);
        resetEncounter();
        sim::setDate({1899, 11, 30});
        sim::setClock(21, 15);
        takeSpawnStamp(cooldown);
        disarm();

        expectReArmAfterExactly(cooldown);
    }
}

TEST_F(RespawnCooldownTest, DayLongBuildsHaveNothingToReArmBeforeTheFirstSpawn) {
    for (const std::int32_t cooldown : dayLongBuilds) {
        SCOPED_TRACE(cooldown);
        resetEncounter();
        disarm();
        sim::advanceClock(10 * minutesPerDay);
        sim::clearCalls();

        rearmIfDueAfter(cooldown);

        EXPECT_TRUE(stillDisarmed());
        EXPECT_EQ(callNames(), (std::vector<std::string>{"clockHours", "clockMinutes"}));
    }
}

// The re-arm ran at every tick while the cooldown stayed reached, so closing lines and first-kill
// reactions replayed without end.
TEST_F(RespawnCooldownTest, TheReArmRunsOncePerStampInShortAndDayLongBuilds) {
    for (const std::int32_t cooldown : {360, 1440}) {
        SCOPED_TRACE(cooldown);
        resetEncounter();
        takeSpawnStamp(cooldown);
        sim::advanceClock(cooldown);
        rearmIfDueAfter(cooldown);
        ASSERT_TRUE(rearmed());

        disarm();
        rearmIfDueAfter(cooldown);
        sim::advanceClock(cooldown + 1);
        rearmIfDueAfter(cooldown);
        EXPECT_TRUE(stillDisarmed()) << "no second re-arm without a new stamp";

        takeSpawnStamp(cooldown);
        sim::advanceClock(cooldown);
        rearmIfDueAfter(cooldown);
        EXPECT_TRUE(rearmed()) << "a new stamp arms the next re-arm";
    }
}

// Loading an earlier save puts the clock before the stamp; counting from the stamp would keep the
// hideouts disarmed until the clock caught up again, on top of the cooldown.
TEST_F(RespawnCooldownTest, AClockSetBackCountsTheCooldownFromWhenTheSetbackIsSeen) {
    const std::int32_t cooldown = 2880;
    sim::setDate({1899, 4, 20});
    sim::setClock(12, 0);
    takeSpawnStamp(cooldown);
    disarm();

    sim::setDate({1899, 4, 10});
    sim::setClock(18, 30);
    rearmIfDueAfter(cooldown);
    EXPECT_TRUE(stillDisarmed());

    expectReArmAfterExactly(cooldown);
}

TEST_F(RespawnCooldownTest, TheStampOfADayLongBuildTakesTheDateAfterTheTimeOfDay) {
    sim::setDate({1901, 6, 4});
    sim::setClock(17, 42);
    sim::clearCalls();

    takeSpawnStamp(1920);

    EXPECT_EQ(callNames(),
              (std::vector<std::string>{"clockHours", "clockMinutes", "clockDayOfMonth",
                                        "clockMonth", "clockYear"}));
    EXPECT_EQ(encounterState.spawnStamp.hours, 17);
    EXPECT_EQ(encounterState.spawnStamp.minutes, 42);
    EXPECT_EQ(encounterState.spawnStamp.dayOfMonth, 4);
    EXPECT_EQ(encounterState.spawnStamp.month, 6);
    EXPECT_EQ(encounterState.spawnStamp.year, 1901);
}

TEST_F(RespawnCooldownTest, AReArmLeavesTheSquadAndTheStampAlone) {
    const Ped member = addMember("g_m_m_uniinbred_01", {0.0f, 0.0f, 10.0f});
    takeSpawnStamp(RespawnCooldown);
    disarm();
    const std::int32_t stampMinutes = encounterState.spawnStamp.minutes;

    sim::advanceClock(RespawnCooldown);
    rearmIfDue();

    EXPECT_TRUE(rearmed());
    EXPECT_EQ(rosterPeds(), std::vector<Ped>{member});
    EXPECT_TRUE(sim::pedState(member)->exists);
    EXPECT_EQ(encounterState.spawnStamp.minutes, stampMinutes);
    EXPECT_EQ(encounterState.visitRegistry.entries.size(), 1u)
        << "entries stay, only their flags clear";
}

}  // namespace
