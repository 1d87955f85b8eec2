#include "model/Holdings.h"

#include <cmath>

namespace glimmer::Holdings {

namespace {

// Quotes carry at most three decimals; whole thousandths keep their differences exact.
double milli(double price) {
    return std::round(price * 1000);
}

// Yuan from an amount in thousandths, rounded half away from zero to the fen.
double yuanFromMilli(double amount) {
    return std::round(amount / 10) / 100;
}

} // namespace

std::optional<std::int64_t> sharesFrom(double value) {
    if (!std::isfinite(value) || value < 0 || value != std::trunc(value) || value > double(maxShares)) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(value);
}

std::optional<double> costFrom(double value) {
    if (!std::isfinite(value) || value <= 0 || value > maxCost) return std::nullopt;
    return value;
}

std::optional<HoldingFigures> figures(const WatchItem& item, const std::optional<Quote>& quote) {
    if (!item.shares || *item.shares <= 0 || !quote || !(quote->price > 0)) return std::nullopt;
    HoldingFigures f;
    f.shares = *item.shares;
    const double shares = double(f.shares);
    const double priceMilli = milli(quote->price);
    f.marketValue = yuanFromMilli(priceMilli * shares);
    if (quote->prevClose > 0) f.todayProfit = yuanFromMilli((priceMilli - milli(quote->prevClose)) * shares);
    if (item.cost && *item.cost > 0) {
        const double costAmount = *item.cost * shares;
        f.totalProfit = yuanFromMilli(priceMilli * shares - costAmount * 1000);
        f.totalPercent = (quote->price - *item.cost) / *item.cost * 100;
    }
    return f;
}

std::optional<HoldingFigures> figures(const MarketEntry& entry) {
    return figures(entry.item, entry.quote);
}

HoldingTotals totals(const std::vector<MarketEntry>& entries) {
    HoldingTotals sum;
    const auto add = [](std::optional<double>& total, const std::optional<double>& part) {
        if (part) total = total.value_or(0) + *part;
    };
    for (const MarketEntry& entry : entries) {
        const std::optional<HoldingFigures> f = figures(entry);
        if (!f) continue;
        ++sum.positions;
        sum.marketValue += f->marketValue;
        add(sum.todayProfit, f->todayProfit);
        add(sum.totalProfit, f->totalProfit);
    }
    return sum;
}

} // namespace glimmer::Holdings
