#include "market/SourceHealth.h"

#include <algorithm>
#include <chrono>

namespace glimmer {

bool SourceHealth::shouldSkip(const std::string& key, Instant now) {
    std::lock_guard guard(lock);
    const auto found = coolingUntil.find(key);
    if (found == coolingUntil.end()) return false;
    if (now < found->second) return true;
    // An expired cool-down is a fresh start: two new failures are needed to cool down again.
    coolingUntil.erase(found);
    consecutiveFailures.erase(key);
    return false;
}

bool SourceHealth::recordFailure(const std::string& key, Instant now) {
    std::lock_guard guard(lock);
    if (isFrozen) return false;
    const int count = ++consecutiveFailures[key];
    if (count < cooldownThreshold) return false;
    const auto found = coolingUntil.find(key);
    const bool wasCooling = found != coolingUntil.end() && now < found->second;
    coolingUntil[key] =
        now + std::chrono::duration_cast<Instant::duration>(std::chrono::duration<double>(cooldownSeconds));
    return !wasCooling;
}

void SourceHealth::recordSuccess(const std::string& key) {
    std::lock_guard guard(lock);
    if (isFrozen) return;
    consecutiveFailures.erase(key);
    coolingUntil.erase(key);
}

std::vector<std::string> SourceHealth::coolingKeys(Instant now) {
    std::lock_guard guard(lock);
    std::vector<std::string> keys;
    for (const auto& [key, until] : coolingUntil) {
        if (until > now) keys.push_back(key);
    }
    std::sort(keys.begin(), keys.end()); // already ordered by the map; kept explicit for the contract
    return keys;
}

void SourceHealth::freeze() {
    std::lock_guard guard(lock);
    isFrozen = true;
}

void SourceHealth::reset() {
    std::lock_guard guard(lock);
    consecutiveFailures.clear();
    coolingUntil.clear();
}

} // namespace glimmer
