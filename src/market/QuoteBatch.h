#pragma once

#include "market/FetchContext.h"
#include "model/Clock.h"
#include "model/MarketRecords.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

/// The Tencent batch snapshot and the parser of its reply: records `v_<symbol>="<payload>";` whose payload is a list
/// of "~"-separated fields at fixed positions. Total on any bytes: a record that cannot be used is
/// dropped, nothing throws.
namespace glimmer::QuoteBatch {

/// Every record of a reply, keyed by code; a later record with the same code replaces an earlier one.
std::map<std::string, Quote> parse(std::string_view text, Instant now = Clock::system().now());

/// The record scanner: (symbol, payload) pairs with both parts non-empty, in reply order.
std::vector<std::pair<std::string, std::string>> records(std::string_view text);

/// One record; nothing when it has 35 fields or fewer or an empty name.
std::optional<Quote> parseRecord(std::string_view symbol, std::string_view payload,
                                 Instant now = Clock::system().now());

/// "20241108150003" → "2024-11-08"; empty for fewer than 8 characters.
std::string tradeDate(std::string_view stamp);
/// "20241108150003" → "15:00"; nothing for fewer than 12 characters.
std::optional<std::string> quoteTime(std::string_view stamp);

/// Symbols per snapshot request.
inline constexpr std::size_t chunkSize = 60;

/// The snapshot of every item, keyed by code; empty when the source is cooling down or the first
/// request fails. One request per `chunkSize` symbols.
std::map<std::string, Quote> fetch(const std::vector<WatchItem>& items, const FetchContext& context);

} // namespace glimmer::QuoteBatch
