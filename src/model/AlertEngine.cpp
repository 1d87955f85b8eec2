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
    const auto it = priceAlertArmed.find(id.string());
    return it != priceAlertArmed.end() && it->second;
}

std::vector<AlertEvent> AlertEngine::evaluate(const MarketEntry& entry, const AlertConfig& config, Instant now) {
    std::vector<AlertEvent> events;
    // A non-finite price is as unusable as a missing one.
    if (!entry.quote || !(entry.quote->price > 0) || !std::isfinite(entry.quote->price)) return events;

    const std::string& code = entry.item.code;
    const std::string name = displayName(&*entry.quote, entry.item);
    const double price = entry.quote->price;
    const double cooldownSeconds = config.cooldownMinutes > 0 ? config.cooldownMinutes * 60 : 0;

    auto fire = [&](AlertKind kind, const std::string& tag, std::string message, bool skipCooldown) {
        const std::string key = cooldownKey(kind, code, tag);
        if (!skipCooldown) {
            const auto it = lastFired.find(key);
            if (it != lastFired.end() && secondsBetween(it->second, now) < cooldownSeconds) return;
        }
        lastFired[key] = now;
        events.push_back(AlertEvent{kind, code, name, std::move(message), now});
    };

    for (const PriceAlert& alert : config.priceAlerts) {
        if (alert.code != code || !alert.enabled || !(alert.price > 0)) continue;
        const double threshold = alert.price;
        const std::string id = alert.id.string();
        bool& latched = priceAlertArmed[id];
        if (alert.direction == PriceAlertDirection::below) {
            if (price <= threshold) {
                if (!latched) {
                    latched = true;
                    fire(AlertKind::priceBelow, id, "跌破 " + num2(threshold) + "，现价 " + num2(price), true);
                }
            } else if (price > threshold * 1.002) {
                latched = false;
            }
        } else {
            if (price >= threshold) {
                if (!latched) {
                    latched = true;
                    fire(AlertKind::priceAbove, id, "涨到 " + num2(threshold) + "，现价 " + num2(price), true);
                }
            } else if (price < threshold * 0.998) {
                latched = false;
            }
        }
    }

    const auto& minutes = entry.minutes;
    if ((config.fastRiseEnabled || config.fastDropEnabled) && minutes.size() > 2) {
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
                fire(AlertKind::fastRise, std::to_string(n) + "m",
                     std::to_string(n) + " 分钟涨 " + num2(*pct) + "%，现价 " + num2(price), false);
            }
        }
        if (config.fastDropEnabled) {
            const long long n = windowMinutes(config.fastDropWindowMinutes);
            const auto pct = moveOver(n);
            if (pct && *pct <= -config.fastDropPercent) {
                fire(AlertKind::fastDrop, std::to_string(n) + "m",
                     std::to_string(n) + " 分钟跌 " + num2(*pct) + "%，现价 " + num2(price), false);
            }
        }
    }

    if (config.scissorsEnabled && !entry.flow.empty()) {
        const FlowPoint& lastPoint = entry.flow.back();
        const double gap = (lastPoint.main - lastPoint.retail) / yuanPerYi;
        if (std::abs(gap) >= config.scissorsThresholdYi) {
            const char* side = gap < 0 ? "散户强于主力" : "主力领先散户";
            fire(AlertKind::scissors, "scissors", "剪刀差 " + num2(std::abs(gap)) + " 亿（" + side + "）", false);
        }
    }

    const int samples = config.mainFallingSamples;
    const std::size_t flowCount = entry.flow.size();
    // A sample count below two can never show a run; treat it as a rule that never fires.
    if (config.mainFallingEnabled && samples >= 2 && flowCount >= static_cast<std::size_t>(samples)) {
        const std::size_t k = static_cast<std::size_t>(samples);
        const std::size_t first = flowCount - k;
        bool neverRises = true;
        for (std::size_t i = first + 1; i < flowCount; ++i) {
            if (entry.flow[i].main > entry.flow[i - 1].main) {
                neverRises = false;
                break;
            }
        }
        const double start = entry.flow[first].main;
        const double end = entry.flow.back().main;
        const double drop = (start - end) / yuanPerYi;
        if (neverRises && end < start && drop >= mainFallingMinimumDrop / yuanPerYi) {
            fire(AlertKind::mainFalling, std::to_string(k),
                 "主力连续 " + std::to_string(k) + " 分钟净流出，累计减少 " + num2(drop) + " 亿", false);
        }
    }

    if (config.maTouchEnabled && entry.daily.size() >= 5) {
        std::vector<double> closes;
        closes.reserve(entry.daily.size());
        for (const DailyBar& bar : entry.daily) closes.push_back(bar.close);
        for (const int period : config.maTouchPeriods) {
            if (period < 1 || static_cast<std::size_t>(period) > closes.size()) continue;
            const auto line = Indicators::ma(closes, period);
            if (line.empty() || !line.back() || !(*line.back() > 0)) continue;
            const double average = *line.back();
            const double distance = (price - average) / average * 100;
            if (distance >= 0 && distance <= config.maTouchTolerancePercent) {
                const std::string p = std::to_string(period);
                fire(AlertKind::maTouch, "MA" + p,
                     "回踩 M" + p + "（均线 " + num2(average) + "，现价 " + num2(price) + "）", false);
            }
        }
    }

    latest.insert(latest.end(), events.begin(), events.end());
    if (latest.size() > maxLatestEvents) latest.erase(latest.begin(), latest.end() - maxLatestEvents);
    return events;
}

} // namespace glimmer
