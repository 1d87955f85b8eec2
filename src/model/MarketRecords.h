#pragma once

#include "model/Clock.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace glimmer {

enum class InstrumentKind { stock, etf };

const char* rawValue(InstrumentKind kind);
std::optional<InstrumentKind> instrumentKindFromRaw(const std::string& raw);

/// One instrument on the user's watch list. Row identity is `code`; equality is memberwise.
struct WatchItem {
    WatchItem() = default;
    WatchItem(std::string code, std::string name, InstrumentKind kind = InstrumentKind::stock)
        : code(std::move(code)), name(std::move(name)), kind(kind) {}

    std::string code;
    std::string name;
    InstrumentKind kind = InstrumentKind::stock;
    /// Shares held (a whole number, 0 or more) and the cost price per share (above 0), when known.
    std::optional<std::int64_t> shares;
    std::optional<double> cost;
    /// Keys of the stored item this version does not know, each with its JSON text, so a save
    /// keeps what a newer version wrote there.
    std::map<std::string, std::string> otherKeys;

    const std::string& id() const { return code; }
    bool operator==(const WatchItem&) const = default;
};

/// Last-price snapshot of one instrument. A price of 0 or less means there is no valid price.
struct Quote {
    std::string code{};
    std::string name{};
    double price = 0;
    double prevClose = 0;
    double open = 0;
    double high = 0;
    double low = 0;
    double volume = 0;
    double amount = 0;
    std::string tradeDate{};
    std::optional<std::string> quoteTime{};
    Instant updatedAt{};

    bool operator==(const Quote&) const = default;

    double change() const { return price - prevClose; }
    /// Percent change against the previous close; 0 when there is no previous close.
    double changePercent() const { return prevClose > 0 ? (price - prevClose) / prevClose * 100.0 : 0.0; }
};

struct MinuteBar {
    std::string time{}; // "HH:mm"
    double price = 0;
    double avg = 0;
    double volume = 0;
    double amount = 0;

    bool operator==(const MinuteBar&) const = default;
};

/// Cumulative net inflows since the open, yuan.
struct FlowPoint {
    std::string time{}; // "HH:mm"
    double main = 0;
    double retail = 0;

    bool operator==(const FlowPoint&) const = default;
};

/// One forward-adjusted daily candle.
struct DailyBar {
    std::string date{}; // "yyyy-MM-dd"
    double open = 0;
    double close = 0;
    double high = 0;
    double low = 0;
    double volume = 0;

    bool operator==(const DailyBar&) const = default;
};

/// The quote's own name when the provider gave one, otherwise the watch-list name.
std::string displayName(const Quote* quote, const WatchItem& item);

} // namespace glimmer
