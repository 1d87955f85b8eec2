#include "market/MarketStore.h"
#include "doubles/ManualQueue.h"
#include "model/AppPaths.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <set>

namespace glimmer {
namespace {

const std::vector<WatchItem> fiveItems{{"600519", "贵州茅台"},
                                       {"300750", "宁德时代"},
                                       {"000001", "平安银行"},
                                       {"510300", "沪深300ETF", InstrumentKind::etf},
                                       {"002003", "伟星股份"}};

// Provider stand-in that records every call in order; each fetcher can be made to fail.
struct RecordingMarket {
    std::vector<std::string> calls;
    std::set<std::string> missingFromSnapshot;
    std::map<std::string, std::string> tradeDates; // by code; none by default
    bool snapshotDown = false, minutesDown = false, flowDown = false, dailyDown = false;
    double price = 10.50, minutesQuotePrice = 10.40;
    std::function<void(const std::string& code)> duringMinutes;

    MarketSource source() {
        return MarketSource{
            .fetchQuotesBatch =
                [this](const std::vector<WatchItem>& items) {
                    calls.push_back("batch");
                    std::map<std::string, Quote> quotes;
                    for (const auto& item : items) {
                        if (snapshotDown || missingFromSnapshot.count(item.code)) continue;
                        quotes[item.code] = Quote{.code = item.code,
                                                  .name = item.name,
                                                  .price = price,
                                                  .prevClose = 10,
                                                  .tradeDate = tradeDates[item.code]};
                    }
                    return quotes;
                },
            .fetchIntraday = [this](const std::string& secid, const std::string& code,
                                    const std::string& name) -> std::optional<IntradaySnapshot> {
                calls.push_back("minutes " + secid);
                if (duringMinutes) duringMinutes(code);
                if (minutesDown) return std::nullopt;
                return IntradaySnapshot{Quote{.code = code, .name = name, .price = minutesQuotePrice},
                                        {{"09:30", 10.0, 10.0, 120, 1.2e5}, {"09:31", 10.1, 10.05, 90, 9e4}}};
            },
            .fetchFlow =
                [this](const std::string& secid, const std::string& symbol) {
                    calls.push_back("flow " + secid + " " + symbol);
                    return flowDown ? std::vector<FlowPoint>{} : std::vector<FlowPoint>{{"09:31", 2.5e6, -1.1e6}};
                },
            .fetchDaily =
                [this](const std::string& symbol, int count) {
                    calls.push_back("daily " + symbol + " " + std::to_string(count));
                    if (dailyDown) return std::vector<DailyBar>{};
                    return std::vector<DailyBar>(static_cast<std::size_t>(count),
                                                 {"2024-03-11", 10.0, 10.2, 10.3, 9.9, 5e4});
                },
        };
    }

    std::vector<std::string> take(std::string_view prefix = "") {
        std::erase_if(calls, [&](const std::string& c) { return !c.starts_with(prefix); });
        return std::exchange(calls, {});
    }
    long batches() const { return std::count(calls.begin(), calls.end(), "batch"); }
    long minuteCalls() const {
        return std::count_if(calls.begin(), calls.end(), [](const auto& c) { return c.starts_with("minutes"); });
    }
};

struct StoreHarness {
    ManualClock clock;
    std::shared_ptr<ManualQueue> queue = std::make_shared<ManualQueue>(clock);
    PostedTasks main;
    RecordingMarket market;
    SourceHealth health;
    MarketAPI http;
    FetchContext context{http, health, clock};
    std::vector<std::string> callbacks;
    std::vector<AlertEvent> alerts;
    std::unique_ptr<MarketStore> store;

    explicit StoreHarness(std::vector<WatchItem> watchlist = fiveItems, SourceSwitches switches = {}) {
        clock.setChinaTime(2024, 3, 12, 10, 0); // a Tuesday, trading time
        AppConfig config;
        config.watchlist = std::move(watchlist);
        context.switches = switches;
        store =
            std::make_unique<MarketStore>(config, main.poster(), context, MarketStoreOptions{queue, market.source()});
        store->onChange = [this] { callbacks.push_back("change"); };
        store->onAlerts = [this](const std::vector<AlertEvent>& events) {
            callbacks.push_back("alerts " + std::to_string(events.size()));
            alerts.insert(alerts.end(), events.begin(), events.end());
        };
        store->onRefreshStarted = [this] { callbacks.push_back("started"); };
        store->onRefreshFinished = [this] { callbacks.push_back("finished"); };
        store->syncEntries();
    }

    // The owner's start sequence; `timersOnly` leaves out the first request.
    void start(bool timersOnly = false) {
        store->setPollingEnabled(true);
        store->syncEntries();
        store->restartTimer();
        if (!timersOnly) store->requestRefresh();
    }

    void alertAbove(const std::string& code, double price) {
        auto config = store->config();
        config.alerts.priceAlerts = {PriceAlert{.code = code, .direction = PriceAlertDirection::above, .price = price}};
        store->setConfig(config);
    }

    RefreshCounts pass() {
        RefreshCounts counts;
        queue->sync([&] { counts = store->performRefresh(); });
        return counts;
    }

    std::vector<std::string> drained() {
        main.drain();
        return std::exchange(callbacks, {});
    }
};

TEST(MarketStoreGates, SeriesAreDueOnceTheirAgeReachesTheTTLWhichFollowsTheRefreshSetting) {
    struct Case {
        const char* why;
        int hour;
        bool seriesEmpty;
        std::vector<std::pair<double, RefreshCounts>> passes; // seconds waited before each pass, its counts
    };
    const Case cases[] = {
        {"trading: minutes at 60 s, flow at 120 s at r = 30",
         10,
         false,
         {{0, {1, 1, 1, 1}}, {59, {1, 0, 0, 0}}, {1, {1, 1, 0, 0}}, {59, {1, 0, 0, 0}}, {1, {1, 1, 1, 0}}}},
        {"off hours: ten minutes", 20, false, {{0, {1, 1, 1, 1}}, {300, {1, 0, 0, 0}}, {300, {1, 1, 1, 0}}}},
        {"empty flow and daily replies are asked again", 10, true, {{0, {1, 1, 1, 1}}, {30, {1, 0, 1, 1}}}},
    };
    for (const Case& c : cases) {
        StoreHarness h({fiveItems[0]});
        h.clock.setChinaTime(2024, 3, 12, c.hour, 0);
        h.market.dailyDown = h.market.flowDown = c.seriesEmpty;
        for (const auto& [wait, counts] : c.passes) {
            h.clock.advance(wait);
            EXPECT_EQ(h.pass(), counts) << c.why << ", after " << wait << " s";
        }
    }
    EXPECT_EQ(MarketStore::minutesTTL(45, true), 90);
    EXPECT_EQ(MarketStore::flowTTL(45, true), 180);
    EXPECT_EQ(MarketStore::pollInterval(std::numeric_limits<double>::quiet_NaN()), 30) << "a broken setting";
    EXPECT_EQ(MarketStore::pollInterval(-10), 5);
}

TEST(MarketStoreGates, DayChangeReloadsDailyCandlesOnce) {
    StoreHarness h({fiveItems[0], fiveItems[1]});
    h.clock.setChinaTime(2024, 3, 12, 23, 58);
    // 23:58, 23:59, 00:01 on the exchange's next day, 00:11.
    for (const auto [wait, daily] : {std::pair{0, 2}, {60, 0}, {120, 2}, {600, 0}}) {
        h.clock.advance(wait);
        EXPECT_EQ(h.pass().daily, daily) << wait;
        if (wait == 0) EXPECT_EQ(h.store->entry(0)->dailyLoadedOn, "2024-03-12");
    }
    EXPECT_EQ(h.store->entry(1)->dailyLoadedOn, "2024-03-13");
}

TEST(MarketStoreGates, OnlySecuritiesOnScreenKeepTheChartsDailyCandles) {
    StoreHarness h({fiveItems[0], fiveItems[1], fiveItems[2]});
    const auto depths = [&h] {
        std::vector<std::size_t> sizes;
        for (const MarketEntry& e : h.store->entries()) sizes.push_back(e.daily.size());
        return sizes;
    };
    h.store->setPollingEnabled(true);
    h.store->setShownCodes({"300750"});
    h.pass(); // the security on screen gets its candles before the pass
    EXPECT_EQ(h.market.take("daily"),
              (std::vector<std::string>{"daily sz300750 320", "daily sh600519 60", "daily sz000001 60"}));

    // Coming on screen loads the chart's candles at once; leaving it lets them go at the next pass.
    h.store->setShownCodes({"000001"});
    h.queue->runPending();
    EXPECT_EQ(h.market.take("daily"), (std::vector<std::string>{"daily sz000001 320"}));
    EXPECT_EQ(h.drained(), (std::vector<std::string>{"change", "change", "change", "change"}));
    EXPECT_EQ(depths(), (std::vector<std::size_t>{60, 320, 320}));
    h.pass();
    EXPECT_EQ(h.market.take("daily"), std::vector<std::string>{});
    EXPECT_EQ(depths(), (std::vector<std::size_t>{60, 60, 320}));

    // Without the pull-back rule nothing off screen is fetched or kept, not even on the next day.
    auto config = h.store->config();
    config.alerts.maTouchPeriods = {3};
    EXPECT_EQ(MarketStore::offScreenDailyCount(config.alerts), 5) << "the rule reads at least five candles";
    config.alerts.maTouchEnabled = false;
    h.store->setConfig(config);
    h.clock.setChinaTime(2024, 3, 13, 10, 0);
    h.pass();
    h.pass();
    EXPECT_EQ(h.market.take("daily"), (std::vector<std::string>{"daily sz000001 320"}));
    EXPECT_EQ(depths(), (std::vector<std::size_t>{0, 0, 320}));
}

TEST(MarketStorePass, FailingSourcesAndAPlaceholderMinuteQuoteKeepWhatWasLoaded) {
    StoreHarness h({fiveItems[0]});
    h.pass();
    const MarketEntry loaded = *h.store->entry(0);
    h.market.snapshotDown = true;
    h.market.minutesQuotePrice = 0;
    h.clock.advance(600);
    h.pass();
    EXPECT_DOUBLE_EQ(h.store->entry(0)->quote->price, 10.50) << "a price-less placeholder";
    h.market.minutesDown = h.market.flowDown = h.market.dailyDown = true;
    h.clock.setChinaTime(2024, 3, 13, 10, 0);
    EXPECT_EQ(h.pass(), (RefreshCounts{0, 1, 1, 1}));
    const MarketEntry kept = *h.store->entry(0);
    EXPECT_EQ(std::tie(kept.quote, kept.minutes, kept.flow, kept.daily),
              std::tie(loaded.quote, loaded.minutes, loaded.flow, loaded.daily));
    EXPECT_FALSE(kept.error);
}

TEST(MarketStorePass, FailedMinutesMarkOnlyASecurityWithoutQuoteAndFillASnapshotGapOnceDue) {
    StoreHarness h({fiveItems[0], fiveItems[1]});
    h.market.missingFromSnapshot = {"300750"};
    h.market.minutesDown = true;
    h.pass();
    EXPECT_FALSE(h.store->entry(0)->error);
    EXPECT_EQ(h.store->entry(1)->error, std::optional<std::string>("分时数据获取失败"));
    EXPECT_FALSE(h.store->entry(1)->quote);
    h.market.missingFromSnapshot.clear();
    h.clock.advance(30);
    h.pass();
    EXPECT_FALSE(h.store->entry(1)->error) << "a snapshot quote clears the error";

    h.market.missingFromSnapshot = {"300750"};
    h.market.minutesDown = false;
    h.clock.advance(30);
    EXPECT_EQ(h.pass().batch, 1);
    EXPECT_DOUBLE_EQ(h.store->entry(0)->quote->price, 10.50);
    EXPECT_DOUBLE_EQ(h.store->entry(1)->quote->price, 10.40) << "taken from the minute reply";
    const Instant loaded = h.clock.now();
    EXPECT_EQ(h.store->entry(1)->updatedAt, loaded);
    h.clock.advance(30);
    h.market.minutesQuotePrice = 10.45;
    h.pass();
    EXPECT_DOUBLE_EQ(h.store->entry(1)->quote->price, 10.40) << "minutes not due: the quote stays as it was";
    EXPECT_EQ(h.store->entry(1)->updatedAt, loaded);
    EXPECT_EQ(h.store->entry(0)->updatedAt, h.clock.now());
}

TEST(MarketStorePass, EmptyWatchListMakesNoRequestAndPostsOnlyStartAndFinish) {
    StoreHarness h(std::vector<WatchItem>{});
    h.store->setPriorityCode("600519");
    h.start();
    EXPECT_FALSE(h.store->priorityCode()) << "syncEntries clears the priority of an empty list";
    h.queue->runPending();
    EXPECT_EQ(h.drained(), (std::vector<std::string>{"change", "change", "started", "finished"}));
    EXPECT_TRUE(h.market.calls.empty());
    EXPECT_EQ(h.pass(), RefreshCounts{});
}

TEST(MarketStorePass, TraceLineCountsRequestsWhenAskedFor) {
    StoreHarness h({fiveItems[0]}, SourceSwitches{.traceRefresh = true});
    StoreHarness quiet({fiveItems[0]});
    for (const char* key : {"qt.snapshot", "em.trends.push2.eastmoney.com"}) {
        for (int i = 0; i < 2; ++i) h.health.recordFailure(key, h.clock.now());
    }
    for (StoreHarness* harness : {&h, &quiet}) {
        harness->pass();
    }
    const std::string text = testing::readFile(AppPaths::logFile());
    EXPECT_NE(text.find("INFO 刷新 快照=1 分时=1 资金流=1 日K=1 冷却中=[em.trends.push2.eastmoney.com,qt.snapshot]\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("日K=1\n"), std::string::npos) << "no trace without the switch";
}

TEST(MarketStoreEntries, SyncKeepsAListedPriorityAndTheDataAndRenamesAndDropsLeavers) {
    StoreHarness h({fiveItems[0], fiveItems[1], fiveItems[2]});
    for (const auto& [asked, kept] : {std::pair{"000001", "000001"}, {"688981", "600519"}}) {
        h.store->setPriorityCode(asked);
        h.store->syncEntries();
        EXPECT_EQ(h.store->priorityCode(), std::optional<std::string>(kept));
    }
    EXPECT_EQ(h.drained(), (std::vector<std::string>{"change", "change", "change"}));
    h.pass();
    auto config = h.store->config();
    config.watchlist = {{"000001", "平安银行(改)"}, fiveItems[0]};
    h.store->setConfig(config);
    h.store->syncEntries();
    const auto entries = h.store->entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].item.name, "平安银行(改)");
    EXPECT_FALSE(entries[0].minutes.empty()) << "a renamed item keeps its data";
    EXPECT_EQ(entries[1].item.code, "600519");
    EXPECT_FALSE(h.store->entry(2) || h.store->entry(-1));

    config.watchlist.push_back(fiveItems[1]);
    h.store->setConfig(config);
    h.store->syncEntries();
    EXPECT_EQ(h.store->entry(2), MarketEntry(fiveItems[1])) << "a security added back starts empty";
}

TEST(MarketStoreEntries, WatchListChangeDuringAPassIsMergedByCode) {
    StoreHarness h({fiveItems[0], fiveItems[1], fiveItems[2]});
    h.market.duringMinutes = [&](const std::string& code) {
        if (code != "300750") return;
        auto config = h.store->config();
        config.watchlist = {fiveItems[4], {"000001", "平安银行新名"}, fiveItems[0]};
        h.store->setConfig(config);
        h.store->syncEntries();
    };
    h.pass();
    const auto entries = h.store->entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], MarketEntry(fiveItems[4])) << "the newcomer stays, still empty";
    EXPECT_EQ(entries[1].item.name, "平安银行新名") << "the newer item wins";
    EXPECT_FALSE(entries[1].minutes.empty()) << "and gets the pass's data";
    EXPECT_DOUBLE_EQ(entries[2].quote->price, 10.50);
}

TEST(MarketStoreCallbacks, PassReportsStartChangeAlertsFinishInOrderAndRequestsWhilePollingIsOffOrStoppedAreIgnored) {
    StoreHarness h({fiveItems[0], fiveItems[1]});
    h.alertAbove("300750", 10.00);
    h.store->requestRefresh();
    h.queue->runPending();
    EXPECT_TRUE(h.market.calls.empty());
    h.drained();
    h.start();
    EXPECT_TRUE(h.callbacks.empty()) << "nothing runs before the main thread drains";
    h.queue->runPending();
    EXPECT_EQ(h.drained(), (std::vector<std::string>{"change", "started", "change", "alerts 1", "finished"}));
    ASSERT_EQ(h.alerts.size(), 1u);
    EXPECT_EQ(h.alerts[0].message, "涨到 10.00，现价 10.50");
    EXPECT_EQ(h.store->latestAlertEvents().size(), 1u);

    h.clock.advance(30);
    h.store->requestRefresh();
    h.queue->runPending();
    EXPECT_EQ(h.drained(), (std::vector<std::string>{"started", "change", "finished"})) << "latched: no alert";
    EXPECT_EQ(h.queue->timerCount(), 2u);
    h.market.take();
    h.store->stop();
    EXPECT_EQ(h.queue->timerCount(), 0u);
    h.store->refreshNow("000001");
    h.queue->advance(3600);
    EXPECT_TRUE(h.market.calls.empty());
}

TEST(MarketStoreCallbacks, QueuedRequestsRunOnePassEachRepeatingOnlyTheSnapshot) {
    StoreHarness h;
    h.store->setPollingEnabled(true);
    h.store->requestRefresh();
    h.store->refreshNow("510300");
    h.queue->runPending();
    EXPECT_EQ(h.market.batches(), 2);
    EXPECT_EQ(h.market.calls.size(), 2u + 15u);
    EXPECT_EQ(h.store->priorityCode(), std::optional<std::string>("510300"));
}

TEST(MarketStoreCallbacks, AnAbandonedPassStopsItsRequestsAndKeepsNothingAndAStoreThatIsGoneRunsNothing) {
    StoreHarness h({fiveItems[0], fiveItems[1], fiveItems[2]});
    h.alertAbove("600519", 10.00);
    // The program quits while the second security's minutes are on the way.
    h.market.duringMinutes = [&](const std::string& code) {
        if (code == "300750") h.store->abandon();
    };
    h.start();
    h.queue->runPending();
    EXPECT_EQ(h.market.take(), (std::vector<std::string>{"batch", "minutes 1.600519", "flow 1.600519 sh600519",
                                                         "daily sh600519 320", "minutes 0.300750"}));
    for (const MarketEntry& entry : h.store->entries()) EXPECT_FALSE(entry.quote) << entry.item.code;
    EXPECT_EQ(h.drained(), (std::vector<std::string>{"change", "change", "started", "finished"}))
        << "no pass change, no alert";
    EXPECT_EQ(h.queue->timerCount(), 0u);

    const Instant now = h.clock.now();
    EXPECT_FALSE(h.health.recordFailure("qq.quote", now) || h.health.recordFailure("qq.quote", now));
    EXPECT_TRUE(h.health.coolingKeys(now).empty()) << "a transfer cut short is not a provider failure";

    StoreHarness gone;
    gone.start();
    gone.store.reset();
    gone.queue->advance(600);
    EXPECT_EQ(gone.main.drain(), 2) << "for a store that is gone the posted steps are dropped quietly";
    EXPECT_TRUE(gone.callbacks.empty() && gone.market.calls.empty());
}

TEST(MarketStoreTimers, PollsFollowTheExchangeDayAndTheRefreshSetting) {
    struct Case {
        const char* why;
        int day, hour, minute;
        double refreshSeconds;
        std::vector<std::pair<double, long>> steps; // seconds waited, snapshots asked meanwhile
    };
    const Case cases[] = {
        // 15:04:00.2 to 15:05:30.2 poll every 30 s; 15:06:00.2 on do not; the slow timer fires at 15:09.
        {"the closing bell stops the fast poll", 12, 15, 4, 30, {{290, 4}, {20, 1}}},
        {"09:14:00.2 and :30.2 do not poll, 09:15:00.2 does", 12, 9, 14, 30, {{61, 1}}},
        {"a Saturday polls every five minutes", 16, 10, 0, 30, {{900, 3}}},
        {"a restart takes the new interval: 0.2, 5.2, 10.2, 15.2", 12, 10, 0, 2, {{20, 4}}},
    };
    for (const Case& c : cases) {
        StoreHarness h({fiveItems[0]});
        h.clock.setChinaTime(2024, 3, c.day, c.hour, c.minute, 0);
        h.start(true);
        h.store->setRefreshSeconds(c.refreshSeconds);
        h.store->restartTimer();
        EXPECT_EQ(h.queue->timerCount(), 2u);
        for (const auto& [waited, batches] : c.steps) {
            h.queue->advance(waited);
            EXPECT_EQ(h.market.batches(), batches) << c.why;
            if (&batches != &c.steps.front().second) EXPECT_EQ(h.market.calls.size(), std::size_t(batches)) << c.why;
            h.market.take();
        }
    }
}

TEST(MarketStoreTimers, TheSnapshotsTellAHolidayFromATradingDay) {
    struct Case {
        const char* why;
        int day, minute; // November 2024, after 09:00
        std::map<std::string, std::string> dates;
        long snapshots, minutes;
        bool holiday;
    };
    const std::string old = "2024-11-06", today = "2024-11-08"; // Thursday 7th a holiday
    const Case cases[] = {
        // Polls at the start, every 30 s from 09:29:00.2 to 09:31:00.2, then 09:34, 09:39, 09:44; minutes at 09:29,
        // 09:39.
        {"holiday", 7, 29, {{"600519", old}, {"000001", old}}, 9, 4, true},
        {"trading day, one security suspended", 8, 29, {{"600519", today}, {"000001", old}}, 33, 32, false},
        // The auction is polled every 30 s from 09:15:00.2; the series wait for today's first quote.
        {"holiday auction", 7, 10, {{"600519", old}, {"000001", old}}, 23, 2, false},
    };
    for (const Case& c : cases) {
        StoreHarness h({fiveItems[0], fiveItems[2]});
        h.market.tradeDates = c.dates;
        h.clock.setChinaTime(2024, 11, c.day, 9, c.minute);
        const std::size_t logStart = testing::readFile(AppPaths::logFile()).size();
        h.start();
        h.queue->advance(16 * 60);
        const std::string log = testing::readFile(AppPaths::logFile()).substr(logStart);
        EXPECT_EQ(std::tuple(h.market.batches(), h.market.minuteCalls(), h.store->phase() == MarketPhase::Holiday),
                  std::tuple(c.snapshots, c.minutes, c.holiday))
            << c.why;
        EXPECT_EQ(log.find("INFO 今日休市（行情日期停在 2024-11-06），改为每 5 分钟刷新\n") != std::string::npos,
                  c.holiday)
            << c.why << log;
    }
}

} // namespace
} // namespace glimmer
