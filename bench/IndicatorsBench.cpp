// Indicator cost per chart repaint: MACD of a full trading day of minutes, moving averages of the
// daily candles.
#include "model/Indicators.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

std::vector<double> walk(int count, double start) {
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(count));
    double price = start;
    for (int i = 0; i < count; ++i) {
        price *= 1 + 0.004 * std::sin(i * 0.37) + 0.001 * std::cos(i * 1.3);
        values.push_back(price);
    }
    return values;
}

void BM_MacdOfOneTradingDay(benchmark::State& state) {
    const auto minutes = walk(241, 1688.0);
    for (auto _ : state) benchmark::DoNotOptimize(glimmer::Indicators::macd(minutes));
}
BENCHMARK(BM_MacdOfOneTradingDay);

void BM_SevenMovingAveragesOfDailyCloses(benchmark::State& state) {
    const auto closes = walk(320, 12.5);
    for (auto _ : state) {
        for (const int period : {5, 10, 20, 30, 60, 120, 250}) {
            benchmark::DoNotOptimize(glimmer::Indicators::ma(closes, period));
        }
    }
}
BENCHMARK(BM_SevenMovingAveragesOfDailyCloses);

} // namespace
