// One refresh pass of the market store against the simulated market on loopback. The pass runs on
// the benchmark thread, so the CPU column is our own work per pass (HTTP client, parsing, alerts);
// the simulated market's threads are not counted there. The Time column is the wall time.
#include "doubles/ManualQueue.h"
#include "market/Endpoints.h"
#include "market/MarketStore.h"
#include "model/AppLog.h"

#include "simmarket/SimMarket.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

using namespace glimmer;

struct SimSetup {
    ManualClock clock;
    std::unique_ptr<sim::SimMarket> market;
    MarketAPI http;
    SourceHealth health;
    PostedTasks main;
    AppConfig config;

    explicit SimSetup(int count) {
        AppLog::setEchoToStdout(false);
        clock.setChinaTime(2024, 11, 8, 10, 30);
        sim::SimMarket::Options options;
        options.clock = &clock;
        market = std::make_unique<sim::SimMarket>(options);
        market->start();
        for (int i = 0; i < count; ++i) {
            char code[16];
            std::snprintf(code, sizeof code, "%06d", i % 2 ? 600000 + i : 1 + i); // Shanghai and Shenzhen
            config.watchlist.push_back({code, "", InstrumentKind::stock});
        }
    }
    ~SimSetup() { market->stop(); }

    bool cardOnly = true;

    std::unique_ptr<MarketStore> makeStore() {
        auto queue = std::make_shared<ManualQueue>(clock);
        auto store =
            std::make_unique<MarketStore>(config, main.poster(), FetchContext{http, health, clock, market->endpoints()},
                                          MarketStoreOptions{queue, {}});
        store->syncEntries();
        // As in the program with the card alone on screen: only its security keeps the chart's candles.
        if (cardOnly) store->setShownCodes({config.watchlist.front().code});
        return store;
    }
};

void fullPass(benchmark::State& state, int count, bool cardOnly = true) {
    SimSetup setup(count);
    setup.cardOnly = cardOnly;
    for (auto _ : state) {
        state.PauseTiming();
        auto store = setup.makeStore();
        state.ResumeTiming();
        const auto counts = store->performRefresh();
        benchmark::DoNotOptimize(counts);
        state.PauseTiming();
        if (counts.batch != count || counts.minutes != count) state.SkipWithError("the simulated market did not answer");
        store.reset();
        setup.main.drain();
        state.ResumeTiming();
    }
    state.counters["requests"] = 3 * count + (count + 59) / 60;
}

void snapshotOnlyPass(benchmark::State& state, int count) {
    SimSetup setup(count);
    auto store = setup.makeStore();
    store->performRefresh(); // everything loaded; the clock stands still, so the TTLs hold
    for (auto _ : state) {
        const auto counts = store->performRefresh();
        benchmark::DoNotOptimize(counts);
        if (counts.minutes + counts.flow + counts.daily != 0) state.SkipWithError("series were fetched again");
        state.PauseTiming();
        setup.main.drain();
        state.ResumeTiming();
    }
}

void BM_FullPassOfSixtySecurities(benchmark::State& state) {
    fullPass(state, 60);
}
BENCHMARK(BM_FullPassOfSixtySecurities)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_FullPassOf200Securities(benchmark::State& state) {
    fullPass(state, 200);
}
BENCHMARK(BM_FullPassOf200Securities)->Unit(benchmark::kMillisecond)->Iterations(10);

// The overview open: every security keeps the chart's candles.
void BM_FullPassOf200SecuritiesAllOnScreen(benchmark::State& state) {
    fullPass(state, 200, false);
}
BENCHMARK(BM_FullPassOf200SecuritiesAllOnScreen)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_SnapshotOnlyPassOfSixtySecurities(benchmark::State& state) {
    snapshotOnlyPass(state, 60);
}
BENCHMARK(BM_SnapshotOnlyPassOfSixtySecurities)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_SnapshotOnlyPassOf200Securities(benchmark::State& state) {
    snapshotOnlyPass(state, 200);
}
BENCHMARK(BM_SnapshotOnlyPassOf200Securities)->Unit(benchmark::kMillisecond)->Iterations(100);

} // namespace
