#include "simmarket/MarketModel.h"

#include <algorithm>
#include <cmath>

namespace glimmer::sim {

namespace {

constexpr int kAnchorYear = 2000; // the daily walk starts on the first trading day of 2000

std::uint64_t splitmix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    return x ^ (x >> 31);
}

std::uint64_t textHash(const std::string& text) {
    std::uint64_t h = 1469598103934665603ull;
    for (const char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

/// A reproducible stream of random numbers for one (seed, security, day, purpose).
class Noise {
public:
    Noise(std::uint64_t seed, const std::string& symbol, int day, std::uint64_t purpose)
        : state(
              splitmix(seed ^ splitmix(textHash(symbol) ^ splitmix(static_cast<std::uint64_t>(day) * 31 + purpose)))) {}

    double uniform() {
        state = splitmix(state);
        return static_cast<double>(state >> 11) * (1.0 / 9007199254740992.0);
    }
    /// Roughly standard normal (sum of four uniforms), bounded so no single step is absurd.
    double normal() { return (uniform() + uniform() + uniform() + uniform() - 2.0) * 1.7320508; }

private:
    std::uint64_t state;
};

double roundTo(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

double dailySigma(const Security& s) {
    switch (s.kind) {
    case SecurityKind::Index:
        return 0.010;
    case SecurityKind::Etf:
        return 0.012;
    case SecurityKind::Stock:
        break;
    }
    return 0.018;
}

int labelAt(int index) {
    return index <= 120 ? 570 + index : 780 + (index - 120);
}

} // namespace

MarketModel::MarketModel(std::uint64_t seed, std::set<int> holidays)
    : seedValue(seed), closedDays(std::move(holidays)) {
}

const std::vector<int>& MarketModel::minuteLabels() {
    static const std::vector<int> labels = [] {
        std::vector<int> out;
        for (int i = 0; i <= 240; ++i) out.push_back(labelAt(i));
        return out;
    }();
    return labels;
}

int MarketModel::minutesDone(int minuteOfDay) {
    if (minuteOfDay < 570) return 0;
    if (minuteOfDay <= 690) return minuteOfDay - 570 + 1;
    if (minuteOfDay <= 780) return 121;
    if (minuteOfDay <= 900) return 121 + (minuteOfDay - 780);
    return 241;
}

int MarketModel::dayNumber(int year, int month, int day) {
    // Days from civil (proleptic Gregorian).
    year -= month <= 2;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yoe = year - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilTime MarketModel::civilDay(int dayNumber) {
    const int z = dayNumber + 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = z - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    CivilTime t;
    t.day = doy - (153 * mp + 2) / 5 + 1;
    t.month = mp < 10 ? mp + 3 : mp - 9;
    t.year = yoe + era * 400 + (t.month <= 2);
    t.weekday = ((dayNumber % 7) + 11) % 7; // 1970-01-01 was a Thursday
    return t;
}

bool MarketModel::isTradingDay(int dayNumber) const {
    const int weekday = ((dayNumber % 7) + 11) % 7;
    return weekday >= 1 && weekday <= 5 && closedDays.count(dayNumber) == 0;
}

int MarketModel::previousTradingDay(int dayNumber) const {
    int d = dayNumber - 1;
    while (!isTradingDay(d)) --d;
    return d;
}

double MarketModel::closeOf(const Security& security, int day) const {
    const int anchor = dayNumber(kAnchorYear, 1, 3);
    const double logBase = std::log(security.basePrice);
    if (day < anchor) {
        Noise noise(seedValue, security.symbol, day, 1);
        return roundTo(security.basePrice * std::exp(0.05 * noise.normal()), security.decimals());
    }
    std::lock_guard guard(lock);
    std::vector<double>& series = closes[security.symbol];
    if (series.empty()) series.push_back(logBase);
    const double sigma = dailySigma(security);
    while (static_cast<int>(series.size()) <= day - anchor) {
        const int d = anchor + static_cast<int>(series.size());
        const double previous = series.back();
        if (!isTradingDay(d)) {
            series.push_back(previous);
            continue;
        }
        Noise noise(seedValue, security.symbol, d, 1);
        double step = 0.01 * (logBase - previous) + sigma * noise.normal();
        step = std::clamp(step, -0.095, 0.095); // the exchanges' daily price limit
        series.push_back(previous + step);
    }
    return roundTo(std::exp(series[static_cast<std::size_t>(day - anchor)]), security.decimals());
}

std::vector<SimMinute> MarketModel::fullDay(const Security& security, int day) const {
    const int decimals = security.decimals();
    const double prev = closeOf(security, previousTradingDay(day));
    const double close = closeOf(security, day);
    const double tick = std::pow(10.0, -decimals);
    const double limitLow = std::max(prev * 0.9, tick);
    const double limitHigh = prev * 1.1;
    Noise noise(seedValue, security.symbol, day, 2);

    const double open = std::clamp(roundTo(prev * std::exp(0.3 * dailySigma(security) * noise.normal()), decimals),
                                   limitLow, limitHigh);
    // A random walk bent into a bridge from the open to the close.
    std::vector<double> walk(241, 0.0);
    const double minuteSigma = dailySigma(security) / 12.0;
    for (std::size_t i = 1; i < walk.size(); ++i) walk[i] = walk[i - 1] + minuteSigma * noise.normal();
    const double logOpen = std::log(open);
    const double logClose = std::log(close);
    const double bend = walk.back() - (logClose - logOpen);

    std::vector<SimMinute> minutes;
    minutes.reserve(241);
    const double lotsPerMinute = security.dailyTurnover / (security.basePrice * 100.0) / 241.0;
    long long cumVolume = 0;
    double cumAmount = 0;
    double mainFlow = 0, smallFlow = 0, mediumFlow = 0, largeFlow = 0, superFlow = 0;
    double last = open;
    for (int i = 0; i <= 240; ++i) {
        SimMinute m;
        m.label = labelAt(i);
        const double target = i == 240 ? close : std::exp(logOpen + walk[i] - bend * i / 240.0);
        m.open = i == 0 ? open : last;
        m.close = std::clamp(roundTo(target, decimals), limitLow, limitHigh);
        const double wiggle = std::abs(noise.normal()) * minuteSigma * 0.5;
        m.high = std::clamp(roundTo(std::max(m.open, m.close) * (1 + wiggle), decimals), limitLow, limitHigh);
        m.low = std::clamp(roundTo(std::min(m.open, m.close) * (1 - wiggle), decimals), limitLow, limitHigh);
        m.high = std::max({m.high, m.open, m.close});
        m.low = std::min({m.low, m.open, m.close});
        // Busy at the open and the close, quiet at noon; the auction minute carries extra.
        const double t = i / 240.0;
        const double shape = 0.6 + 2.2 * (t - 0.5) * (t - 0.5) * 4.0 + (i == 0 ? 3.0 : 0.0);
        m.volume = std::max<long long>(1, std::llround(lotsPerMinute * shape * (0.5 + noise.uniform())));
        m.amount = roundTo(static_cast<double>(m.volume) * 100.0 * (m.open + m.close + m.high + m.low) / 4.0, 2);
        cumVolume += m.volume;
        cumAmount += m.amount;
        m.avg = roundTo(cumAmount / (static_cast<double>(cumVolume) * 100.0), 3);
        if (i > 0) {
            // Main money leans with the price move; retail takes the other side.
            const double direction = m.close > m.open ? 1.0 : (m.close < m.open ? -1.0 : 0.0);
            const double main = m.amount * (0.12 * direction + 0.08 * noise.normal());
            const double medium = m.amount * 0.05 * noise.normal();
            superFlow += main * 0.6;
            largeFlow += main * 0.4;
            mainFlow += main;
            mediumFlow += medium;
            smallFlow += -(main + medium);
        }
        m.mainFlow = roundTo(mainFlow, 1);
        m.smallFlow = roundTo(smallFlow, 1);
        m.mediumFlow = roundTo(mediumFlow, 1);
        m.largeFlow = roundTo(largeFlow, 1);
        m.superFlow = roundTo(superFlow, 1);
        last = m.close;
        minutes.push_back(m);
    }
    return minutes;
}

SimCandle MarketModel::candleOf(const Security& security, int day) const {
    {
        std::lock_guard guard(lock);
        const auto found = candleCache.find({security.symbol, day});
        if (found != candleCache.end()) return found->second;
    }
    const std::vector<SimMinute> minutes = fullDay(security, day);
    SimCandle c;
    c.day = day;
    c.open = minutes.front().open;
    c.close = minutes.back().close;
    c.high = minutes.front().high;
    c.low = minutes.front().low;
    for (const SimMinute& m : minutes) {
        c.high = std::max(c.high, m.high);
        c.low = std::min(c.low, m.low);
        c.volume += m.volume;
        c.amount += m.amount;
    }
    std::lock_guard guard(lock);
    if (candleCache.size() > 100000) candleCache.clear();
    candleCache.emplace(std::make_pair(security.symbol, day), c);
    return c;
}

SimView MarketModel::view(const Security& security, Instant now) const {
    const CivilTime china = Clock::chinaTime(now);
    int day = dayNumber(china.year, china.month, china.day);
    const int minuteOfDay = china.hour * 60 + china.minute;
    int done = 0;
    SimView v;
    v.security = security;
    v.stamp = china;
    if (!isTradingDay(day) || isSuspended(security.code)) {
        // A weekend, a holiday or a suspension shows the last trading day as it closed.
        day = previousTradingDay(day);
        done = 241;
        v.stamp = civilDay(day);
        v.stamp.hour = 15;
        v.stamp.second = 3;
    } else {
        done = minutesDone(minuteOfDay);
        if (minuteOfDay > 690 && minuteOfDay < 780) {
            v.stamp.hour = 11;
            v.stamp.minute = 30;
            v.stamp.second = 3;
        } else if (minuteOfDay > 900) {
            v.stamp.hour = 15;
            v.stamp.minute = 0;
            v.stamp.second = 3;
        }
    }
    v.day = day;
    v.prevClose = closeOf(security, previousTradingDay(day));
    if (done > 0) {
        v.minutes = fullDay(security, day);
        v.minutes.resize(static_cast<std::size_t>(done));
    }

    const std::optional<Override> over = overrideOf(security.code);
    if (over) {
        if (over->prevClose > 0) v.prevClose = over->prevClose;
        double price = over->price;
        if (!over->path.empty()) {
            std::size_t index = over->step;
            if (over->stepSeconds > 0) {
                const double elapsed = secondsBetween(over->start, now);
                index = elapsed <= 0 ? 0 : static_cast<std::size_t>(elapsed / over->stepSeconds);
            }
            price = over->path[std::min(index, over->path.size() - 1)];
        }
        if (price > 0 && !v.minutes.empty()) {
            SimMinute& lastMinute = v.minutes.back();
            lastMinute.close = price;
            lastMinute.high = std::max(lastMinute.high, price);
            lastMinute.low = std::min(lastMinute.low, price);
        } else if (price > 0) {
            v.price = price;
        }
    }

    if (v.minutes.empty()) {
        if (v.price <= 0) v.price = v.prevClose;
        return v;
    }
    v.open = v.minutes.front().open;
    v.high = v.minutes.front().high;
    v.low = v.minutes.front().low;
    for (const SimMinute& m : v.minutes) {
        v.high = std::max(v.high, m.high);
        v.low = std::min(v.low, m.low);
        v.volume += m.volume;
        v.amount += m.amount;
    }
    v.price = v.minutes.back().close;
    return v;
}

std::vector<SimCandle> MarketModel::candles(const SimView& view, int count) const {
    std::vector<SimCandle> out;
    if (count <= 0) return out;
    if (!view.minutes.empty()) {
        SimCandle today;
        today.day = view.day;
        today.open = view.open;
        today.close = view.price;
        today.high = view.high;
        today.low = view.low;
        today.volume = view.volume;
        today.amount = view.amount;
        out.push_back(today);
    }
    int day = view.day;
    while (static_cast<int>(out.size()) < count) {
        day = previousTradingDay(day);
        out.push_back(candleOf(view.security, day));
    }
    std::reverse(out.begin(), out.end());
    return out;
}

void MarketModel::pin(const std::string& code, double price, double prevClose) {
    std::lock_guard guard(lock);
    Override& o = overrides[code];
    o = Override{};
    o.price = price;
    o.prevClose = prevClose;
}

void MarketModel::script(const std::string& code, std::vector<double> prices, double stepSeconds, Instant start) {
    std::lock_guard guard(lock);
    Override& o = overrides[code];
    o = Override{};
    o.path = std::move(prices);
    o.stepSeconds = stepSeconds;
    o.start = start;
}

void MarketModel::stepScript(const std::string& code) {
    std::lock_guard guard(lock);
    const auto found = overrides.find(code);
    if (found == overrides.end() || found->second.path.empty() || found->second.stepSeconds > 0) return;
    ++found->second.step;
}

void MarketModel::suspend(const std::string& code) {
    std::lock_guard guard(lock);
    suspended.insert(code);
}

void MarketModel::clearOverrides() {
    std::lock_guard guard(lock);
    overrides.clear();
    suspended.clear();
}

bool MarketModel::isSuspended(const std::string& code) const {
    std::lock_guard guard(lock);
    return suspended.count(code) != 0;
}

std::optional<MarketModel::Override> MarketModel::overrideOf(const std::string& code) const {
    std::lock_guard guard(lock);
    const auto found = overrides.find(code);
    if (found == overrides.end()) return std::nullopt;
    return found->second;
}

} // namespace glimmer::sim
