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

} // namespace
} // namespace glimmer
