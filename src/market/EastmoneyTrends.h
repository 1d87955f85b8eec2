#pragma once

#include "market/FetchContext.h"
#include "market/IntradaySnapshot.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glimmer::EastmoneyTrends {

/// The push-host origins in the order the minute trends are asked for.
std::vector<std::string> hosts(const Endpoints& endpoints);

/// Request URL of the one-day minute trends of `secid` on one push host.
std::string url(const std::string& origin, const std::string& secid);

/// One trends reply. `isUsable` is false when the reply fails the source check (not JSON, no "data"
/// object, no non-empty "trends" array of strings); a usable reply may still hold no usable minute.
struct Reply {
    bool isUsable = false;
    std::optional<IntradaySnapshot> snapshot;
};

Reply parse(std::string_view text, const std::string& code, const std::string& fallbackName, Instant now);

/// Today's minutes of `code` (Eastmoney `secid`): the Eastmoney push hosts in order (a cooling host is skipped, a
/// failing one is counted against its own key), then the Tencent minute query. The forcing switch goes to Tencent at
/// once.
std::optional<IntradaySnapshot> fetchIntraday(const std::string& secid, const std::string& code,
                                              const std::string& fallbackName, const FetchContext& context,
                                              double timeout = 10);

} // namespace glimmer::EastmoneyTrends
