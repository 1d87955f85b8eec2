#include "doubles/ManualClock.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

TEST(Clock, ChinaTimeIsUtcPlusEightWhateverTheMachineZone) {
    ManualClock clock;
    clock.setChinaTime(2026, 12, 31, 23, 59, 30);
    clock.setLocalUtcOffset(-8 * 3600);
    const CivilTime china = Clock::chinaTime(clock.now());
    EXPECT_EQ(china.year, 2026);
    EXPECT_EQ(china.day, 31);
    EXPECT_EQ(china.hour, 23);
    EXPECT_EQ(china.weekday, 4) << "2026-12-31 is a Thursday";
    const CivilTime local = clock.localTime(clock.now());
    EXPECT_EQ(local.day, 31);
    EXPECT_EQ(local.hour, 7);

    clock.advance(31);
    const CivilTime next = Clock::chinaTime(clock.now());
    EXPECT_EQ(next.year, 2027);
    EXPECT_EQ(next.month, 1);
    EXPECT_EQ(next.day, 1);
    EXPECT_EQ(next.second, 1);
}

TEST(Clock, InstantsBeforeTheEpochConvertBothWays) {
    CivilTime t;
    t.year = 1969;
    t.month = 12;
    t.day = 31;
    t.hour = 23;
    t.minute = 0;
    const Instant instant = Clock::instantAtOffset(t, 0);
    EXPECT_EQ(instant.time_since_epoch(), std::chrono::seconds{-3600});
    const CivilTime back = Clock::civilTimeAtOffset(instant, 0);
    EXPECT_EQ(back.year, 1969);
    EXPECT_EQ(back.hour, 23);
    EXPECT_EQ(back.weekday, 3);
    // Leap day: the months before March count from the previous year's March.
    const CivilTime leap{2024, 2, 29, 12, 0, 0, 4};
    EXPECT_EQ(Clock::instantAtOffset(leap, 0).time_since_epoch(), std::chrono::seconds{1709208000});
    EXPECT_EQ(Clock::civilTimeAtOffset(Clock::instantAtOffset(leap, 0), 0).day, 29);
}

} // namespace
} // namespace glimmer
