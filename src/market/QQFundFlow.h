#pragma once

#include "market/FetchContext.h"
#include "market/ReplyJson.h"
#include "model/MarketRecords.h"

#include <string>
#include <vector>

namespace glimmer::QQFundFlow {

/// Request URL of the Tencent fund-flow table for one symbol ("sz000001").
std::string url(const std::string& origin, const std::string& symbol);

/// The minutes 09:30-15:00 of "data"."todayFundTrend"."minList"; empty when the path is missing.
std::vector<FlowPoint> parseMinutes(const ReplyJson& json);

/// The Tencent fund-flow table alone, guarded by the "qq.fundflow" cool-down.
std::vector<FlowPoint> fetchFlowQQ(const std::string& symbol, const FetchContext& context, double timeout = 10);

} // namespace glimmer::QQFundFlow
