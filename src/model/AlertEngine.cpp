#include "model/AlertEngine.h"

#include "model/Indicators.h"
#include "model/TextFormat.h"

#include <algorithm>
#include <cmath>

namespace glimmer {

namespace {

constexpr double yuanPerYi = 100'000'000;

std::string num2(double value) {
    return TextFormat::fixed(value, 2);
}

// Window lengths come from a hand-editable file: round half away from zero, at least one minute,
// and keep absurd values from overflowing the conversion.
long long windowMinutes(double configured) {
    if (!std::isfinite(configured) || configured < 1) return 1;
    return std::max(1LL, std::llround(std::min(configured, 1e9)));
}

} // namespace

std::string AlertEngine::cooldownKey(AlertKind kind, const std::string& code, const std::string& tag) {
    return std::string(rawValue(kind)) + "|" + code + "|" + tag;
}

bool AlertEngine::isPriceAlertLatched(const Uuid& id) const {
    const auto it = priceAlertLatch.find(id.string());
    return it != priceAlertLatch.end() && it->second;
}

struct AlertEngine::Pass {
    const MarketEntry& entry;
    const AlertConfig& config;
    Instant now;
    std::string name;
    double price = 0;
    std::vector<AlertEvent> events;
};

std::vector<AlertEvent> AlertEngine::evaluate(const MarketEntry& entry, const AlertConfig& config, Instant now) {
    // A non-finite price is as unusable as a missing one.
    if (!entry.quote || !(entry.quote->price > 0) || !std::isfinite(entry.quote->price)) return {};

    Pass pass{entry, config, now, displayName(&*entry.quote, entry.item), entry.quote->price, {}};
    for (const PriceAlert& alert : config.priceAlerts) checkPriceAlert(pass, alert);
    checkFastMoves(pass);
    checkScissors(pass);
    checkMainFalling(pass);
    checkMovingAverageTouches(pass);

    latest.insert(latest.end(), pass.events.begin(), pass.events.end());
    if (latest.size() > maxLatestEvents) latest.erase(latest.begin(), latest.end() - maxLatestEvents);
    return std::move(pass.events);
}

void AlertEngine::fire(Pass& pass, AlertKind kind, const std::string& tag, std::string message, bool skipCooldown) {
    const std::string& code = pass.entry.item.code;
    const std::string key = cooldownKey(kind, code, tag);
    const double cooldownSeconds = pass.config.cooldownMinutes > 0 ? pass.config.cooldownMinutes * 60 : 0;
    if (!skipCooldown) {
        const auto it = lastFired.find(key);
        if (it != lastFired.end() && secondsBetween(it->second, pass.now) < cooldownSeconds) return;
    }
    lastFired[key] = pass.now;
    pass.events.push_back(AlertEvent{kind, code, pass.name, std::move(message), pass.now});
}

// Fires once per crossing; the latch opens again only when the price moves back past a 0.2 % band.
void AlertEngine::checkPriceAlert(Pass& pass, const PriceAlert& alert) {
    if (alert.code != pass.entry.item.code || !alert.enabled || !(alert.price > 0)) return;
    const double threshold = alert.price;
    const double price = pass.price;
    const std::string id = alert.id.string();
    bool& latched = priceAlertLatch[id];
    const bool below = alert.direction == PriceAlertDirection::below;
    const bool crossed = below ? price <= threshold : price >= threshold;
    if (!crossed) {
        if (below ? price > threshold * 1.002 : price < threshold * 0.998) latched = false;
        return;
    }
    if (latched) return;
    latched = true;
    if (below) {
        fire(pass, AlertKind::priceBelow, id, "跌破 " + num2(threshold) + "，现价 " + num2(price), true);
    } else {
        fire(pass, AlertKind::priceAbove, id, "涨到 " + num2(threshold) + "，现价 " + num2(price), true);
    }
}

void AlertEngine::checkFastMoves(Pass& pass) {
    const AlertConfig& config = pass.config;
    const auto& minutes = pass.entry.minutes;
    if (!(config.fastRiseEnabled || config.fastDropEnabled) || minutes.size() <= 2) return;
    const double price = pass.price;
    const long long last = static_cast<long long>(minutes.size()) - 1;
    // Percent move from the bar n minutes before the last one (or the first bar) to the quote.
    auto moveOver = [&](long long n) -> std::optional<double> {
        const double base = minutes[static_cast<std::size_t>(last - std::min(n, last))].price;
        if (!(base > 0)) return std::nullopt;
        return (price - base) / base * 100;
    };
    if (config.fastRiseEnabled) {
        const long long n = windowMinutes(config.fastRiseWindowMinutes);
        const auto pct = moveOver(n);
        if (pct && *pct >= config.fastRisePercent) {
            fire(pass, AlertKind::fastRise, std::to_string(n) + "m",
                 std::to_string(n) + " 分钟涨 " + num2(*pct) + "%，现价 " + num2(price), false);
        }
    }
    if (config.fastDropEnabled) {
        const long long n = windowMinutes(config.fastDropWindowMinutes);
        const auto pct = moveOver(n);
        if (pct && *pct <= -config.fastDropPercent) {
            fire(pass, AlertKind::fastDrop, std::to_string(n) + "m",
                 std::to_string(n) + " 分钟跌 " + num2(*pct) + "%，现价 " + num2(price), false);
        }
    }
}

void AlertEngine::checkScissors(Pass& pass) {
    if (!pass.config.scissorsEnabled || pass.entry.flow.empty()) return;
    const FlowPoint& lastPoint = pass.entry.flow.back();
    const double gap = (lastPoint.main - lastPoint.retail) / yuanPerYi;
    if (std::abs(gap) < pass.config.scissorsThresholdYi) return;
    const char* side = gap < 0 ? "散户强于主力" : "主力领先散户";
    fire(pass, AlertKind::scissors, "scissors", "剪刀差 " + num2(std::abs(gap)) + " 亿（" + side + "）", false);
}

void AlertEngine::checkMainFalling(Pass& pass) {
    const int samples = pass.config.mainFallingSamples;
    const std::vector<FlowPoint>& flow = pass.entry.flow;
    // A sample count below two can never show a run; treat it as a rule that never fires.
    if (!pass.config.mainFallingEnabled || samples < 2 || flow.size() < static_cast<std::size_t>(samples)) return;
    const std::size_t k = static_cast<std::size_t>(samples);
    const std::size_t first = flow.size() - k;
    for (std::size_t i = first + 1; i < flow.size(); ++i) {
        if (flow[i].main > flow[i - 1].main) return;
    }
    const double start = flow[first].main;
    const double end = flow.back().main;
    const double drop = (start - end) / yuanPerYi;
    if (end < start && drop >= mainFallingMinimumDrop / yuanPerYi) {
        fire(pass, AlertKind::mainFalling, std::to_string(k),
             "主力连续 " + std::to_string(k) + " 分钟净流出，累计减少 " + num2(drop) + " 亿", false);
    }
}

void AlertEngine::checkMovingAverageTouches(Pass& pass) {
    const AlertConfig& config = pass.config;
    const std::vector<DailyBar>& daily = pass.entry.daily;
    if (!config.maTouchEnabled || daily.size() < 5) return;
    std::vector<double> closes;
    closes.reserve(daily.size());
    for (const DailyBar& bar : daily) closes.push_back(bar.close);
    for (const int period : config.maTouchPeriods) {
        if (period < 1 || static_cast<std::size_t>(period) > closes.size()) continue;
        const auto line = Indicators::ma(closes, period);
        if (line.empty() || !line.back() || !(*line.back() > 0)) continue;
        const double average = *line.back();
        const double distance = (pass.price - average) / average * 100;
        if (distance >= 0 && distance <= config.maTouchTolerancePercent) {
            const std::string p = std::to_string(period);
            fire(pass, AlertKind::maTouch, "MA" + p,
                 "回踩 M" + p + "（均线 " + num2(average) + "，现价 " + num2(pass.price) + "）", false);
        }
    }
}

} // namespace glimmer
