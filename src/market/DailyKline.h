#pragma once

#include "market/FetchContext.h"
#include "model/MarketRecords.h"

#include <string>
#include <string_view>
#include <vector>

namespace glimmer::DailyKline {

/// Request URLs of `count` daily candles of a symbol ("sh600519").
std::string tencentUrl(const Endpoints& endpoints, const std::string& symbol, int count);
std::string sinaUrl(const Endpoints& endpoints, const std::string& symbol, int count);

/// One Tencent day reply. `isUsable` is false when the reply fails the source check (not JSON, no
/// "data" object or no object for the symbol in it); a usable reply may hold no rows.
struct TencentReply {
    bool isUsable = false;
    std::vector<DailyBar> bars;
};

/// Forward-adjusted "qfqday" rows, else the plain "day" rows, in reply order.
TencentReply parseTencent(std::string_view text, const std::string& symbol);
/// The Sina day objects in reply order (unadjusted); empty for anything but an array of objects.
std::vector<DailyBar> parseSina(std::string_view text);

/// The two sources alone: Tencent guarded by the "qq.fqkline" cool-down, Sina never skipped.
std::vector<DailyBar> fetchDailyTencent(const std::string& symbol, int count, const FetchContext& context,
                                        double timeout = 10);
std::vector<DailyBar> fetchDailySina(const std::string& symbol, int count, const FetchContext& context,
                                     double timeout = 10);

/// Tencent first, then Sina (logged); the forcing switch skips Tencent.
std::vector<DailyBar> fetchDaily(const std::string& symbol, int count, const FetchContext& context,
                                 double timeout = 10);

} // namespace glimmer::DailyKline
