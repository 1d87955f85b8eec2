#pragma once

#include "market/FetchContext.h"
#include "model/MarketRecords.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glimmer {

/// One suggestion of the symbol search. Identity is `code`; equality is memberwise.
struct SymbolHit {
    std::string code;
    std::string name;
    InstrumentKind kind = InstrumentKind::stock;

    const std::string& id() const { return code; }
    bool operator==(const SymbolHit&) const = default;
};

/// Symbol search by code, Chinese name or pinyin abbreviation (Tencent suggestion service). Takes no
/// part in source health: a failure is just an empty list.
namespace SymbolSearch {

/// The request URL; the query goes out as UTF-8 percent-encoding of every byte outside ASCII letters
/// and digits.
std::optional<std::string> url(const Endpoints& endpoints, std::string_view query);

/// Blocking, up to about 6 s; never on the UI thread. The first `limit` hits in provider order.
std::vector<SymbolHit> search(std::string_view query, int limit, const FetchContext& context);

/// A blocking search as the watch-list field runs it on a worker thread.
using Lookup = std::function<std::vector<SymbolHit>(const std::string& query)>;

/// The reply parser: entries between the first and last double quote, "^"-separated, fields "~"-separated.
std::vector<SymbolHit> parse(std::string_view text);

/// "\u8d35\u5dde" → "贵州"; any other backslash is copied unchanged.
std::string decodeEscapes(std::string_view text);

inline constexpr const char* userAgent = "Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15";

} // namespace SymbolSearch
} // namespace glimmer
