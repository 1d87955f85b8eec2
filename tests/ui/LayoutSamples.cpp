#include "LayoutSamples.h"

#include "CardSamples.h"

#include <array>
#include <string>

namespace glimmer::samples {

namespace {

struct Security {
    const char* code;
    const char* name;
    double price; // level of the last close
};

constexpr std::array<Security, 13> securities{{
    {"600519", "贵州茅台", 1650},  {"000858", "五粮液", 142.3},  {"601318", "中国平安", 41.86},
    {"600036", "招商银行", 33.12}, {"300750", "宁德时代", 188.6}, {"510300", "沪深300ETF", 3.842},
    {"000001", "平安银行", 10.57}, {"002594", "比亚迪", 232.1},   {"601012", "隆基绿能", 18.44},
    {"600900", "长江电力", 27.35}, {"688981", "中芯国际", 52.8},  {"000333", "美的集团", 61.2},
    {"601888", "中国中免", 71.05},
}};

void scalePrices(MarketEntry& entry, double factor) {
    Quote& q = *entry.quote;
    for (double* value : {&q.price, &q.prevClose, &q.open, &q.high, &q.low}) *value *= factor;
    for (MinuteBar& bar : entry.minutes) {
        bar.price *= factor;
        bar.avg *= factor;
    }
    for (DailyBar& bar : entry.daily) {
        for (double* value : {&bar.open, &bar.close, &bar.high, &bar.low}) *value *= factor;
    }
    for (FlowPoint& point : entry.flow) {
        point.main *= factor;
        point.retail *= factor;
    }
}

} // namespace

std::vector<MarketEntry> watchList(std::size_t count) {
    std::vector<MarketEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const Security& security = securities[i % securities.size()];
        MarketEntry entry = cardEntry(i % 3 != 1);
        scalePrices(entry, security.price / entry.quote->prevClose);
        std::string code = security.code;
        // Past the table the codes stay distinct.
        if (i >= securities.size()) code = std::to_string(600000 + i);
        entry.item = WatchItem{code, security.name, code.starts_with("51") ? InstrumentKind::etf : InstrumentKind::stock};
        entry.quote->code = code;
        entry.quote->name = security.name;
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace glimmer::samples
