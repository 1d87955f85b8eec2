#include "market/TradingDay.h"

#include <algorithm>
#include <cstdio>

namespace glimmer {

namespace {

constexpr int sessionStart = 9 * 60 + 15;
constexpr int sessionEnd = 15 * 60 + 5;
// By 09:31 every security that trades today has printed today's date, so old dates mean a holiday.
constexpr int verdictFrom = 9 * 60 + 31;
// 11:30's quote is still caught; 12:59 is fast again so the first afternoon minute is not missed.
constexpr int lunchStart = 11 * 60 + 31;
constexpr int lunchEnd = 12 * 60 + 58;

int minuteOfDay(const CivilTime& t) {
    return t.hour * 60 + t.minute;
}

bool isWeekday(const CivilTime& t) {
    return t.weekday != 0 && t.weekday != 6;
}

// "yyyy-MM-dd" in ASCII digits: such dates order as text.
bool isDate(const std::string& text) {
    if (text.size() != 10) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool dash = i == 4 || i == 7;
        if (dash ? text[i] != '-' : (text[i] < '0' || text[i] > '9')) return false;
    }
    return true;
}

} // namespace

bool TradingDay::isTradingTime(Instant instant) {
    const CivilTime t = Clock::chinaTime(instant);
    const int minute = minuteOfDay(t);
    return isWeekday(t) && minute >= sessionStart && minute <= sessionEnd;
}

std::string TradingDay::dateOf(Instant instant) {
    const CivilTime t = Clock::chinaTime(instant);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.year, t.month, t.day);
    return text;
}

MarketPhase TradingDay::phase(Instant now, const TradingDayState& state) {
    if (!isTradingTime(now)) return MarketPhase::Closed;
    if (state.closedOn == dateOf(now)) return MarketPhase::Holiday;
    const int minute = minuteOfDay(Clock::chinaTime(now));
    if (minute >= lunchStart && minute <= lunchEnd) return MarketPhase::LunchBreak;
    // A trading day's auction dates its quotes today from 09:15; until then, or on a holiday, the
    // day has no minutes yet.
    if (minute < verdictFrom && state.dataDate < dateOf(now)) return MarketPhase::PreOpen;
    return MarketPhase::Session;
}

bool TradingDay::usesTradingTTLs(MarketPhase phase) {
    return phase == MarketPhase::Session || phase == MarketPhase::LunchBreak;
}

TradingDayChange TradingDay::observe(TradingDayState& state, Instant now, const std::vector<std::string>& tradeDates) {
    std::string latest;
    for (const std::string& date : tradeDates) {
        if (isDate(date)) latest = std::max(latest, date);
    }
    if (latest.empty()) return TradingDayChange::None;
    state.dataDate = latest;
    const std::string today = dateOf(now);

    if (latest >= today) {
        state.openOn = today;
        if (state.closedOn.empty()) return TradingDayChange::None;
        // An earlier holiday ends quietly when the news would come after the session.
        const bool worthSaying = state.closedOn == today || isTradingTime(now);
        state.closedOn.clear();
        return worthSaying ? TradingDayChange::Reopened : TradingDayChange::None;
    }

    if (state.closedOn == today || state.openOn == today) return TradingDayChange::None;
    const int minute = minuteOfDay(Clock::chinaTime(now));
    if (!isTradingTime(now) || minute < verdictFrom) return TradingDayChange::None;
    state.closedOn = today;
    return TradingDayChange::Closed;
}

std::string TradingDay::logLine(TradingDayChange change, const TradingDayState& state) {
    switch (change) {
    case TradingDayChange::Closed:
        return "今日休市（行情日期停在 " + state.dataDate + "），改为每 5 分钟刷新";
    case TradingDayChange::Reopened:
        return "今日开市，恢复盘中刷新";
    case TradingDayChange::None:
        break;
    }
    return {};
}

std::string TradingDay::describe(MarketPhase phase, const TradingDayState& state) {
    switch (phase) {
    case MarketPhase::Session:
    case MarketPhase::PreOpen:
        return "开市";
    case MarketPhase::LunchBreak:
        return "午休";
    case MarketPhase::Holiday:
    case MarketPhase::Closed:
        break;
    }
    return state.dataDate.empty() ? "休市" : "休市（数据日期 " + state.dataDate + "）";
}

} // namespace glimmer
