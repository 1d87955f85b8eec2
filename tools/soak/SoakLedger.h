#pragma once

#include "model/MarketEntry.h"

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace glimmer::soak {

/// One security whose entry dropped data it had once loaded.
struct SoakLoss {
    std::string code;
    std::string what; // "quote", "minutes", "flow" or "daily"
};

/// Watches the store's entries pass after pass: once an entry has shown a quote, minutes, flow or
/// daily bars it must keep showing them whatever the providers do; and counts cool-downs from the
/// cooling keys seen at each pass end.
class SoakLedger {
public:
    /// Compares the entries with everything seen before; returns the losses of this pass.
    std::vector<SoakLoss> observe(const std::vector<MarketEntry>& entries);
    /// Counts the keys that started cooling since the previous call.
    void observeCooling(const std::vector<std::string>& coolingKeys);

    std::size_t lostEntries() const { return lost.size(); }
    std::size_t lossCount() const { return losses; }
    std::size_t cooldownsEntered() const { return cooldowns; }
    const std::map<std::string, std::size_t>& cooldownsByKey() const { return cooldownKeys; }
    /// Entries that have had each kind of data at some point.
    std::size_t loadedCount(const std::string& what) const;

private:
    struct Seen {
        bool quote = false;
        bool minutes = false;
        bool flow = false;
        bool daily = false;
    };
    std::map<std::string, Seen> seen;
    std::set<std::string> lost;
    std::size_t losses = 0;
    std::set<std::string> cooling;
    std::size_t cooldowns = 0;
    std::map<std::string, std::size_t> cooldownKeys;
};

/// Resident memory of this process in kilobytes (VmRSS), 0 when unreadable.
long residentKilobytes();

} // namespace glimmer::soak
