#pragma once

#include "model/Clock.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace glimmer {

/// Shared failure table: two consecutive failures of one source start a 120 s cool-down during
/// which the fetchers skip it and go to their fallback. Safe for any thread.
class SourceHealth {
public:
    static constexpr int cooldownThreshold = 2;
    static constexpr double cooldownSeconds = 120;

    bool shouldSkip(const std::string& key, Instant now);
    /// Counts one failure; true exactly when this failure starts a new cool-down (log only then).
    bool recordFailure(const std::string& key, Instant now);
    void recordSuccess(const std::string& key);
    /// Keys whose cool-down ends after `now`, sorted ascending.
    std::vector<std::string> coolingKeys(Instant now);
    /// Forgets everything (tests, diagnostics).
    void reset();
    /// The program is ending: transfers cut short say nothing about their source, so from now on
    /// nothing is counted (and no cool-down starts or is logged).
    void freeze();

private:
    std::mutex lock;
    std::map<std::string, int> consecutiveFailures;
    std::map<std::string, Instant> coolingUntil;
    bool isFrozen = false;
};

} // namespace glimmer
