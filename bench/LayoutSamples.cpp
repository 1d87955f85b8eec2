#include "LayoutSamples.h"

#include "../tests/ui/ChartSamples.h"

#include <array>
#include <cmath>
#include <string>

namespace glimmer::samples {

namespace {

struct Security {
    const char* code;
    const char* name;
    double prevClose;
};

constexpr std::array<Security, 13> securities{{
    {"600519", "贵州茅台", 1650.00},
    {"000858", "五粮液", 142.30},
    {"601318", "中国平安", 41.86},
    {"600036", "招商银行", 33.12},
    {"300750", "宁德时代", 188.60},
    {"510300", "沪深300ETF", 3.842},
    {"000001", "平安银行", 10.57},
    {"002594", "比亚迪", 232.10},
    {"601012", "隆基绿能", 18.44},
    {"600900", "长江电力", 27.35},
    {"688981", "中芯国际", 52.80},
    {"000333", "美的集团", 61.20},
    {"601888", "中国中免", 71.05},
}};

} // namespace

std::vector<MarketEntry> watchList(std::size_t count) {
    std::vector<MarketEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const Security& security = securities[i % securities.size()];
        // Past the table the codes stay distinct.
        const std::string code = i < securities.size() ? security.code : std::to_string(600000 + i);
        const bool isFund = code.starts_with("51");
        // The sample day of a rising or a falling stock, moved to this security's price level.
        Day day = stockDay(i % 2 == 0);
        const double scale = security.prevClose / day.quote.prevClose;
        const double step = isFund ? 1000 : 100;
        const auto level = [&](double price) { return std::round(price * scale * step) / step; };
        for (MinuteBar& bar : day.minutes) {
            bar.price = level(bar.price);
            bar.avg = level(bar.avg);
            bar.amount *= scale;
        }
        for (FlowPoint& point : day.flow) point = {point.time, point.main * scale, point.retail * scale};
        Quote& quote = day.quote;
        quote.code = code;
        quote.name = security.name;
        for (double* price : {&quote.price, &quote.open, &quote.high, &quote.low}) *price = level(*price);
        quote.price = day.minutes.back().price;
        quote.prevClose = security.prevClose;
        quote.amount *= scale;
        MarketEntry entry(WatchItem{code, security.name, isFund ? InstrumentKind::etf : InstrumentKind::stock});
        entry.quote = quote;
        entry.minutes = std::move(day.minutes);
        entry.flow = std::move(day.flow);
        entry.daily = dailyBars(120, security.prevClose * (0.9 + 0.02 * double(i % 10)));
        entry.dailyLoadedOn = "2026-12-04";
        entry.updatedAt = quote.updatedAt;
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace glimmer::samples
