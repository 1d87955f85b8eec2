#include "model/MarketEntry.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

TEST(MarketRecords, SameCodeIsTheSameRowButNotTheSameValue) {
    const WatchItem a{"600519", "贵州茅台", InstrumentKind::stock};
    const WatchItem b{"600519", "茅台", InstrumentKind::stock};
    EXPECT_NE(a, b);
    EXPECT_EQ(a.id(), b.id());
}

TEST(MarketRecords, ChangePercentWithoutPreviousCloseIsZero) {
    Quote q;
    q.price = 12.5;
    q.prevClose = 0;
    EXPECT_EQ(q.changePercent(), 0.0);
    q.prevClose = 10;
    EXPECT_DOUBLE_EQ(q.changePercent(), 25.0);
    EXPECT_DOUBLE_EQ(q.change(), 2.5);
}

TEST(MarketRecords, DisplayNamePrefersTheProvidersName) {
    const WatchItem item{"510300", "沪深300ETF", InstrumentKind::etf};
    Quote q;
    EXPECT_EQ(displayName(nullptr, item), "沪深300ETF");
    EXPECT_EQ(displayName(&q, item), "沪深300ETF");
    q.name = "300ETF";
    EXPECT_EQ(displayName(&q, item), "300ETF");
}

TEST(MarketRecords, QuoteEqualityCoversTheOptionalTimeAndInstant) {
    Quote a;
    Quote b;
    EXPECT_EQ(a, b);
    b.quoteTime = "14:59";
    EXPECT_NE(a, b);
    a.quoteTime = "14:59";
    a.updatedAt = Instant{std::chrono::seconds{1}};
    EXPECT_NE(a, b);
}

TEST(MarketRecords, NewEntryHoldsOnlyItsItem) {
    const MarketEntry entry(WatchItem{"300750", "宁德时代", InstrumentKind::stock});
    EXPECT_FALSE(entry.quote);
    EXPECT_TRUE(entry.minutes.empty() && entry.flow.empty() && entry.daily.empty());
    EXPECT_TRUE(entry.dailyLoadedOn.empty());
    EXPECT_FALSE(entry.minutesLoadedAt || entry.flowLoadedAt || entry.updatedAt || entry.error);
}

} // namespace
} // namespace glimmer
