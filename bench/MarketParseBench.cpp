#include "market/QuoteBatch.h"
#include "market/SymbolSearch.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace glimmer {
namespace {

/// One snapshot record as the Tencent service sends it: 88 "~"-terminated fields.
std::string snapshotRecord(int index) {
    const bool isShanghai = index % 2 == 0;
    char code[8];
    std::snprintf(code, sizeof code, "%06d", isShanghai ? 600000 + index : 1 + index);
    const double price = 10 + index * 1.37;
    char buffer[1024];
    std::snprintf(buffer, sizeof buffer,
                  "v_%s%s=\"%d~股票%02d号~%s~%.2f~%.2f~%.2f~%d~%d~%d~%.2f~120~%.2f~137~%.2f~154~%.2f~171~%.2f~188~"
                  "%.2f~95~%.2f~108~%.2f~121~%.2f~134~%.2f~147~~20241108150003~0.12~1.05~%.2f~%.2f~%.2f/%d/%d~%d~%d~"
                  "0.19~22.96~~%.2f~%.2f~1.42~1932.54~1932.54~7.89~%.2f~%.2f~1.05~-6~%.2f~23.93~24.10~~~0.88~%d.0~"
                  "0.0000~0~ ~GP-A~-2.17~1.65~3.21~~1.91~~~~~~%.2f~%.2f~-1.20~-3.40~8.12~~-14.25~~2024-11-08 "
                  "15:00:03~CNY~~~~~~~\";\n",
                  isShanghai ? "sh" : "sz", code, isShanghai ? 1 : 51, index, code, price, price - 0.12, price - 0.05,
                  150000 + index * 311, 75000, 75000, price, price - 0.01, price - 0.02, price - 0.03, price - 0.04,
                  price + 0.01, price + 0.02, price + 0.03, price + 0.04, price + 0.05, price + 0.3, price - 0.3, price,
                  150000 + index * 311, 150000000 + index * 7919, 150000 + index * 311, 15000 + index, price + 0.3,
                  price - 0.3, price * 1.1, price * 0.9, price, 15000 + index, price * 1.2, price * 0.8);
    return buffer;
}

void BM_ParseSnapshot60(benchmark::State& state) {
    std::string reply;
    for (int i = 0; i < 60; ++i) reply += snapshotRecord(i);
    const Instant now = Clock::system().now();
    if (QuoteBatch::parse(reply, now).size() != 60) state.SkipWithError("the reply does not hold 60 quotes");
    for (auto _ : state) {
        auto quotes = QuoteBatch::parse(reply, now);
        benchmark::DoNotOptimize(quotes);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * reply.size()));
}
BENCHMARK(BM_ParseSnapshot60)->Unit(benchmark::kMicrosecond);

void BM_ParseSuggestion8(benchmark::State& state) {
    const std::string reply =
        "v_hint=\"sh~600519~\\u8d35\\u5dde\\u8305\\u53f0~gzmt~GP-A^sh~510300~\\u6caa\\u6df1300ETF~hs300etf~ETF^"
        "sz~000001~\\u5e73\\u5b89\\u94f6\\u884c~payh~GP-A^sz~300750~\\u5b81\\u5fb7\\u65f6\\u4ee3~ndsd~GP-A-CYB^"
        "sh~601318~\\u4e2d\\u56fd\\u5e73\\u5b89~zgpa~GP-A^sz~159915~\\u521b\\u4e1a\\u677fETF~cybetf~ETF^"
        "sh~688981~\\u4e2d\\u82af\\u56fd\\u9645~zxgj~GP-A-KCB^sz~000858~\\u4e94\\u7cae\\u6db2~wly~GP-A\";\n";
    if (SymbolSearch::parse(reply).size() != 8) state.SkipWithError("the reply does not hold 8 hits");
    for (auto _ : state) {
        auto hits = SymbolSearch::parse(reply);
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(BM_ParseSuggestion8)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace glimmer
