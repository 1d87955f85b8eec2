#include "model/MarketEntry.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

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

TEST(MarketRecords, EntryCopiesShareTheirBarsUntilOneChangesThem) {
    MarketEntry a;
    a.minutes = std::vector<MinuteBar>{{"09:30", 10, 10, 100, 1000}};
    MarketEntry b = a;
    EXPECT_TRUE(b.minutes.sharesWith(a.minutes));
    b.minutes[0].price = 11;
    b.minutes.push_back({"09:31", 12, 11, 100, 1200});
    EXPECT_EQ(a.minutes.size(), 1u);
    EXPECT_EQ(a.minutes[0].price, 10);
    EXPECT_NE(a, b);
    b.minutes = a.minutes;
    EXPECT_EQ(a, b);
    b.minutes.clear();
    EXPECT_TRUE(b.minutes.empty() && a.minutes.size() == 1);
}

} // namespace
} // namespace glimmer
