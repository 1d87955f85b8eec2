#include "card/ViewSequence.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using namespace ViewSequence;
using enum ChartView;
using Views = std::vector<ChartView>;

TEST(ViewSequence, KeepsDotOrderWithVolumeBeforeDailyCandles) {
    const Views all{intraday, macd, fundFlow, volume, dailyCandles};
    EXPECT_EQ(enabledSequence({dailyCandles, volume, fundFlow, macd, intraday}), all);
    EXPECT_EQ(enabledSequence({dailyCandles, intraday, macd}), (Views{intraday, macd, dailyCandles}));
    EXPECT_EQ(enabledSequence({}), all);
    EXPECT_EQ(enabledSequence({volume, volume}), Views{volume});
}

TEST(ViewSequence, ViewAfterStopsAtTheEndSoThePresenterSwitchesSecurityWhileNextViewWraps) {
    const Views seq = enabledSequence({intraday, macd, dailyCandles});
    EXPECT_EQ(viewAfter(intraday, seq), macd);
    EXPECT_EQ(viewAfter(dailyCandles, seq), std::nullopt);
    EXPECT_EQ(viewAfter(volume, enabledSequence({})), dailyCandles);
    EXPECT_EQ(viewAfter(intraday, Views{}), std::nullopt);
    EXPECT_EQ(viewAfter(fundFlow, seq), intraday); // a view outside the sequence starts it over
    EXPECT_EQ(nextView(dailyCandles, seq), intraday);
    EXPECT_EQ(nextView(macd, seq), dailyCandles);
    EXPECT_EQ(nextView(volume, seq), intraday);
    EXPECT_EQ(nextView(fundFlow, Views{}), intraday);
}

TEST(ViewSequence, StepViewWrapsBothWaysFromAnyDistance) {
    const Views three{intraday, macd, fundFlow};
    EXPECT_EQ(stepView(intraday, three, -1), fundFlow);
    EXPECT_EQ(stepView(fundFlow, three, +1), intraday);
    EXPECT_EQ(stepView(volume, three, +1), macd); // absent counts as the first position
    EXPECT_EQ(stepView(intraday, {}, 1), std::nullopt);
    // Steps longer than the list still land inside it.
    EXPECT_EQ(stepView(intraday, three, -4), fundFlow);
    EXPECT_EQ(stepView(macd, three, 7), fundFlow);
}

} // namespace
} // namespace glimmer
