#include "SoakLedger.h"

#include <fstream>
#include <sstream>

namespace glimmer::soak {

std::vector<SoakLoss> SoakLedger::observe(const std::vector<MarketEntry>& entries) {
    std::vector<SoakLoss> found;
    for (const MarketEntry& e : entries) {
        Seen& s = seen[e.item.code];
        const auto check = [&](bool& had, bool has, const char* what) {
            if (had && !has) {
                found.push_back({e.item.code, what});
                lost.insert(e.item.code);
                ++losses;
            }
            had = had || has;
        };
        check(s.quote, e.quote.has_value(), "quote");
        check(s.minutes, !e.minutes.empty(), "minutes");
        check(s.flow, !e.flow.empty(), "flow");
        check(s.daily, !e.daily.empty(), "daily");
    }
    return found;
}

void SoakLedger::observeCooling(const std::vector<std::string>& coolingKeys) {
    std::set<std::string> now(coolingKeys.begin(), coolingKeys.end());
    for (const std::string& key : now) {
        if (cooling.count(key)) continue;
        ++cooldowns;
        ++cooldownKeys[key];
    }
    cooling = std::move(now);
}

std::size_t SoakLedger::loadedCount(const std::string& what) const {
    std::size_t count = 0;
    for (const auto& [code, s] : seen) {
        if ((what == "quote" && s.quote) || (what == "minutes" && s.minutes) || (what == "flow" && s.flow) ||
            (what == "daily" && s.daily))
            ++count;
    }
    return count;
}

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) != 0) continue;
        std::istringstream fields(line.substr(6));
        long kb = 0;
        fields >> kb;
        return kb;
    }
    return 0;
}

} // namespace glimmer::soak
