#include "doubles/ManualQueue.h"
#include "market/Endpoints.h"
#include "market/MarketStore.h"
#include "model/AppPaths.h"
#include "support/TempDir.h"

#include "simmarket/SimMarket.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using sim::SimMarket;

const std::string closedLine = "INFO 今日休市（行情日期停在 2024-11-06），改为每 5 分钟刷新\n";

/// The store with the real fetchers against the simulated market on loopback, in simulated time.
class MarketStoreSimTest : public ::testing::Test {
protected:
    void SetUp() override {
        clock.setChinaTime(2024, 11, 8, 10, 30); // a Friday
        SimMarket::Options options;
        options.clock = &clock;
        options.holidays = {sim::MarketModel::dayNumber(2024, 11, 7)}; // Thursday, for the calendar tests
        market = std::make_unique<SimMarket>(options);
        std::string error;
        ASSERT_TRUE(market->start(&error)) << error;
        context.endpoints = market->endpoints();
        logStart = logText().size();
    }
    void TearDown() override {
        store.reset();
        if (market) market->stop();
    }

    void makeStore(const std::vector<WatchItem>& watchlist) {
        store = std::make_unique<MarketStore>(AppConfig{.watchlist = watchlist}, main.poster(), context,
                                              MarketStoreOptions{manualQueue, {}});
        store->syncEntries();
    }

    RefreshCounts pass() {
        RefreshCounts counts;
        manualQueue->sync([&] { counts = store->performRefresh(); });
        return counts;
    }

    std::size_t requests(const std::string& family) const { return market->requestCount(family); }

    // The owner's start sequence, timers included.
    void startPolling() {
        store->setPollingEnabled(true);
        store->restartTimer();
        store->requestRefresh();
    }

    // An absent log file reads as empty.
    static std::string logText() { return testing::readFile(AppPaths::logFile()); }
    std::size_t logged(const std::string& line) const {
        const std::string log = logText().substr(logStart);
        std::size_t count = 0;
        for (auto at = log.find(line); at != std::string::npos; at = log.find(line, at + line.size())) ++count;
        return count;
    }

    ManualClock clock;
    std::shared_ptr<ManualQueue> manualQueue = std::make_shared<ManualQueue>(clock);
    SourceHealth health;
    MarketAPI http;
    FetchContext context{http, health, clock};
    PostedTasks main;
    std::unique_ptr<SimMarket> market;
    std::unique_ptr<MarketStore> store;
    std::size_t logStart = 0;
};

TEST_F(MarketStoreSimTest, FirstPassLoadsEverythingAndTheNextOnlyTheSnapshot) {
    makeStore({{"600519", ""}, {"300750", ""}, {"000001", ""}, {"510300", ""}, {"002594", ""}});
    EXPECT_EQ(pass(), (RefreshCounts{5, 5, 5, 5}));
    EXPECT_EQ(std::tuple(requests("snapshot"), requests("trends"), requests("fflow"), requests("fqkline")),
              std::tuple(1u, 5u, 5u, 5u));
    for (const auto& e : store->entries()) {
        const auto view = market->view(e.item.code);
        ASSERT_TRUE(view && e.quote) << e.item.code;
        EXPECT_NEAR(e.quote->price, view->price, 0.0051) << e.item.code;
        EXPECT_EQ(e.minutes.size(), view->minutes.size()) << e.item.code;
        EXPECT_FALSE(e.flow.empty() || e.daily.empty()) << e.item.code;
    }
    for (const auto& r : market->requests()) {
        if (r.family == "fqkline") EXPECT_NE(r.target.find(",320,"), std::string::npos) << r.target;
    }

    market->clearRequests();
    clock.advance(30);
    EXPECT_EQ(pass(), (RefreshCounts{5, 0, 0, 0}));
    ASSERT_EQ(market->requests().size(), 1u);
    EXPECT_EQ(market->requests().front().family, "snapshot");
}

TEST_F(MarketStoreSimTest, TheSnapshotsTellAHolidayFromATradingDay) {
    struct Case {
        const char* name;
        int day;    // of November 2024
        int minute; // after 09:00, when polling starts
        const char* suspended;
        std::size_t snapshots, trends, closedLines;
    };
    const Case cases[] = {
        // The start and 09:29:00.2 to 09:31:00.2 every 30 s, then the five-minute poll at 09:34, 09:39
        // and 09:44. While the quotes carry yesterday's date the series keep the off-hours TTL:
        // minutes at 09:29 and 09:39 only.
        {"holiday", 7, 29, nullptr, 9, 4, 1},
        {"trading day", 8, 29, nullptr, 33, 34, 0},
        {"one security suspended", 8, 29, "000001", 33, 32, 0},
        // Before 09:31 a holiday's auction is polled every 30 s from 09:15:00.2 (22 snapshots after
        // the start), while its series, loaded at the start, wait for today's first quote.
        {"holiday auction", 7, 10, nullptr, 23, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store.reset();
        market->reset();
        if (c.suspended) market->suspend(c.suspended);
        clock.setChinaTime(2024, 11, c.day, 9, c.minute);
        logStart = logText().size();
        makeStore({{"600519", ""}, {"000001", ""}});
        startPolling();
        manualQueue->advance(16 * 60);
        EXPECT_EQ(std::tuple(requests("snapshot"), requests("trends"), logged(closedLine)),
                  std::tuple(c.snapshots, c.trends, c.closedLines));
        EXPECT_EQ(store->phase() == MarketPhase::Holiday, c.closedLines == 1);
    }
}

} // namespace
} // namespace glimmer
