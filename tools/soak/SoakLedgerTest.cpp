#include "SoakLedger.h"

#include <gtest/gtest.h>

namespace glimmer::soak {
namespace {

MarketEntry loaded(const std::string& code) {
    MarketEntry e(WatchItem{code, "", InstrumentKind::stock});
    Quote q;
    q.code = code;
    q.price = 12.5;
    e.quote = q;
    e.minutes.push_back(MinuteBar{});
    e.flow.push_back(FlowPoint{});
    e.daily.push_back(DailyBar{});
    return e;
}

TEST(SoakLedgerTest, DataThatDisappearsAfterLoadingIsALossOfThatEntry) {
    SoakLedger ledger;
    EXPECT_TRUE(ledger.observe({loaded("600519"), loaded("000001")}).empty());

    MarketEntry dropped = loaded("600519");
    dropped.minutes.clear();
    dropped.quote.reset();
    const auto losses = ledger.observe({dropped, loaded("000001")});
    ASSERT_EQ(losses.size(), 2u);
    EXPECT_EQ(losses[0].code, "600519");
    EXPECT_EQ(losses[0].what, "quote");
    EXPECT_EQ(losses[1].what, "minutes");
    EXPECT_EQ(ledger.lostEntries(), 1u);

    // The entry stays lost in the summary even when the data come back.
    EXPECT_TRUE(ledger.observe({loaded("600519"), loaded("000001")}).empty());
    EXPECT_EQ(ledger.lostEntries(), 1u);
    EXPECT_EQ(ledger.lossCount(), 2u);
}

TEST(SoakLedgerTest, DataThatNeverArrivedOrWereReplacedAreNoLoss) {
    SoakLedger ledger;
    MarketEntry empty(WatchItem{"300750", "", InstrumentKind::stock});
    EXPECT_TRUE(ledger.observe({empty}).empty());
    EXPECT_TRUE(ledger.observe({empty}).empty());

    MarketEntry later = loaded("300750");
    later.flow.clear(); // flow still missing: not a loss, it never came
    EXPECT_TRUE(ledger.observe({later}).empty());
    MarketEntry newer = later;
    newer.minutes = std::vector<MinuteBar>(3);
    EXPECT_TRUE(ledger.observe({newer}).empty());
    EXPECT_EQ(ledger.lostEntries(), 0u);
    EXPECT_EQ(ledger.loadedCount("minutes"), 1u);
    EXPECT_EQ(ledger.loadedCount("flow"), 0u);
}

TEST(SoakLedgerTest, ACoolDownCountsOnceWhileItLastsAndAgainWhenItStartsAnew) {
    SoakLedger ledger;
    ledger.observeCooling({"eastmoney.main"});
    ledger.observeCooling({"eastmoney.main", "qq.fqkline"});
    ledger.observeCooling({"eastmoney.main"});
    EXPECT_EQ(ledger.cooldownsEntered(), 2u);
    ledger.observeCooling({});
    ledger.observeCooling({"qq.fqkline"});
    EXPECT_EQ(ledger.cooldownsEntered(), 3u);
    EXPECT_EQ(ledger.cooldownsByKey().at("qq.fqkline"), 2u);
    EXPECT_EQ(ledger.cooldownsByKey().at("eastmoney.main"), 1u);
}

TEST(SoakLedgerTest, ResidentMemoryOfThisProcessIsReadable) {
    EXPECT_GT(residentKilobytes(), 0);
}

} // namespace
} // namespace glimmer::soak
