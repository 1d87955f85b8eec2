#include "doubles/ManualClock.h"
#include "market/Endpoints.h"
#include "market/QuoteBatch.h"
#include "market/SymbolSearch.h"
#include "model/AppLog.h"
#include "model/AppPaths.h"

#include "simmarket/SimMarket.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

namespace glimmer {
namespace {

using sim::SimFault;
using sim::SimMarket;

std::vector<WatchItem> itemsOf(std::initializer_list<const char*> codes) {
    std::vector<WatchItem> items;
    for (const char* code : codes) items.push_back({code, "", InstrumentKind::stock});
    return items;
}

/// The snapshot and the symbol search end to end against the simulated market on loopback.
class SimClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppLog::setEchoToStdout(false);
        Instant start;
        ASSERT_TRUE(SimMarket::parseChinaTime("2024-11-08 10:30", start));
        SimMarket::Options options;
        options.time = start;
        market = std::make_unique<SimMarket>(options);
        std::string error;
        ASSERT_TRUE(market->start(&error)) << error;
        context.endpoints = market->endpoints();
        clock.set(start);
    }
    void TearDown() override {
        if (market) market->stop();
    }

    std::unique_ptr<SimMarket> market;
    MarketAPI api;
    SourceHealth health;
    ManualClock clock;
    FetchContext context{api, health, clock};
};

TEST_F(SimClientTest, SnapshotAgreesWithTheMarket) {
    const auto quotes = QuoteBatch::fetch(itemsOf({"600519", "000001", "510300", "159915"}), context);
    ASSERT_EQ(quotes.size(), 4u);
    for (const char* code : {"600519", "000001", "510300", "159915"}) {
        const auto view = market->view(code);
        ASSERT_TRUE(view) << code;
        const Quote& quote = quotes.at(code);
        EXPECT_NEAR(quote.price, view->price, 0.0051) << code;
        EXPECT_NEAR(quote.prevClose, view->prevClose, 0.0051) << code;
        EXPECT_DOUBLE_EQ(quote.volume, static_cast<double>(view->volume)) << code;
        EXPECT_EQ(quote.tradeDate, "2024-11-08") << code;
        EXPECT_EQ(quote.quoteTime, "10:30") << code;
    }
    EXPECT_EQ(quotes.at("600519").name, "贵州茅台");
    const double etfPrice = quotes.at("510300").price * 1000;
    EXPECT_NEAR(etfPrice, std::round(etfPrice), 1e-6) << "ETF prices carry three decimals";
    EXPECT_EQ(market->requestCount("snapshot"), 1u);
}

TEST_F(SimClientTest, SnapshotFollowsTheSimulatedDay) {
    market->pin("600519", 1688.00, 1600.00);
    const auto quotes = QuoteBatch::fetch(itemsOf({"600519"}), context);
    ASSERT_TRUE(quotes.contains("600519"));
    EXPECT_DOUBLE_EQ(quotes.at("600519").price, 1688.00);
    EXPECT_NEAR(quotes.at("600519").changePercent(), 5.5, 1e-9);
}

TEST_F(SimClientTest, GbkSnapshotDecodes) {
    market->setFault("snapshot", "", SimFault{SimFault::Kind::Gbk, 0});
    const auto quotes = QuoteBatch::fetch(itemsOf({"600519", "510300"}), context);
    ASSERT_EQ(quotes.size(), 2u);
    EXPECT_EQ(quotes.at("510300").name, "沪深300ETF");
}

TEST_F(SimClientTest, SearchByPinyinCodeAndChineseName) {
    const auto byPinyin = SymbolSearch::search("gzmt", 8, context);
    ASSERT_FALSE(byPinyin.empty());
    EXPECT_EQ(byPinyin.front(), (SymbolHit{"600519", "贵州茅台", InstrumentKind::stock}));

    const auto byName = SymbolSearch::search("茅台", 8, context);
    ASSERT_FALSE(byName.empty());
    EXPECT_EQ(byName.front().code, "600519");

    const auto etf = SymbolSearch::search("510300", 8, context);
    ASSERT_FALSE(etf.empty());
    EXPECT_EQ(etf.front().kind, InstrumentKind::etf);

    EXPECT_TRUE(SymbolSearch::search("qqqqqqqq", 8, context).empty());
    EXPECT_LE(SymbolSearch::search("0", 3, context).size(), 3u);
}

} // namespace
} // namespace glimmer
