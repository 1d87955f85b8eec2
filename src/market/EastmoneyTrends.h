#pragma once

#include "market/IntradaySnapshot.h"
#include "market/SourceHealth.h"
#include "model/Clock.h"

#include <optional>
#include <string>
#include <string_view>

namespace glimmer::EastmoneyTrends {

/// Request URL of the one-day minute trends of `secid` on one push host.
std::string url(const std::string& origin, const std::string& secid);

/// One trends reply. `isUsable` is false when the reply fails the source check (not JSON, no "data"
/// object, no non-empty "trends" array of strings); a usable reply may still hold no usable minute.
struct Reply {
    bool isUsable = false;
    std::optional<IntradaySnapshot> snapshot;
};

Reply parse(std::string_view text, const std::string& code, const std::string& fallbackName, Instant now);

/// Today's minutes: the Eastmoney push hosts in order (a cooling host is skipped, a failing one is
/// counted against its own key), then the Tencent minute query. GLIMMERBOX_FORCE_QQ_INTRADAY=1 goes
/// to Tencent at once.
std::optional<IntradaySnapshot> fetchIntraday(const std::string& secid, const std::string& code,
                                              const std::string& fallbackName, const Clock& clock = Clock::system(),
                                              SourceHealth& health = SourceHealth::shared(), double timeout = 10);

} // namespace glimmer::EastmoneyTrends
