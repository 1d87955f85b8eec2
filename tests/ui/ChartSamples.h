#pragma once

#include "model/MarketRecords.h"

#include <vector>

namespace glimmer::samples {

/// A trading day shaped like the providers' replies: a heavy opening minute, cumulative average price.
struct Day {
    Quote quote;
    std::vector<MinuteBar> minutes;
    std::vector<FlowPoint> flow;
};

/// The first `count` of 241 minutes of a stock that closes above (or below) its previous close.
Day stockDay(bool closesUp, std::size_t count = 241);
std::vector<std::string> tradingMinutes();
std::vector<DailyBar> dailyBars(std::size_t count, double startPrice = 1650);

} // namespace glimmer::samples
