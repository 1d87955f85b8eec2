#include "ChartSamples.h"

#include <QTime>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace glimmer::samples {

std::vector<std::string> tradingMinutes() {
    // Providers deliver 09:30 ... 11:30 and 13:01 ... 15:00: 241 records.
    std::vector<std::string> times;
    for (int m = 9 * 60 + 30; m <= 15 * 60; ++m)
        if (m <= 11 * 60 + 30 || m > 13 * 60) times.push_back(QTime(m / 60, m % 60).toString("HH:mm").toStdString());
    return times;
}

Day stockDay(bool closesUp, std::size_t count) {
    Day day;
    std::mt19937 random(closesUp ? 20261204u : 20261205u);
    std::normal_distribution<double> step(0, 0.9);
    std::uniform_real_distribution<double> share(0.7, 1.3);
    const auto times = tradingMinutes();
    count = std::min(count, times.size());
    const double prevClose = 1675.50, open = prevClose + (closesUp ? 2.5 : -1.8);
    const double drift = (closesUp ? 18.0 : -16.0) / 241;
    double price = open, high = open, low = open, lots = 0, amount = 0, main = 0, retail = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const double previous = price;
        price = std::round((price + drift + step(random)) * 100) / 100;
        high = std::max(high, price);
        low = std::min(low, price);
        // Heavy auction-driven first minute, a busier close, quiet lunch-side minutes.
        const double drawn = 260 * share(random);
        const double volume = std::round(i == 0 ? 5200 : i > 225 ? drawn * 1.3 : drawn);
        lots += volume;
        amount += volume * 100 * price;
        day.minutes.push_back(
            {times[i], price, std::round(amount / (lots * 100) * 100) / 100, volume, volume * 100 * price});
        // Big orders follow the price move; retail money mostly takes the other side.
        const double inflow =
            (i == 0 ? 0 : price - previous) * volume * 100 * 6 + (closesUp ? 0.4e6 : -0.35e6) + step(random) * 0.6e6;
        main += inflow;
        retail -= inflow * 0.45 + step(random) * 0.3e6;
        day.flow.push_back({times[i], std::round(main), std::round(retail)});
    }
    // Code, name, price, previous close, open, high, low, volume, amount, date and time.
    day.quote = {"600519", "贵州茅台",   count == 0 ? prevClose : price,         prevClose, open, high, low, lots,
                 amount,   "2026-12-04", count == 0 ? "09:25" : times[count - 1]};
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
