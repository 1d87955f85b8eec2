#pragma once

#include "market/Endpoints.h"
#include "market/MarketAPI.h"
#include "market/SourceHealth.h"
#include "model/Clock.h"

#include <functional>
#include <optional>
#include <string>

namespace glimmer {

/// Operator switches that send a fetch straight to one provider, or trace every refresh pass.
struct SourceSwitches {
    bool forceQQIntraday = false; // GLIMMERBOX_FORCE_QQ_INTRADAY exactly "1"
    bool forceQQFlow = false;     // GLIMMERBOX_FORCE_QQ_FLOW exactly "1"
    bool forceSinaDaily = false;  // GLIMMERBOX_FORCE_SINA_K present with any value, even empty
    bool traceRefresh = false;    // GLIMMERBOX_REFRESH_TRACE present with any value

    bool operator==(const SourceSwitches&) const = default;
};

/// What every fetch is made with. The composition root builds one and hands it to the store and the
/// fetchers; a test builds its own, so no fetch reaches for process-wide state.
struct FetchContext {
    using Environment = std::function<std::optional<std::string>(const char* name)>;

    MarketAPI& http;
    SourceHealth& health;
    const Clock& clock;
    Endpoints endpoints = {};
    SourceSwitches switches = {};

    /// The endpoints (GLIMMERBOX_ENDPOINTS) and the switches as the environment sets them; read once,
    /// at start. An endpoints file that cannot be read or parsed is reported on standard error and
    /// leaves the built-in endpoints.
    static FetchContext fromEnvironment(MarketAPI& http, SourceHealth& health, const Clock& clock,
                                        const Environment& environment);
};

} // namespace glimmer
