#include "market/DailyKline.h"
#include "market/EastmoneyFlow.h"
#include "market/EastmoneyTrends.h"
#include "market/QQFundFlow.h"
#include "market/QQIntraday.h"
#include "market/ReplyJson.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace glimmer {
namespace {

// The provider-shaped replies the tests use: a full trading day each.
std::string reply(const std::string& name) {
    const auto file = std::filesystem::path(__FILE__).parent_path().parent_path() / "tests" / "data" / "market" / name;
    std::ifstream in(file, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

void BM_ParseTrends241(benchmark::State& state) {
    const std::string text = reply("em_trends_600519.json");
    const Instant now = Clock::system().now();
    const auto check = EastmoneyTrends::parse(text, "600519", "贵州茅台", now);
    if (!check.snapshot || check.snapshot->minutes.size() != 241) state.SkipWithError("not 241 minutes");
    for (auto _ : state) {
        auto parsed = EastmoneyTrends::parse(text, "600519", "贵州茅台", now);
        benchmark::DoNotOptimize(parsed);
    }
}
BENCHMARK(BM_ParseTrends241)->Unit(benchmark::kMicrosecond);

void BM_ParseQQMinute241(benchmark::State& state) {
    const std::string text = reply("qq_minute_600519.json");
    const Instant now = Clock::system().now();
    const auto parse = [&] {
        ReplyJson json;
        json.parse(text);
        return QQIntraday::parse(json, "sh600519", "600519", "贵州茅台", now);
    };
    const auto check = parse();
    if (!check || check->minutes.size() != 241) state.SkipWithError("not 241 minutes");
    for (auto _ : state) {
        auto parsed = parse();
        benchmark::DoNotOptimize(parsed);
    }
}
BENCHMARK(BM_ParseQQMinute241)->Unit(benchmark::kMicrosecond);

void BM_ParseEastmoneyFlow240(benchmark::State& state) {
    const std::string text = reply("em_fflow_000001.json");
    if (EastmoneyFlow::parse(text).points.size() != 240) state.SkipWithError("not 240 points");
    for (auto _ : state) {
        auto parsed = EastmoneyFlow::parse(text);
        benchmark::DoNotOptimize(parsed);
    }
}
BENCHMARK(BM_ParseEastmoneyFlow240)->Unit(benchmark::kMicrosecond);

void BM_ParseQQFundFlow240(benchmark::State& state) {
    const std::string text = reply("qq_fundflow_000001.json");
    const auto parse = [&] {
        ReplyJson json;
        json.parse(text);
        return QQFundFlow::parseMinutes(json);
    };
    if (parse().size() != 240) state.SkipWithError("not 240 points");
    for (auto _ : state) {
        auto parsed = parse();
        benchmark::DoNotOptimize(parsed);
    }
}
BENCHMARK(BM_ParseQQFundFlow240)->Unit(benchmark::kMicrosecond);

void BM_ParseFqkline320(benchmark::State& state) {
    const std::string text = reply("qq_fqkline_600519.json");
    if (DailyKline::parseTencent(text, "sh600519").bars.size() != 320) state.SkipWithError("not 320 rows");
    for (auto _ : state) {
        auto parsed = DailyKline::parseTencent(text, "sh600519");
        benchmark::DoNotOptimize(parsed);
    }
}
BENCHMARK(BM_ParseFqkline320)->Unit(benchmark::kMicrosecond);

void BM_ParseSina320(benchmark::State& state) {
    const std::string text = reply("sina_kline_sz000001.json");
    if (DailyKline::parseSina(text).size() != 320) state.SkipWithError("not 320 rows");
    for (auto _ : state) {
        auto parsed = DailyKline::parseSina(text);
        benchmark::DoNotOptimize(parsed);
    }
}
BENCHMARK(BM_ParseSina320)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace glimmer
