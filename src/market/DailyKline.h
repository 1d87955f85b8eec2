#pragma once

#include "market/SourceHealth.h"
#include "model/Clock.h"
#include "model/MarketRecords.h"

#include <string>
#include <string_view>
#include <vector>

namespace glimmer::DailyKline {

/// Request URLs of `count` daily candles of a symbol ("sh600519").
std::string tencentUrl(const std::string& symbol, int count);
std::string sinaUrl(const std::string& symbol, int count);

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
std::vector<DailyBar> fetchDailyTencent(const std::string& symbol, int count, const Clock& clock = Clock::system(),
                                        SourceHealth& health = SourceHealth::shared(), double timeout = 10);
std::vector<DailyBar> fetchDailySina(const std::string& symbol, int count, double timeout = 10);

/// Tencent first, then Sina (logged); GLIMMERBOX_FORCE_SINA_K present in any form skips Tencent.
std::vector<DailyBar> fetchDaily(const std::string& symbol, int count, const Clock& clock = Clock::system(),
                                 SourceHealth& health = SourceHealth::shared(), double timeout = 10);

} // namespace glimmer::DailyKline
