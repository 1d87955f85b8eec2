#include "LayoutSamples.h"

#include "ChartSamples.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>

namespace glimmer::samples {

namespace {

struct Security {
    const char* code;
    const char* name;
    double prevClose;
    double dayChange; // fraction of the previous close at the close
    double lotsPerMinute;
};

constexpr std::array<Security, 13> securities{{
    {"600519", "贵州茅台", 1650.00, 0.0049, 260},
    {"000858", "五粮液", 142.30, -0.0183, 1900},
    {"601318", "中国平安", 41.86, 0.0127, 5200},
    {"600036", "招商银行", 33.12, 0.0036, 6100},
    {"300750", "宁德时代", 188.60, -0.0310, 2300},
    {"510300", "沪深300ETF", 3.842, 0.0068, 42000},
    {"000001", "平安银行", 10.57, -0.0047, 9800},
    {"002594", "比亚迪", 232.10, 0.0262, 1500},
    {"601012", "隆基绿能", 18.44, -0.0214, 8800},
    {"600900", "长江电力", 27.35, 0.0011, 4300},
    {"688981", "中芯国际", 52.80, 0.0395, 3900},
    {"000333", "美的集团", 61.20, -0.0092, 2100},
    {"601888", "中国中免", 71.05, 0.0153, 1800},
}};

double roundTo(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

/// A day of minutes that ends near the security's change, with its own path for every seed.
void fillDay(MarketEntry& entry, const Security& security, unsigned seed, int decimals) {
    std::mt19937 random(seed);
    const double level = security.prevClose;
    std::normal_distribution<double> step(0, level * 0.0009);
    std::uniform_real_distribution<double> share(0.6, 1.4);
    const std::vector<std::string> times = tradingMinutes();
    const double target = level * (1 + security.dayChange);
    double price = roundTo(level * (1 + security.dayChange * 0.2), decimals);
    const double open = price;
    double lots = 0, amount = 0, main = 0, retail = 0;
    for (std::size_t i = 0; i < times.size(); ++i) {
        // Pulled towards the day's close so every card ends where its change says.
        const double pull = (target - price) / double(times.size() - i) * 0.8;
        price = roundTo(price + pull + step(random), decimals);
        double volume = security.lotsPerMinute * share(random);
        if (i == 0) volume *= 12;
        if (i > 225) volume *= 1.4;
        volume = std::round(volume);
        lots += volume;
        amount += volume * 100 * price;
        entry.minutes.push_back(
            {times[i], price, roundTo(amount / (lots * 100), decimals + 1), volume, volume * 100 * price});
        const double move = i == 0 ? 0 : price - entry.minutes[i - 1].price;
        const double inflow = move * volume * 100 * 5 + security.dayChange * level * security.lotsPerMinute * 40 +
                              step(random) / level * security.lotsPerMinute * level * 30;
        main += inflow;
        retail -= inflow * 0.5 + step(random) / level * security.lotsPerMinute * level * 15;
        entry.flow.push_back({times[i], std::round(main), std::round(retail)});
    }
    Quote quote;
    quote.code = security.code;
    quote.name = security.name;
    quote.prevClose = level;
    quote.open = open;
    quote.price = entry.minutes.back().price;
    quote.high = quote.low = open;
    for (const MinuteBar& bar : entry.minutes) {
        quote.high = std::max(quote.high, bar.price);
        quote.low = std::min(quote.low, bar.price);
    }
    quote.volume = lots;
    quote.amount = amount;
    quote.tradeDate = "2026-12-04";
    quote.quoteTime = "15:00";
    entry.quote = quote;
    entry.updatedAt = quote.updatedAt;
}

/// 120 daily candles ending at the previous close, on a path of their own.
void fillDaily(MarketEntry& entry, const Security& security, unsigned seed, int decimals) {
    std::mt19937 random(seed * 31 + 7);
    std::normal_distribution<double> change(0.0004, 0.017);
    std::uniform_real_distribution<double> wick(0.0, 0.012);
    std::vector<double> closes(120);
    closes.back() = security.prevClose;
    for (std::size_t i = closes.size() - 1; i > 0; --i) closes[i - 1] = closes[i] / (1 + change(random));
    const std::vector<DailyBar> dates = dailyBars(120); // trading dates only
    for (std::size_t i = 0; i < closes.size(); ++i) {
        const double close = roundTo(closes[i], decimals);
        const double open = roundTo(i == 0 ? close : closes[i - 1] * (1 + change(random) * 0.3), decimals);
        const double high = roundTo(std::max(open, close) * (1 + wick(random)), decimals);
        const double low = roundTo(std::min(open, close) * (1 - wick(random)), decimals);
        entry.daily.push_back({dates[i].date, open, close, high, low,
                               std::round(security.lotsPerMinute * 240 * (0.7 + wick(random) * 50))});
    }
    entry.dailyLoadedOn = "2026-12-04";
}

} // namespace

std::vector<MarketEntry> watchList(std::size_t count) {
    std::vector<MarketEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const Security& security = securities[i % securities.size()];
        std::string code = security.code;
        // Past the table the codes stay distinct.
        if (i >= securities.size()) code = std::to_string(600000 + i);
        const bool isFund = code.starts_with("51");
        MarketEntry entry(WatchItem{code, security.name, isFund ? InstrumentKind::etf : InstrumentKind::stock});
        const int decimals = isFund ? 3 : 2;
        fillDay(entry, security, unsigned(20261204 + i), decimals);
        fillDaily(entry, security, unsigned(i + 1), decimals);
        entry.quote->code = code;
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace glimmer::samples
