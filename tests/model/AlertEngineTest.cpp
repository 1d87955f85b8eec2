#include "model/AlertEngine.h"
#include "model/AlertScenarios.h"
#include "model/Indicators.h"

#include <gtest/gtest.h>

#include <limits>

namespace glimmer {
namespace {

const Instant start = Clock::instantAtOffset(CivilTime{2024, 3, 12, 10, 30, 0, 2}, 8 * 3600);
const double nan = std::numeric_limits<double>::quiet_NaN();

Instant at(double secondsAfterStart) {
    return start + std::chrono::duration_cast<Instant::duration>(std::chrono::duration<double>(secondsAfterStart));
}

MarketEntry entryAt(double price, const std::string& code = "002003", const std::string& quoteName = "伟星股份") {
    MarketEntry entry(WatchItem{code, "伟星股份", InstrumentKind::stock});
    entry.quote = Quote{.code = code, .name = quoteName, .price = price, .prevClose = 11.2};
    return entry;
}

// One flow point per main figure (yuan), retail 0.
MarketEntry flowEntry(std::initializer_list<double> mains, double price = 11.3, const std::string& code = "002003") {
    auto entry = entryAt(price, code, code == "002003" ? "伟星股份" : "贵州茅台");
    for (const double m : mains) entry.flow.push_back(FlowPoint{"10:00", m, 0});
    return entry;
}

PriceAlert priceAlert(PriceAlertDirection direction, double price, const std::string& code = "002003") {
    return PriceAlert{.code = code, .direction = direction, .price = price};
}

std::vector<MinuteBar> minuteSeries(std::initializer_list<double> prices) {
    std::vector<MinuteBar> bars;
    for (const double p : prices) bars.push_back(MinuteBar{"09:30", p, p, 1200, p * 120000});
    return bars;
}

std::vector<DailyBar> dailyCloses(int count, double close) {
    std::vector<DailyBar> bars;
    for (int i = 0; i < count; ++i) {
        bars.push_back(DailyBar{"2024-02-" + std::to_string(10 + i), close, close, close + 0.1, close - 0.1, 80000});
    }
    return bars;
}

// The defaults with every signal rule off but `scissors`, to look at one rule at a time.
AlertConfig quietConfig(bool scissors = false) {
    return AlertConfig{.fastRiseEnabled = false,
                       .fastDropEnabled = false,
                       .scissorsEnabled = scissors,
                       .mainFallingEnabled = false,
                       .maTouchEnabled = false};
}

std::vector<std::string> messages(const std::vector<AlertEvent>& events) {
    std::vector<std::string> texts;
    for (const auto& event : events) texts.push_back(event.message);
    return texts;
}

TEST(AlertEngine, ReferenceScenariosPassAndPriceAlertsFireOnTheLineAndRearmOnlyStrictlyPastTheBand) {
    for (const AlertScenario& scenario : alertScenarios()) EXPECT_TRUE(scenario.passes()) << scenario.label;
    struct Step {
        double price;
        std::size_t fired;
        bool latched;
    };
    const std::pair<PriceAlert, std::vector<Step>> cases[] = {
        // Equal to P fires; exactly P x 1.002 does not re-arm, anything past it does.
        {priceAlert(PriceAlertDirection::below, 10.00),
         {{10.00, 1, true}, {10.02, 0, true}, {9.99, 0, true}, {10.021, 0, false}, {9.99, 1, true}}},
        {priceAlert(PriceAlertDirection::above, 20.00),
         {{20.00, 1, true}, {19.96, 0, true}, {19.95, 0, false}, {20.10, 1, true}}},
    };
    for (const auto& [alert, steps] : cases) {
        AlertEngine engine;
        AlertConfig config = quietConfig();
        config.priceAlerts = {alert};
        for (std::size_t i = 0; i < steps.size(); ++i) {
            EXPECT_EQ(engine.evaluate(entryAt(steps[i].price), config, at(10.0 * i)).size(), steps[i].fired) << i;
            EXPECT_EQ(engine.isPriceAlertLatched(alert.id), steps[i].latched) << steps[i].price;
        }
    }
}

TEST(AlertEngine, PriceAlertsMatchCodeExactlySkipDisabledAndZeroThresholdsAndNameAQuoteWithoutName) {
    AlertEngine engine;
    AlertConfig config = quietConfig();
    config.priceAlerts = {
        priceAlert(PriceAlertDirection::below, 11.00, "2003"), priceAlert(PriceAlertDirection::below, 11.00, "002003 "),
        PriceAlert{.code = "002003", .direction = PriceAlertDirection::below, .price = 11, .enabled = false},
        priceAlert(PriceAlertDirection::below, 0), priceAlert(PriceAlertDirection::above, -1)};
    EXPECT_TRUE(engine.evaluate(entryAt(10.00), config, at(0)).empty());

    const auto alert = priceAlert(PriceAlertDirection::below, 11.00);
    config.priceAlerts = {alert};
    const auto fired = engine.evaluate(entryAt(10.80, "002003", ""), config, at(0));
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0].name, "伟星股份") << "the watch item names a quote without a name";
    EXPECT_EQ(engine.latestEvents().size(), 1u);
}

TEST(AlertEngine, CooldownIsMeasuredFromTheLastRecordedEventPerSecurityWindowAndPeriod) {
    AlertEngine engine;
    AlertConfig config = quietConfig(true);
    auto entry = entryAt(11.3);
    entry.flow = {FlowPoint{"10:00", -20'000'000, 130'000'000}};
    EXPECT_EQ(messages(engine.evaluate(entry, config, at(0))),
              std::vector<std::string>{"剪刀差 1.50 亿（散户强于主力）"});
    EXPECT_TRUE(engine.evaluate(entry, config, at(599)).empty()) << "attempts inside the period do not restart it";
    EXPECT_EQ(engine.evaluate(entry, config, at(600)).size(), 1u);
    EXPECT_TRUE(engine.evaluate(entry, config, at(1199)).empty());
    const auto other = engine.evaluate(flowEntry({150'000'000}, 1700, "600519"), config, at(1));
    ASSERT_EQ(other.size(), 1u) << "another security has its own cool-down";
    EXPECT_EQ(other[0].name, "贵州茅台");

    config.fastRiseWindowMinutes = 5;
    auto rising = entryAt(10.6);
    rising.minutes = minuteSeries({10.0, 10.0, 10.0, 10.0, 10.0, 10.6});
    config.fastRiseEnabled = true;
    config.scissorsEnabled = false;
    EXPECT_EQ(engine.evaluate(rising, config, at(0)).size(), 1u);
    config.fastRiseWindowMinutes = 3;
    EXPECT_EQ(engine.evaluate(rising, config, at(10)).size(), 1u) << "a different window is a different key";
    EXPECT_TRUE(engine.evaluate(rising, config, at(20)).empty());

    for (const double minutes : {-5.0, nan, 0.0}) {
        AlertEngine fresh;
        config = quietConfig(true);
        config.cooldownMinutes = minutes;
        EXPECT_EQ(fresh.evaluate(flowEntry({150'000'000}), config, at(0)).size(), 1u);
        EXPECT_EQ(fresh.evaluate(flowEntry({150'000'000}), config, at(0)).size(), 1u) << "no cool-down " << minutes;
    }
}

TEST(AlertEngine, FastMovesMeasureTheQuoteAgainstTheBarTheirWindowBack) {
    struct Case {
        const char* why;
        std::initializer_list<double> bars;
        double price, riseWindow, dropWindow;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"two bars are too few", {10.0, 10.0}, 11.0, 3, 3, {}},
        {"the quote moved, not the last bar", {10.0, 10.0, 10.0, 10.0}, 10.25, 3, 3, {"3 分钟涨 2.50%，现价 10.25"}},
        {"a zero base price", {0, 0, 0, 10.0}, 10.0, 3, 3, {}},
        {"2.5 rounds to 3, past the first bar", {10.0, 9.8, 9.8}, 9.0, 3, 2.5, {"3 分钟跌 -10.00%，现价 9.00"}},
        {"at least one minute", {10.0, 10.0, 9.5, 9.5}, 9.0, 3, 0.2, {"1 分钟跌 -5.26%，现价 9.00"}},
        {"each its own window",
         {11.0, 10.6, 10.2, 9.6, 9.7},
         10.0,
         1,
         4,
         {"1 分钟涨 4.17%，现价 10.00", "4 分钟跌 -9.09%，现价 10.00"}},
    };
    for (const Case& c : cases) {
        AlertEngine engine;
        AlertConfig config{.fastRiseWindowMinutes = c.riseWindow, .fastDropWindowMinutes = c.dropWindow};
        auto entry = entryAt(c.price);
        entry.minutes = minuteSeries(c.bars);
        EXPECT_EQ(messages(engine.evaluate(entry, config, at(0))), c.messages) << c.why;
    }
}

TEST(AlertEngine, ScissorsAndMainFallingReadTheLastFlowPoints) {
    AlertEngine engine;
    EXPECT_TRUE(engine.evaluate(flowEntry({200'000'000, 99'000'000}), AlertConfig{}, at(0)).empty())
        << "only the last point counts for the scissors";

    AlertConfig config = quietConfig();
    config.mainFallingEnabled = true;
    EXPECT_TRUE(engine.evaluate(flowEntry({30e6, 25e6, 26e6, 15e6, 10e6}), config, at(0)).empty())
        << "a rise breaks it";
    EXPECT_TRUE(engine.evaluate(flowEntry({30e6, 29e6, 28e6, 27e6, 26e6}), config, at(0)).empty())
        << "0.04 亿 is too little";
    EXPECT_TRUE(engine.evaluate(flowEntry({20e6, 15e6, 10e6, 5e6}), config, at(0)).empty())
        << "fewer points than samples";
    EXPECT_EQ(messages(engine.evaluate(flowEntry({90e6, 30e6, 30e6, 30e6, 25e6, 25e6}), config, at(0))),
              std::vector<std::string>{"主力连续 5 分钟净流出，累计减少 0.05 亿"})
        << "equal neighbours are allowed; only the last five points count";
    AlertEngine flatEngine;
    EXPECT_TRUE(flatEngine.evaluate(flowEntry({30e6, 30e6, 30e6, 30e6, 30e6}), config, at(0)).empty());
    for (const int samples : {1, 0, -4}) {
        AlertEngine fresh;
        config.mainFallingSamples = samples;
        EXPECT_TRUE(fresh.evaluate(flowEntry({90e6, 50e6, 10e6}), config, at(0)).empty()) << samples;
    }
}

TEST(AlertEngine, MaTouchFiresOnlyOnOrJustAboveAnAverageTheSeriesHas) {
    AlertConfig config = quietConfig();
    config.maTouchEnabled = true;
    config.maTouchPeriods = {5};
    // 0 fires; below the average is no pull-back; 0.42 % is beyond the 0.35 % tolerance.
    for (const auto [price, fired] : {std::pair{12.00, 1u}, {11.99, 0u}, {12.05, 0u}}) {
        auto entry = entryAt(price);
        entry.daily = dailyCloses(30, 12.00);
        EXPECT_EQ(AlertEngine().evaluate(entry, config, at(0)).size(), fired) << price;
    }

    config.maTouchPeriods = AlertConfig{}.maTouchPeriods; // 5, 10, 20, 60
    auto entry = entryAt(12.02);
    entry.daily = dailyCloses(12, 12.00);
    EXPECT_EQ(messages(AlertEngine().evaluate(entry, config, at(0))),
              (std::vector<std::string>{"回踩 M5（均线 12.00，现价 12.02）", "回踩 M10（均线 12.00，现价 12.02）"}));
    entry.daily = dailyCloses(4, 12.00);
    config.maTouchPeriods = {1, 2, 0, -1};
    EXPECT_TRUE(AlertEngine().evaluate(entry, config, at(0)).empty()) << "fewer than five daily bars";
}

TEST(AlertEngine, EventsComeInRuleOrderAndTheNewestThirtyAreKept) {
    AlertEngine engine;
    AlertConfig config;
    config.maTouchPeriods = {5};
    config.priceAlerts.push_back(priceAlert(PriceAlertDirection::above, 10.00));
    auto entry = flowEntry({300e6, 250e6, 200e6, 150e6, 120e6}, 10.60);
    entry.minutes = minuteSeries({10.0, 10.1, 10.3, 10.6});
    entry.daily = dailyCloses(10, 10.58);
    std::vector<AlertKind> kinds;
    for (const auto& e : engine.evaluate(entry, config, at(0))) kinds.push_back(e.kind);
    EXPECT_EQ(kinds, (std::vector<AlertKind>{AlertKind::priceAbove, AlertKind::fastRise, AlertKind::scissors,
                                             AlertKind::mainFalling, AlertKind::maTouch}));

    AlertEngine history;
    config = quietConfig(true);
    config.cooldownMinutes = 0;
    for (int i = 0; i < 35; ++i) history.evaluate(flowEntry({150'000'000}), config, at(i));
    ASSERT_EQ(history.latestEvents().size(), AlertEngine::maxLatestEvents);
    EXPECT_EQ(history.latestEvents().front().firedAt, at(5));
    EXPECT_EQ(history.latestEvents().back().firedAt, at(34));
}

TEST(Indicators, MovingAveragesLeaveTheWarmUpAbsentEmaStartsAtTheFirstValueMacdAtZero) {
    using std::nullopt;
    using V = std::vector<std::optional<double>>;
    EXPECT_EQ(Indicators::ma({1, 2, 3, 4}, 2), (V{nullopt, 1.5, 2.5, 3.5}));
    EXPECT_EQ(Indicators::ma({1, 2, 3, 4}, 4), (V{nullopt, nullopt, nullopt, 2.5}));
    for (const int period : {5, 0, -3}) EXPECT_EQ(Indicators::ma({1, 2, 3, 4}, period), V(4)) << period;
    EXPECT_TRUE(Indicators::ma({}, 5).empty());
    EXPECT_EQ(Indicators::ema({10, 10, 10}, 3), (std::vector<double>{10, 10, 10}));
    EXPECT_EQ(Indicators::ema({0, 3}, 2), (std::vector<double>{0, 2}));
    EXPECT_TRUE(Indicators::ema({}, 3).empty());
    EXPECT_TRUE(Indicators::ema({1}, 0).empty());
    const auto flat = Indicators::macd(std::vector<double>(50, 7.25));
    const std::vector<double> zeros(50, 0.0);
    EXPECT_EQ(std::tie(flat.dif, flat.dea, flat.hist), std::tie(zeros, zeros, zeros));
    const auto empty = Indicators::macd({});
    EXPECT_TRUE(empty.dif.empty() && empty.dea.empty() && empty.hist.empty());

    const auto rising = Indicators::macd({10, 11, 12, 13});
    EXPECT_EQ(rising.dif[0], 0);
    EXPECT_GT(rising.dif[3], 0) << "the fast line leads a rise";
    EXPECT_DOUBLE_EQ(rising.hist[3], 2 * (rising.dif[3] - rising.dea[3]));
    EXPECT_TRUE(Indicators::macd({1, 2}, 12, 0, 9).dif.empty());
}

} // namespace
} // namespace glimmer
