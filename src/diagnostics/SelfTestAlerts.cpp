#include "diagnostics/SelfTest.h"
#include "diagnostics/SelfTestReport.h"
#include "model/AlertEngine.h"

#include <algorithm>
#include <initializer_list>

namespace glimmer::SelfTest {

namespace {

constexpr double yi = 100'000'000;

Instant sessionTime(int hour, int minute) {
    CivilTime t;
    t.year = 2024;
    t.month = 11;
    t.day = 8;
    t.hour = hour;
    t.minute = minute;
    return Clock::instantAtOffset(t, 8 * 3600);
}

std::string minuteLabel(int index) {
    const int total = 9 * 60 + 30 + index;
    return SelfTestReport::format("%02d:%02d", total / 60, total % 60);
}

/// 伟星股份 at `price`, with no series: only price alerts can fire.
MarketEntry quotedEntry(double price) {
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

void setMinutes(MarketEntry& entry, std::initializer_list<double> prices) {
    entry.minutes.clear();
    int index = 0;
    for (const double price : prices) {
        MinuteBar bar;
        bar.time = minuteLabel(index++);
        bar.price = price;
        bar.avg = price;
        bar.volume = 1'200;
        bar.amount = price * 120'000;
        entry.minutes.push_back(bar);
    }
}

void setFlow(MarketEntry& entry, const std::vector<std::pair<double, double>>& mainRetail) {
    entry.flow.clear();
    int index = 0;
    for (const auto& [mainValue, retailValue] : mainRetail) {
        entry.flow.push_back({minuteLabel(index++), mainValue, retailValue});
    }
}

std::size_t countOf(const std::vector<AlertEvent>& events, AlertKind kind) {
    return static_cast<std::size_t>(
        std::count_if(events.begin(), events.end(), [kind](const AlertEvent& e) { return e.kind == kind; }));
}

PriceAlert priceAlert(PriceAlertDirection direction, double price) {
    PriceAlert alert;
    alert.code = "002003";
    alert.direction = direction;
    alert.price = price;
    return alert;
}

} // namespace

void testAlerts() {
    CheckTally tally;
    const Instant start = sessionTime(10, 5);
    auto later = [start](double seconds) {
        return start + std::chrono::duration_cast<Instant::duration>(std::chrono::duration<double>(seconds));
    };

    // Price thresholds: one latch per alert, re-armed only past the band.
    {
        AlertEngine engine;
        AlertConfig config;
        config.priceAlerts.push_back(priceAlert(PriceAlertDirection::below, 11.00));
        const auto first = engine.evaluate(quotedEntry(10.80), config, start);
        tally.check(first.size() == 1 && countOf(first, AlertKind::priceBelow) == 1, "跌破价格首次触发");
        const auto again = engine.evaluate(quotedEntry(10.70), config, later(30));
        tally.check(again.empty(), "跌破价格不重复触发");
        const auto recovered = engine.evaluate(quotedEntry(11.50), config, later(60));
        const auto crossed = engine.evaluate(quotedEntry(10.90), config, later(90));
        tally.check(recovered.empty() && countOf(crossed, AlertKind::priceBelow) == 1 &&
                        engine.latestEvents().size() == 2,
                    "价格回升后再次跌破可触发");
    }
    {
        AlertEngine engine;
        AlertConfig config;
        config.priceAlerts.push_back(priceAlert(PriceAlertDirection::above, 13.00));
        const auto events = engine.evaluate(quotedEntry(13.20), config, start);
        tally.check(countOf(events, AlertKind::priceAbove) == 1, "涨到价格触发");
    }

    // Minute moves over the default three-minute windows.
    {
        AlertEngine engine;
        MarketEntry entry = quotedEntry(10.6);
        setMinutes(entry, {10.0, 10.1, 10.3, 10.6});
        const auto events = engine.evaluate(entry, AlertConfig{}, start);
        tally.check(countOf(events, AlertKind::fastRise) == 1, "快涨触发");
    }
    {
        AlertEngine engine;
        MarketEntry entry = quotedEntry(9.5);
        setMinutes(entry, {10.2, 10.1, 10.0, 9.5});
        const auto events = engine.evaluate(entry, AlertConfig{}, start);
        tally.check(countOf(events, AlertKind::fastDrop) == 1, "快跌触发");
    }

    // Fund flow: the gap between main and retail money, and a falling main run.
    {
        AlertEngine engine;
        MarketEntry entry = quotedEntry(11.10);
        setFlow(entry, {{1.5 * yi, 0.2 * yi}});
        const auto events = engine.evaluate(entry, AlertConfig{}, start);
        const bool fired = countOf(events, AlertKind::scissors) == 1 &&
                           events.front().message.find("主力领先散户") != std::string::npos;
        tally.check(fired, "剪刀差触发");
    }
    {
        AlertEngine engine;
        MarketEntry entry = quotedEntry(11.10);
        setFlow(entry, {{30e6, 4e6}, {25e6, 4e6}, {20e6, 4e6}, {15e6, 4e6}, {10e6, 4e6}});
        const auto events = engine.evaluate(entry, AlertConfig{}, start);
        const bool fired = countOf(events, AlertKind::mainFalling) == 1 &&
                           events.back().message.find("0.20 亿") != std::string::npos;
        tally.check(fired, "主力持续下降触发");
    }

    // A pull-back onto the twenty-day average.
    {
        AlertEngine engine;
        AlertConfig config;
        config.maTouchPeriods = {20};
        MarketEntry entry = quotedEntry(12.02);
        for (int day = 1; day <= 20; ++day) {
            entry.daily.push_back({SelfTestReport::format("2024-10-%02d", day), 12.00, 12.00, 12.10, 11.90, 52'000});
        }
        const auto events = engine.evaluate(entry, config, start);
        tally.check(countOf(events, AlertKind::maTouch) == 1, "回踩均线触发");
    }

    // The same signal inside the cool-down is recorded once.
    {
        AlertEngine engine;
        MarketEntry entry = quotedEntry(11.10);
        setFlow(entry, {{1.5 * yi, 0.2 * yi}});
        const auto first = engine.evaluate(entry, AlertConfig{}, start);
        const auto second = engine.evaluate(entry, AlertConfig{}, later(120));
        tally.check(countOf(first, AlertKind::scissors) + countOf(second, AlertKind::scissors) == 1,
                    "冷却期内同类预警只触发一次");
    }

    // Flat minutes, no flow and alerts out of reach.
    {
        AlertEngine engine;
        AlertConfig config;
        config.priceAlerts.push_back(priceAlert(PriceAlertDirection::below, 9.00));
        config.priceAlerts.push_back(priceAlert(PriceAlertDirection::above, 12.00));
        MarketEntry entry = quotedEntry(10.0);
        setMinutes(entry, {10.0, 10.0, 10.01, 10.0, 10.0, 10.0});
        for (int day = 1; day <= 20; ++day) {
            entry.daily.push_back({SelfTestReport::format("2024-10-%02d", day), 11.0, 11.0, 11.1, 10.9, 48'000});
        }
        const auto events = engine.evaluate(entry, config, start);
        tally.check(events.empty(), "平静行情不误报");
    }

    tally.printCounted("预警自测：");
}

} // namespace glimmer::SelfTest
