// Configuration encode/decode cost: every settings edit saves the whole file.
#include "model/ConfigJson.h"
#include "model/ConfigStore.h"

#include <benchmark/benchmark.h>

namespace {

glimmer::AppConfig sampleConfig() {
    glimmer::AppConfig config;
    for (int i = 0; i < 60; ++i) {
        config.watchlist.push_back({std::to_string(600000 + i), "示例股票", glimmer::InstrumentKind::stock});
    }
    for (int i = 0; i < 20; ++i) {
        glimmer::PriceAlert alert;
        alert.code = std::to_string(600000 + i);
        alert.price = 10 + i;
        config.alerts.priceAlerts.push_back(alert);
    }
    return config;
}

void BM_EncodeConfigText(benchmark::State& state) {
    const auto config = sampleConfig();
    for (auto _ : state) benchmark::DoNotOptimize(glimmer::ConfigStore::encodedText(config));
}
BENCHMARK(BM_EncodeConfigText);

void BM_MergeAndDecodeConfig(benchmark::State& state) {
    const auto stored = glimmer::ConfigJson::encode(sampleConfig());
    const auto defaults = glimmer::ConfigJson::encode(glimmer::AppConfig{});
    for (auto _ : state) {
        benchmark::DoNotOptimize(glimmer::ConfigJson::decode(glimmer::ConfigJson::merged(defaults, stored)));
    }
}
BENCHMARK(BM_MergeAndDecodeConfig);

} // namespace
