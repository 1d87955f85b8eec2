#pragma once

#include "model/Clock.h"
#include "simmarket/Universe.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace glimmer::sim {

/// One minute of the simulated day. `label` is the minute of the day the providers print
/// (570 = 09:30, the opening auction plus the first minute; 900 = 15:00).
struct SimMinute {
    int label = 570;
    double open = 0, close = 0, high = 0, low = 0;
    long long volume = 0; // lots of 100 shares
    double amount = 0;    // yuan
    double avg = 0;       // running average price
    // Cumulative net inflows since the open, yuan.
    double mainFlow = 0, smallFlow = 0, mediumFlow = 0, largeFlow = 0, superFlow = 0;
};

/// A daily candle; `day` is the count of days since 1970-01-01.
struct SimCandle {
    int day = 0;
    double open = 0, close = 0, high = 0, low = 0;
    long long volume = 0;
    double amount = 0;
};

/// What the market shows for one security at one instant: the trading day cut at the minutes that
/// have happened so far, with pins and scripted prices applied. Every reply is built from this, so
/// the snapshot, the minute series, the fund flow and today's candle always agree.
struct SimView {
    Security security;
    int day = 0;     // the trading day shown
    CivilTime stamp; // provider time stamp (China time)
    double prevClose = 0;
    double price = 0;                   // last price; the previous close before the first minute
    double open = 0, high = 0, low = 0; // 0 before the first minute
    long long volume = 0;
    double amount = 0;
    std::vector<SimMinute> minutes; // the minutes that have happened, 0 to 241
};

/// The deterministic market: a seeded, mean-reverting daily random walk per security and, inside
/// each trading day, a random path from the open to the close. Pins and scripted paths override
/// the last price. Holidays are weekdays without trading: they show the last trading day as it
/// closed, as weekends do. Safe for concurrent use.
class MarketModel {
public:
    explicit MarketModel(std::uint64_t seed = 1, std::set<int> holidays = {});

    std::uint64_t seed() const { return seedValue; }

    /// Minute labels of the trading day in order: 09:30-11:30 and 13:01-15:00, 241 of them.
    static const std::vector<int>& minuteLabels();
    /// How many minutes of the day have happened at a China wall-clock minute of the day.
    static int minutesDone(int minuteOfDay);
    /// Days since 1970-01-01 of a civil date, and back.
    static int dayNumber(int year, int month, int day);
    static CivilTime civilDay(int dayNumber);
    /// A weekday that is not one of the holidays.
    bool isTradingDay(int dayNumber) const;
    int previousTradingDay(int dayNumber) const;
    const std::set<int>& holidays() const { return closedDays; }

    /// The view of a security at an instant.
    SimView view(const Security& security, Instant now) const;
    /// The daily candles up to the view's day (today's candle from the view when a minute has
    /// happened), oldest first, at most `count`.
    std::vector<SimCandle> candles(const SimView& view, int count) const;

    /// The full trading day of a security (all 241 minutes).
    std::vector<SimMinute> fullDay(const Security& security, int day) const;
    double closeOf(const Security& security, int day) const;

    /// Pins the last price (and the previous close when `prevClose` > 0) of a code.
    void pin(const std::string& code, double price, double prevClose = 0);
    /// Scripts a price path: with `stepSeconds` > 0 the path advances with the clock from `start`,
    /// otherwise by one step on every `stepScript` (every snapshot request naming the code).
    void script(const std::string& code, std::vector<double> prices, double stepSeconds, Instant start);
    void stepScript(const std::string& code);
    /// Suspends a code: it shows the last trading day before today as it closed.
    void suspend(const std::string& code);
    /// Drops pins, scripts and suspensions.
    void clearOverrides();

private:
    struct Override {
        double price = 0;
        double prevClose = 0;
        std::vector<double> path;
        double stepSeconds = 0;
        Instant start;
        std::size_t step = 0;
    };

    SimCandle candleOf(const Security& security, int day) const;
    const std::vector<double>& closeSeries(const Security& security, int day) const;
    std::optional<Override> overrideOf(const std::string& code) const;
    bool isSuspended(const std::string& code) const;

    std::uint64_t seedValue;
    std::set<int> closedDays;
    mutable std::mutex lock;
    mutable std::map<std::string, std::vector<double>> closes; // symbol -> closes from the anchor day
    mutable std::map<std::pair<std::string, int>, SimCandle> candleCache;
    std::map<std::string, Override> overrides;
    std::set<std::string> suspended;
};

} // namespace glimmer::sim
