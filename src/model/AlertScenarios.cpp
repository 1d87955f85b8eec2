#include "model/AlertScenarios.h"

#include "model/AlertEngine.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>

namespace glimmer {

namespace {

constexpr double yi = 100'000'000;

Instant at(double seconds) {
    const Instant start = Clock::instantAtOffset(CivilTime{2024, 11, 8, 10, 5, 0, 5}, 8 * 3600);
    return start + std::chrono::duration_cast<Instant::duration>(std::chrono::duration<double>(seconds));
}

std::string twoDigits(const char* format, int a, int b) {
    char text[16];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

std::string minuteLabel(int index) {
    const int total = 9 * 60 + 30 + index;
    return twoDigits("%02d:%02d", total / 60, total % 60);
}

/// 伟星股份 at `price`, with no series: only price alerts can fire.
MarketEntry quoted(double price) {
    MarketEntry entry(WatchItem{"002003", "伟星股份", InstrumentKind::stock});
    Quote quote;
    quote.code = "002003";
    quote.name = "伟星股份";
    quote.price = price;
    quote.prevClose = 11.20;
    quote.open = 11.15;
    quote.high = std::max(price, 11.30);
    quote.low = std::min(price, 11.05);
    quote.volume = 182'344;
    quote.amount = 2.03e8;
    quote.tradeDate = "2024-11-08";
    quote.quoteTime = "2024-11-08 10:05:00";
    entry.quote = quote;
    return entry;
}

MarketEntry withMinutes(double price, std::initializer_list<double> prices) {
    MarketEntry entry = quoted(price);
    int index = 0;
    for (const double p : prices) entry.minutes.push_back({minuteLabel(index++), p, p, 1'200, p * 120'000});
    return entry;
}

MarketEntry withFlow(std::initializer_list<std::pair<double, double>> mainRetail) {
    MarketEntry entry = quoted(11.10);
    int index = 0;
    for (const auto& [main, retail] : mainRetail) entry.flow.push_back({minuteLabel(index++), main, retail});
    return entry;
}

MarketEntry withDaily(double price, double close) {
    MarketEntry entry = quoted(price);
    for (int day = 1; day <= 20; ++day) {
        entry.daily.push_back({twoDigits("%04d-10-%02d", 2024, day), close, close, close + 0.1, close - 0.1, 52'000});
    }
    return entry;
}

AlertConfig withPriceAlert(PriceAlertDirection direction, double price) {
    AlertConfig config;
    PriceAlert alert;
    alert.code = "002003";
    alert.direction = direction;
    alert.price = price;
    config.priceAlerts.push_back(alert);
    return config;
}

/// Exactly one event, of this kind and with this text.
bool isOnly(const std::vector<AlertEvent>& events, AlertKind kind, const std::string& message) {
    return events.size() == 1 && events[0].kind == kind && events[0].message == message &&
           events[0].code == "002003" && events[0].name == "伟星股份";
}

const std::vector<AlertScenario> scenarios = {
    {"跌破价格首次触发",
     [] {
         AlertEngine engine;
         const auto events = engine.evaluate(quoted(10.80), withPriceAlert(PriceAlertDirection::below, 11.00), at(0));
         return isOnly(events, AlertKind::priceBelow, "跌破 11.00，现价 10.80") && events[0].firedAt == at(0);
     }},
    {"跌破价格不重复触发",
     [] {
         AlertEngine engine;
         const AlertConfig config = withPriceAlert(PriceAlertDirection::below, 11.00);
         engine.evaluate(quoted(10.80), config, at(0));
         return engine.evaluate(quoted(10.70), config, at(30)).empty();
     }},
    {"价格回升后再次跌破可触发",
     [] {
         // Re-arming is silent, and the cool-down does not hold back a re-armed price alert.
         AlertEngine engine;
         const AlertConfig config = withPriceAlert(PriceAlertDirection::below, 11.00);
         engine.evaluate(quoted(10.80), config, at(0));
         const bool silent = engine.evaluate(quoted(11.50), config, at(60)).empty();
         const auto again = engine.evaluate(quoted(10.90), config, at(90));
         return silent && isOnly(again, AlertKind::priceBelow, "跌破 11.00，现价 10.90") &&
                engine.latestEvents().size() == 2;
     }},
    {"涨到价格触发",
     [] {
         AlertEngine engine;
         const auto events = engine.evaluate(quoted(13.20), withPriceAlert(PriceAlertDirection::above, 13.00), at(0));
         return isOnly(events, AlertKind::priceAbove, "涨到 13.00，现价 13.20");
     }},
    {"快涨触发",
     [] {
         AlertEngine engine;
         const auto events = engine.evaluate(withMinutes(10.6, {10.0, 10.1, 10.3, 10.6}), AlertConfig{}, at(0));
         return isOnly(events, AlertKind::fastRise, "3 分钟涨 6.00%，现价 10.60");
     }},
    {"快跌触发",
     [] {
         AlertEngine engine;
         const auto events = engine.evaluate(withMinutes(9.5, {10.2, 10.1, 10.0, 9.5}), AlertConfig{}, at(0));
         return isOnly(events, AlertKind::fastDrop, "3 分钟跌 -6.86%，现价 9.50");
     }},
    {"剪刀差触发",
     [] {
         AlertEngine engine;
         const auto events = engine.evaluate(withFlow({{1.5 * yi, 0.2 * yi}}), AlertConfig{}, at(0));
         return isOnly(events, AlertKind::scissors, "剪刀差 1.30 亿（主力领先散户）");
     }},
    {"主力持续下降触发",
     [] {
         AlertEngine engine;
         const MarketEntry entry = withFlow({{30e6, 4e6}, {25e6, 4e6}, {20e6, 4e6}, {15e6, 4e6}, {10e6, 4e6}});
         return isOnly(engine.evaluate(entry, AlertConfig{}, at(0)), AlertKind::mainFalling,
                       "主力连续 5 分钟净流出，累计减少 0.20 亿");
     }},
    {"回踩均线触发",
     [] {
         AlertEngine engine;
         AlertConfig config;
         config.maTouchPeriods = {20};
         return isOnly(engine.evaluate(withDaily(12.02, 12.00), config, at(0)), AlertKind::maTouch,
                       "回踩 M20（均线 12.00，现价 12.02）");
     }},
    {"冷却期内同类预警只触发一次",
     [] {
         AlertEngine engine;
         const MarketEntry entry = withFlow({{1.5 * yi, 0.2 * yi}});
         const bool first = engine.evaluate(entry, AlertConfig{}, at(0)).size() == 1;
         return first && engine.evaluate(entry, AlertConfig{}, at(120)).empty();
     }},
    {"平静行情不误报",
     [] {
         AlertEngine engine;
         AlertConfig config = withPriceAlert(PriceAlertDirection::below, 9.00);
         config.priceAlerts.push_back(withPriceAlert(PriceAlertDirection::above, 12.00).priceAlerts[0]);
         MarketEntry entry = withDaily(10.0, 11.0);
         entry.minutes = withMinutes(10.0, {10.0, 10.0, 10.01, 10.0, 10.0, 10.0}).minutes;
         return engine.evaluate(entry, config, at(0)).empty() && engine.latestEvents().empty();
     }},
};

} // namespace

const std::vector<AlertScenario>& alertScenarios() {
    return scenarios;
}

} // namespace glimmer
