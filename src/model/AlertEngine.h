#pragma once

#include "model/AlertEvent.h"
#include "model/AppConfig.h"
#include "model/MarketEntry.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace glimmer {

/// Turns the latest data of one security into alert events: price thresholds that fire once per
/// crossing and re-arm past a 0.2 % band, and signal rules throttled by a cool-down. Holds its own
/// memory of fired alerts for the life of the process; no lock, called from one thread at a time.
class AlertEngine {
public:
    static constexpr std::size_t maxLatestEvents = 30;
    /// Main-force money must fall by at least this much (yuan) for a falling run to count.
    static constexpr double mainFallingMinimumDrop = 5'000'000;

    /// The events this data fires, in rule order: price alerts, fast rise, fast drop, scissors,
    /// main falling, moving-average periods. `now` stamps the events and measures cool-downs.
    std::vector<AlertEvent> evaluate(const MarketEntry& entry, const AlertConfig& config, Instant now);

    /// The most recent events of all securities, oldest first, at most `maxLatestEvents`.
    const std::vector<AlertEvent>& latestEvents() const { return latest; }

    /// Whether the price alert with this id has fired and not yet re-armed.
    bool isPriceAlertLatched(const Uuid& id) const;

    /// "kind|code|tag": the key one cool-down is measured under.
    static std::string cooldownKey(AlertKind kind, const std::string& code, const std::string& tag);

private:
    struct Pass; // one security's data and the events fired for it so far

    // One function per rule, in the order `evaluate` runs them.
    void checkPriceAlert(Pass& pass, const PriceAlert& alert);
    void checkFastMoves(Pass& pass);
    void checkScissors(Pass& pass);
    void checkMainFalling(Pass& pass);
    void checkMovingAverageTouches(Pass& pass);
    /// Adds the event unless its key is still cooling down (price alerts skip the cool-down).
    void fire(Pass& pass, AlertKind kind, const std::string& tag, std::string message, bool skipCooldown);

    std::map<std::string, Instant> lastFired;
    // By the alert id's UUID string: true from a crossing until the price moves back past the band.
    std::map<std::string, bool> priceAlertLatch;
    std::vector<AlertEvent> latest;
};

} // namespace glimmer
