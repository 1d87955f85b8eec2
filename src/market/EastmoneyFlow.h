#pragma once

#include "market/FetchContext.h"
#include "model/MarketRecords.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glimmer::EastmoneyFlow {

/// The push-host origins in the order the fund flow is asked for.
std::vector<std::string> hosts(const Endpoints& endpoints);

/// Request URL of today's minute fund flow of `secid` on one push host.
std::string url(const std::string& origin, const std::string& secid);

/// One fund-flow reply. `isUsable` is false when the reply fails the source check (not JSON, no
/// "data" object, no non-empty "klines" array of strings); a usable reply may still hold no point.
struct Reply {
    bool isUsable = false;
    std::vector<FlowPoint> points;
};

Reply parse(std::string_view text);

/// Today's minute fund flow of one security, named by its Eastmoney `secid` and its Tencent `symbol`:
/// the Eastmoney push hosts in order, then the Tencent fund-flow table. The forcing switch goes to
/// Tencent at once.
std::vector<FlowPoint> fetchFlow(const std::string& secid, const std::string& symbol, const FetchContext& context,
                                 double timeout = 10);

} // namespace glimmer::EastmoneyFlow
