#include "ChartSamples.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace glimmer::samples {

std::vector<std::string> tradingMinutes() {
    std::vector<std::string> times;
    char buffer[8];
    const auto add = [&](int from, int to) {
        for (int m = from; m <= to; ++m) {
            std::snprintf(buffer, sizeof buffer, "%02d:%02d", m / 60, m % 60);
            times.emplace_back(buffer);
        }
    };
    // Providers deliver 09:30 ... 11:30 and 13:01 ... 15:00: 241 records.
    add(9 * 60 + 30, 11 * 60 + 30);
    add(13 * 60 + 1, 15 * 60);
    return times;
}

Day stockDay(bool closesUp, std::size_t count) {
    Day day;
    std::mt19937 random(closesUp ? 20261204u : 20261205u);
    std::normal_distribution<double> step(0, 0.9);
    std::uniform_real_distribution<double> share(0.7, 1.3);

    const auto times = tradingMinutes();
    count = std::min(count, times.size());
    const double prevClose = 1675.50;
    const double drift = (closesUp ? 18.0 : -16.0) / 241;
    double price = prevClose + (closesUp ? 2.5 : -1.8);
    double lots = 0;
    double amount = 0;
    double main = 0;
    double retail = 0;
    for (std::size_t i = 0; i < count; ++i) {
        price = std::round((price + drift + step(random)) * 100) / 100;
        // Heavy auction-driven first minute, a busier close, quiet lunch-side minutes.
        double volume = 260 * share(random);
        if (i == 0) volume = 5200;
        if (i > 225) volume *= 1.3;
        volume = std::round(volume);
        lots += volume;
        amount += volume * 100 * price;
        const double avg = std::round(amount / (lots * 100) * 100) / 100;
        day.minutes.push_back({times[i], price, avg, volume, volume * 100 * price});

        // Big orders follow the price move; retail money mostly takes the other side.
        const double move = i == 0 ? 0 : price - day.minutes[i - 1].price;
        const double inflow = move * volume * 100 * 6 + (closesUp ? 0.4e6 : -0.35e6) + step(random) * 0.6e6;
        main += inflow;
        retail -= inflow * 0.45 + step(random) * 0.3e6;
        day.flow.push_back({times[i], std::round(main), std::round(retail)});
    }
    Quote& q = day.quote;
    q.code = "600519";
    q.name = "贵州茅台";
    q.prevClose = prevClose;
    q.open = prevClose + (closesUp ? 2.5 : -1.8);
    q.price = day.minutes.empty() ? prevClose : day.minutes.back().price;
    q.high = q.low = q.open;
    for (const auto& minute : day.minutes) {
        q.high = std::max(q.high, minute.price);
        q.low = std::min(q.low, minute.price);
    }
    q.volume = lots;
    q.amount = amount;
    q.tradeDate = "2026-12-04";
    q.quoteTime = day.minutes.empty() ? "09:25" : day.minutes.back().time;
    return day;
}

std::vector<DailyBar> dailyBars(std::size_t count, double startPrice) {
    std::vector<DailyBar> bars;
    std::mt19937 random(7u + static_cast<unsigned>(count));
    std::normal_distribution<double> change(0.0006, 0.016);
    std::uniform_real_distribution<double> wick(0.0, 0.009);
    double close = startPrice;
    char date[16];
    for (std::size_t i = 0; i < count; ++i) {
        const double open = std::round(close * (1 + change(random) * 0.3) * 100) / 100;
        close = std::round(open * (1 + change(random)) * 100) / 100;
        const double high = std::round(std::max(open, close) * (1 + wick(random)) * 100) / 100;
        const double low = std::round(std::min(open, close) * (1 - wick(random)) * 100) / 100;
        // Dates only need to be ordered and well formed for the charts.
        std::snprintf(date, sizeof date, "2026-%02zu-%02zu", 1 + (i / 28) % 12, 1 + i % 28);
        bars.push_back({date, open, close, high, low, 30000 + double(i % 17) * 1500});
    }
    return bars;
}

} // namespace glimmer::samples
