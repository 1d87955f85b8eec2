// Requests a whole day of polling costs: the market store with its real timers and fetchers, ten
// securities at the default refresh, against the simulated market, in simulated time. The figure is
// the counter "requests" (midnight to midnight, the store started the evening before); the Time
// column only says how long the simulation took.
#include "doubles/ManualQueue.h"
#include "market/Endpoints.h"
#include "market/MarketStore.h"
#include "model/AppLog.h"

#include "simmarket/SimMarket.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace glimmer;

enum DayKind { NormalDay, Holiday, Weekend };

void BM_RequestsPerDay(benchmark::State& state) {
    const auto kind = static_cast<DayKind>(state.range(0));
    // Wednesday 2024-11-06 as a trading day or as a holiday; Saturday 2024-11-09.
    const int day = kind == Weekend ? 9 : 6;
    for (auto _ : state) {
        AppLog::setEchoToStdout(false);
        ManualClock clock;
        clock.setChinaTime(2024, 11, day - 1, 23, 0);
        sim::SimMarket::Options options;
        options.clock = &clock;
        if (kind == Holiday) options.holidays = {sim::MarketModel::dayNumber(2024, 11, 6)};
        sim::SimMarket market(options);
        if (!market.start()) {
            state.SkipWithError("the simulated market did not start");
            return;
        }

        AppConfig config;
        for (const char* code :
             {"600519", "300750", "000001", "510300", "002594", "601318", "600036", "000858", "159915", "688981"}) {
            config.watchlist.push_back({code, "", InstrumentKind::stock});
        }
        MarketAPI http;
        SourceHealth health;
        PostedTasks main;
        auto queue = std::make_shared<ManualQueue>(clock);
        {
            MarketStore store(config, main.poster(), FetchContext{http, health, clock, market.endpoints()},
                              MarketStoreOptions{queue, {}});
            store.setPollingEnabled(true);
            store.syncEntries();
            store.restartTimer();
            store.requestRefresh();
            queue->advance(3600);
            market.clearRequests();
            for (int hour = 0; hour < 24; ++hour) {
                queue->advance(3600);
                main.drain();
            }
            store.stop();
        }
        state.counters["requests"] = static_cast<double>(market.requestCount());
        for (const sim::SimRequest& request : market.requests()) state.counters[request.family] += 1;
        market.stop();
        AppLog::setEchoToStdout(true);
    }
}
BENCHMARK(BM_RequestsPerDay)
    ->ArgName("day")
    ->Arg(NormalDay)
    ->Arg(Holiday)
    ->Arg(Weekend)
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

} // namespace
