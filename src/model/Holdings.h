#pragma once

#include "model/MarketEntry.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace glimmer {

/// What one position is worth and has earned, in yuan rounded to the fen.
struct HoldingFigures {
    std::int64_t shares = 0;
    double marketValue = 0;
    /// (price − previous close) × shares; none without a previous close.
    std::optional<double> todayProfit;
    /// (price − cost) × shares and its percent of cost × shares; none without a cost.
    std::optional<double> totalProfit;
    std::optional<double> totalPercent;

    bool operator==(const HoldingFigures&) const = default;
};

/// The sums over every position that has figures; a sum is none when no position has its part.
struct HoldingTotals {
    int positions = 0;
    double marketValue = 0;
    std::optional<double> todayProfit;
    std::optional<double> totalProfit;

    bool operator==(const HoldingTotals&) const = default;
};

namespace Holdings {

/// The most shares an item may hold; larger counts are taken for typing errors.
inline constexpr std::int64_t maxShares = 1'000'000'000'000;
/// The highest cost price per share in yuan; no listed security comes near it either.
inline constexpr double maxCost = 1'000'000;

/// A share count from a stored or typed number: whole, from 0 to `maxShares`.
std::optional<std::int64_t> sharesFrom(double value);
/// A cost price per share: above 0 and at most `maxCost`.
std::optional<double> costFrom(double value);

/// Figures of a position with shares above 0 and a quote with a price; none otherwise. Prices are
/// taken to the 0.001 yuan tick, so prices with two and three decimals multiply out exactly.
std::optional<HoldingFigures> figures(const WatchItem& item, const std::optional<Quote>& quote);
std::optional<HoldingFigures> figures(const MarketEntry& entry);

HoldingTotals totals(const std::vector<MarketEntry>& entries);

} // namespace Holdings
} // namespace glimmer
