#include "market/TradingDay.h"
#include "doubles/ManualClock.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

Instant china(int day, int hour, int minute, int second = 0) {
    return Clock::instantAtOffset(CivilTime{2024, 10, day, hour, minute, second}, 8 * 3600);
}

// October 2024: the National Day week closes Tuesday 1 to Monday 7; Tuesday 8 trades again.
const TradingDayState holidayOn2nd{"2024-10-02", "", "2024-09-30"};

TEST(TradingDay, PhaseFollowsTheSessionTheLunchBreakAndAKnownHolidayWhichTheSnapshotsDecideAndTheLinesSay) {
    struct Case {
        Instant at;
        TradingDayState state;
        MarketPhase phase;
        const char* why;
    };
    const Case cases[] = {
        {china(2, 9, 14, 59), {}, MarketPhase::Closed, "before the auction"},
        {china(2, 9, 15), {}, MarketPhase::PreOpen, "the auction polls fast, the series wait"},
        {china(2, 9, 30, 59), {"", "", "2024-09-30"}, MarketPhase::PreOpen, "quotes of an earlier day"},
        {china(2, 9, 16), {"", "2024-10-02", "2024-10-02"}, MarketPhase::Session, "today's quotes open it"},
        {china(2, 11, 30, 59), {}, MarketPhase::Session, "the last morning minute"},
        {china(2, 11, 31), {}, MarketPhase::LunchBreak, "lunch from 11:31"},
        {china(2, 12, 58, 59), {}, MarketPhase::LunchBreak, "lunch to 12:58"},
        {china(2, 12, 59), {}, MarketPhase::Session, "fast again at 12:59"},
        {china(2, 15, 5, 59), {}, MarketPhase::Session, "the closing minutes"},
        {china(2, 15, 6), {}, MarketPhase::Closed, "after the close"},
        {china(5, 10, 0), {}, MarketPhase::Closed, "Saturday"},
        {china(2, 10, 0), holidayOn2nd, MarketPhase::Holiday, "the holiday found today"},
        {china(2, 12, 0), holidayOn2nd, MarketPhase::Holiday, "a holiday has no lunch break"},
        {china(2, 20, 0), holidayOn2nd, MarketPhase::Closed, "the evening is closed anyway"},
        {china(3, 9, 15), holidayOn2nd, MarketPhase::PreOpen, "a holiday ends with its day"},
        {china(3, 9, 31), holidayOn2nd, MarketPhase::Session, "the verdict is the snapshots' again"},
    };
    for (const Case& c : cases) EXPECT_EQ(TradingDay::phase(c.at, c.state), c.phase) << c.why;

    // The auction is watched, but no minutes before today's quotes; a holiday costs no more than a weekend.
    std::vector<std::pair<bool, bool>> rules;
    for (const auto phase : {MarketPhase::Session, MarketPhase::LunchBreak, MarketPhase::Holiday, MarketPhase::PreOpen,
                             MarketPhase::Closed}) {
        rules.emplace_back(TradingDay::pollsFast(phase), TradingDay::usesTradingTTLs(phase));
    }
    EXPECT_EQ(rules, (std::vector<std::pair<bool, bool>>{
                         {true, true}, {false, true}, {false, false}, {true, false}, {false, false}}));

    using Change = TradingDayChange;
    struct Observation {
        Instant at;
        std::vector<std::string> dates;
        TradingDayState before;
        Change change;
        TradingDayState after;
        const char* why;
    };
    const TradingDayState none;
    const TradingDayState seenOld{"", "", "2024-09-30"};
    const TradingDayState open2nd{"", "2024-10-02", "2024-10-02"};
    const TradingDayState open2ndOldData{"", "2024-10-02", "2024-09-30"};
    const TradingDayState holidayOn3rd{"2024-10-03", "", "2024-09-30"};
    const TradingDayState holidayOn7th{"2024-10-07", "", "2024-09-30"};
    const TradingDayState open8th{"", "2024-10-08", "2024-10-08"};
    const std::vector<std::string> old{"2024-09-30"};
    const std::vector<std::string> badDates{"", "2024-09-30", "20241002", "２０２４-10-02", "2024-1x-02"};
    const Observation observations[] = {
        {china(2, 9, 31), {"2024-09-30", "2024-09-30"}, none, Change::Closed, holidayOn2nd, "every date is old"},
        {china(2, 9, 30, 59), old, none, Change::None, seenOld, "too early to tell"},
        {china(2, 15, 10), old, none, Change::None, seenOld, "after the session"},
        {china(5, 10, 0), old, none, Change::None, seenOld, "a weekend is no holiday"},
        {china(2, 10, 0), {"2024-10-02", "2024-09-27"}, none, Change::None, open2nd, "one suspended security"},
        {china(2, 10, 0), badDates, none, Change::Closed, holidayOn2nd, "quotes without a usable date do not count"},
        {china(2, 10, 0), {"", "garbage"}, none, Change::None, none, "no dated quote: nothing known"},
        {china(2, 10, 0), {}, none, Change::None, none, "an empty snapshot"},
        {china(2, 10, 5), old, holidayOn2nd, Change::None, holidayOn2nd, "said once a day"},
        {china(2, 11, 0), {"2024-10-02"}, holidayOn2nd, Change::Reopened, open2nd, "a later snapshot dated today"},
        {china(2, 11, 0), old, open2nd, Change::None, open2ndOldData, "a day seen trading stays open"},
        {china(3, 9, 31), old, holidayOn2nd, Change::Closed, holidayOn3rd, "the next holiday is said again"},
        {china(8, 9, 15), {"2024-10-08"}, holidayOn7th, Change::Reopened, open8th, "the first fresh snapshot after"},
        {china(8, 20, 0), {"2024-10-08"}, holidayOn7th, Change::None, open8th, "an old holiday ends quietly at night"},
    };
    for (const Observation& c : observations) {
        TradingDayState state = c.before;
        EXPECT_EQ(TradingDay::observe(state, c.at, c.dates), c.change) << c.why;
        EXPECT_EQ(state, c.after) << c.why;
    }
    EXPECT_EQ(TradingDay::logLine(TradingDayChange::Closed, holidayOn2nd),
              "今日休市（行情日期停在 2024-09-30），改为每 5 分钟刷新");
    EXPECT_EQ(TradingDay::logLine(TradingDayChange::Reopened, {}), "今日开市，恢复盘中刷新");
    EXPECT_EQ(TradingDay::logLine(TradingDayChange::None, holidayOn2nd), "");
    EXPECT_EQ(TradingDay::describe(MarketPhase::Closed, {}), "休市") << "the refresh diagnostics check the others";
}

std::tuple<int, int, int, int, int, int, int> fields(const CivilTime& t) {
    return {t.year, t.month, t.day, t.hour, t.minute, t.second, t.weekday};
}

TEST(Clock, ChinaTimeIsUtcPlusEightWhateverTheMachineZoneAndConvertsBothWays) {
    ManualClock clock;
    clock.setChinaTime(2026, 12, 31, 23, 59, 30);
    clock.setLocalUtcOffset(-8 * 3600);
    EXPECT_EQ(fields(Clock::chinaTime(clock.now())), fields({2026, 12, 31, 23, 59, 30, 4})) << "a Thursday";
    EXPECT_EQ(fields(clock.localTime(clock.now())), fields({2026, 12, 31, 7, 59, 30, 4}));
    clock.advance(31);
    EXPECT_EQ(fields(Clock::chinaTime(clock.now())), fields({2027, 1, 1, 0, 0, 1, 5}));

    // Before the epoch, and a leap day: the months before March count from the previous year's March.
    const Instant instant = Clock::instantAtOffset(CivilTime{1969, 12, 31, 23, 0}, 0);
    EXPECT_EQ(instant.time_since_epoch(), std::chrono::seconds{-3600});
    EXPECT_EQ(fields(Clock::civilTimeAtOffset(instant, 0)), fields({1969, 12, 31, 23, 0, 0, 3}));
    const CivilTime leap{2024, 2, 29, 12, 0, 0, 4};
    EXPECT_EQ(Clock::instantAtOffset(leap, 0).time_since_epoch(), std::chrono::seconds{1709208000});
    EXPECT_EQ(fields(Clock::civilTimeAtOffset(Clock::instantAtOffset(leap, 0), 0)), fields(leap));
}

} // namespace
} // namespace glimmer
