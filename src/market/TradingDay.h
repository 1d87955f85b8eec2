#pragma once

#include "model/Clock.h"

#include <string>
#include <vector>

namespace glimmer {

/// What the exchange is doing at an instant, as far as polling cares.
enum class MarketPhase {
    Session,    // weekday 09:15 to 15:05 outside the lunch break: poll at the refresh setting
    PreOpen,    // 09:15 to 09:31 while the quotes still carry an earlier date: the auction is polled,
                // the minute and flow series, which cannot have today's data yet, wait
    LunchBreak, // 11:31 to 12:58: no price can change
    Holiday,    // a weekday the quotes showed to be closed
    Closed,     // nights and weekends
};

/// What the quotes have told about the exchange's calendar. Dates are China dates, "yyyy-MM-dd".
struct TradingDayState {
    std::string closedOn; // a weekday whose quotes all stopped on an earlier date
    std::string openOn;   // a day a quote carried as its own trade date
    std::string dataDate; // the latest trade date of the last snapshot

    bool operator==(const TradingDayState&) const = default;
};

/// What one snapshot changed.
enum class TradingDayChange { None, Closed, Reopened };

/// The exchange day as the quotes show it. No holiday table: after 09:31 on a weekday, a snapshot
/// whose dated quotes all stopped before today makes today a holiday; a quote dated today makes it a
/// trading day. Pure functions of the China time and the state; the market store applies them.
class TradingDay {
public:
    /// Weekdays 09:15 to 15:05 inclusive on the exchange's clock, lunch included.
    static bool isTradingTime(Instant instant);
    /// The exchange's calendar date, "yyyy-MM-dd".
    static std::string dateOf(Instant instant);

    static MarketPhase phase(Instant now, const TradingDayState& state);
    /// Only the session and the auction before it poll at the refresh setting; everything else at
    /// the off-hours rate.
    static bool pollsFast(MarketPhase phase) { return phase == MarketPhase::Session || phase == MarketPhase::PreOpen; }
    /// The lunch break keeps the trading-time TTLs; a holiday is closed all day, and so is the
    /// auction until the quotes show today.
    static bool usesTradingTTLs(MarketPhase phase);

    /// Takes the trade dates of one snapshot's quotes (empty or malformed ones are ignored).
    static TradingDayChange observe(TradingDayState& state, Instant now, const std::vector<std::string>& tradeDates);

    /// The log line of a change; empty for none.
    static std::string logLine(TradingDayChange change, const TradingDayState& state);
    /// "开市", "午休" or "休市（数据日期 …）" for the refresh trace.
    static std::string describe(MarketPhase phase, const TradingDayState& state);
};

} // namespace glimmer
