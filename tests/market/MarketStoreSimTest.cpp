#include "market/Endpoints.h"
#include "market/ManualQueue.h"
#include "market/MarketStore.h"
#include "market/SerialQueue.h"
#include "model/AppLog.h"

#include "simmarket/SimMarket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace glimmer {
namespace {

using sim::SimFault;
using sim::SimMarket;

std::vector<WatchItem> watchOf(std::initializer_list<const char*> codes) {
    std::vector<WatchItem> items;
    for (const char* code : codes) items.push_back({code, "", InstrumentKind::stock});
    return items;
}

const std::vector<WatchItem> fiveCodes = watchOf({"600519", "300750", "000001", "510300", "002594"});

/// The store with the real fetchers against the simulated market on loopback, in simulated time.
class MarketStoreSimTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppLog::setEchoToStdout(false);
        clock.setChinaTime(2024, 11, 8, 10, 30); // a Friday
        SimMarket::Options options;
        options.clock = &clock;
        market = std::make_unique<SimMarket>(options);
        std::string error;
        ASSERT_TRUE(market->start(&error)) << error;
        Endpoints::setCurrent(market->endpoints());
    }
    void TearDown() override {
        store.reset();
        Endpoints::setCurrent(Endpoints{});
        if (market) market->stop();
        AppLog::setEchoToStdout(true);
    }

    void makeStore(const std::vector<WatchItem>& watchlist, std::shared_ptr<DispatchQueue> queue = nullptr) {
        AppConfig config;
        config.watchlist = watchlist;
        if (!queue) queue = manualQueue;
        store = std::make_unique<MarketStore>(config, main.poster(), MarketStoreOptions{&clock, &health, queue, {}});
        store->onChange = [this] { callbacks.push_back("change"); };
        store->onAlerts = [this](const std::vector<AlertEvent>&) { callbacks.push_back("alerts"); };
        store->onRefreshStarted = [this] { callbacks.push_back("started"); };
        store->onRefreshFinished = [this] { callbacks.push_back("finished"); };
        store->syncEntries();
    }

    RefreshCounts pass() {
        RefreshCounts counts;
        manualQueue->sync([&] { counts = store->performRefresh(); });
        return counts;
    }

    std::size_t requests(const std::string& family) const { return market->requestCount(family); }

    ManualClock clock;
    std::shared_ptr<ManualQueue> manualQueue = std::make_shared<ManualQueue>(clock);
    SourceHealth health;
    PostedTasks main;
    std::vector<std::string> callbacks;
    std::unique_ptr<SimMarket> market;
    std::unique_ptr<MarketStore> store;
};

TEST_F(MarketStoreSimTest, FirstPassLoadsEverythingAndTheNextOnlyTheSnapshot) {
    makeStore(fiveCodes);
    EXPECT_EQ(pass(), (RefreshCounts{5, 5, 5, 5}));
    EXPECT_EQ(requests("snapshot"), 1u);
    EXPECT_EQ(requests("trends"), 5u);
    EXPECT_EQ(requests("fflow"), 5u);
    EXPECT_EQ(requests("fqkline"), 5u);
    for (const auto& e : store->entries()) {
        const auto view = market->view(e.item.code);
        ASSERT_TRUE(view && e.quote) << e.item.code;
        EXPECT_NEAR(e.quote->price, view->price, 0.0051) << e.item.code;
        EXPECT_FALSE(e.quote->name.empty());
        EXPECT_EQ(e.minutes.size(), view->minutes.size()) << e.item.code;
        EXPECT_FALSE(e.flow.empty()) << e.item.code;
        EXPECT_FALSE(e.daily.empty()) << e.item.code;
        EXPECT_EQ(e.dailyLoadedOn, "2024-11-08");
        EXPECT_FALSE(e.error);
    }

    for (const auto& r : market->requests()) {
        if (r.family == "fqkline") {
            EXPECT_NE(r.target.find(",320,"), std::string::npos) << r.target;
        }
    }

    market->clearRequests();
    clock.advance(30);
    EXPECT_EQ(pass(), (RefreshCounts{5, 0, 0, 0}));
    EXPECT_EQ(market->requests().size(), 1u);
    EXPECT_EQ(market->requests().front().family, "snapshot");
}

TEST_F(MarketStoreSimTest, PriorityCodeIsRequestedFirst) {
    makeStore(fiveCodes);
    store->setPriorityCode("000001");
    pass();
    std::vector<std::string> order;
    for (const auto& r : market->requests()) {
        if (r.family != "trends") continue;
        order.push_back(r.target.substr(r.target.find("secid=") + 6, 8));
    }
    EXPECT_EQ(order, (std::vector<std::string>{"0.000001", "1.600519", "0.300750", "1.510300", "0.002594"}));
}

TEST_F(MarketStoreSimTest, CoolingSnapshotIsNotRequestedAndPricesComeFromTheMinutes) {
    makeStore(watchOf({"600519", "000001"}));
    market->setFault("snapshot", "", SimFault{SimFault::Kind::Status, 503});
    EXPECT_EQ(pass().batch, 0);
    clock.advance(60);
    EXPECT_EQ(pass().batch, 0);
    EXPECT_EQ(requests("snapshot"), 2u) << "two failures start the cool-down";
    for (const auto& e : store->entries()) {
        ASSERT_TRUE(e.quote) << e.item.code;
        EXPECT_NEAR(e.quote->price, market->view(e.item.code)->price, 0.0051) << "taken from the minute reply";
    }

    clock.advance(60);
    const auto counts = pass();
    EXPECT_EQ(requests("snapshot"), 2u) << "a cooling snapshot makes no request";
    EXPECT_EQ(counts.minutes, 2) << "minutes are due again and carry the prices";
}

TEST_F(MarketStoreSimTest, EntriesSurviveAFailingMarket) {
    makeStore(watchOf({"600519", "510300"}));
    pass();
    const auto loaded = store->entries();
    market->setFault("*", "", SimFault{SimFault::Kind::Status, 500});
    clock.advance(600);
    const auto counts = pass();
    EXPECT_EQ(counts.batch, 0);
    EXPECT_EQ(counts.minutes, 2);
    const auto kept = store->entries();
    ASSERT_EQ(kept.size(), 2u);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        EXPECT_EQ(kept[i].quote, loaded[i].quote);
        EXPECT_EQ(kept[i].minutes, loaded[i].minutes);
        EXPECT_EQ(kept[i].flow, loaded[i].flow);
        EXPECT_EQ(kept[i].daily, loaded[i].daily);
        EXPECT_FALSE(kept[i].error);
    }
}

TEST_F(MarketStoreSimTest, NextTradingDayReloadsDailyCandlesOnce) {
    makeStore(fiveCodes);
    pass();
    clock.setChinaTime(2024, 11, 11, 9, 20); // Monday
    market->clearRequests();
    EXPECT_EQ(pass().daily, 5);
    clock.advance(30);
    EXPECT_EQ(pass().daily, 0);
    EXPECT_EQ(requests("fqkline"), 5u);
    EXPECT_EQ(store->entry(0)->dailyLoadedOn, "2024-11-11");
}

TEST_F(MarketStoreSimTest, TenSecuritiesOverFiveTradingMinutesStayWithinTheTTLs) {
    makeStore(
        watchOf({"600519", "300750", "000001", "510300", "002594", "601318", "600036", "000858", "159915", "688981"}));
    store->setPollingEnabled(true);
    store->restartTimer();
    manualQueue->advance(300);
    // Polls at 0.2, 30.2, ... 270.2 s: ten snapshots; minutes every 60 s, flow every 120 s, daily once.
    EXPECT_EQ(requests("snapshot"), 10u);
    EXPECT_EQ(requests("trends"), 50u);
    EXPECT_EQ(requests("fflow"), 30u);
    EXPECT_EQ(requests("fqkline"), 10u);
    EXPECT_EQ(market->requests().size(), 100u) << "20 requests a minute";
}

TEST_F(MarketStoreSimTest, CallbacksArriveOnTheDrainingThreadInOrder) {
    makeStore(watchOf({"600519", "000001"}), std::make_shared<SerialQueue>("glimmerbox.marketstore"));
    main.drain();
    callbacks.clear();
    const auto mainThread = std::this_thread::get_id();
    std::vector<std::thread::id> threads;
    store->onChange = [&] {
        callbacks.push_back("change");
        threads.push_back(std::this_thread::get_id());
    };
    store->setPollingEnabled(true);
    store->requestRefresh();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while ((callbacks.empty() || callbacks.back() != "finished") && std::chrono::steady_clock::now() < deadline) {
        if (main.drain() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(callbacks, (std::vector<std::string>{"started", "change", "finished"}));
    ASSERT_EQ(threads.size(), 1u);
    EXPECT_EQ(threads[0], mainThread);
    EXPECT_EQ(store->entries().size(), 2u);
    EXPECT_TRUE(store->entry(1)->quote);
}

} // namespace
} // namespace glimmer
