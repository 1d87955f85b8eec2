#pragma once

#include "market/FetchContext.h"
#include "market/IntradaySnapshot.h"
#include "market/ReplyJson.h"

#include <optional>
#include <string>

namespace glimmer::QQIntraday {

/// Request URL of the Tencent minute query for one symbol ("sh600519").
std::string url(const std::string& origin, const std::string& symbol);

/// The minutes of one Tencent minute reply with the quote carried in its "qt" record (a placeholder
/// quote with price 0 and the fallback name when that record is missing or unusable). Nothing when
/// the reply holds no usable minute.
std::optional<IntradaySnapshot> parse(const ReplyJson& json, const std::string& symbol, const std::string& code,
                                      const std::string& fallbackName, Instant now);

/// The Tencent minute query alone, guarded by the "qq.intraday" cool-down.
std::optional<IntradaySnapshot> fetchIntradayQQ(const std::string& symbol, const std::string& code,
                                                const std::string& fallbackName, const FetchContext& context,
                                                double timeout = 10);

} // namespace glimmer::QQIntraday
