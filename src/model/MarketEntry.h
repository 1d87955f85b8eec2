#pragma once

#include "model/MarketRecords.h"
#include "model/SharedSeries.h"

#include <optional>
#include <string>
#include <vector>

namespace glimmer {

/// Everything the market store keeps for one watch-list security. Readers always get copies.
struct MarketEntry {
    WatchItem item;
    std::optional<Quote> quote;
    SharedSeries<MinuteBar> minutes; // oldest first
    SharedSeries<FlowPoint> flow;    // oldest first
    SharedSeries<DailyBar> daily;    // oldest first
    std::optional<Instant> minutesLoadedAt;
    std::optional<Instant> flowLoadedAt;
    std::string dailyLoadedOn; // "yyyy-MM-dd", empty when never loaded
    int dailyDepth = 0;        // candles asked for when `daily` was loaded; fewer once trimmed
    std::optional<Instant> updatedAt;
    std::optional<std::string> error;

    MarketEntry() = default;
    explicit MarketEntry(WatchItem watchItem) : item(std::move(watchItem)) {}

    bool operator==(const MarketEntry&) const = default;
};

} // namespace glimmer
