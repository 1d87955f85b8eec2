#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace glimmer::sim {

enum class SecurityKind { Stock, Etf, Index };

/// One security of the simulated market. `symbol` is the Tencent form ("sh600519"), the key used
/// throughout the simulation because an index and a stock can share six digits (sh000001, sz000001).
struct Security {
    std::string symbol;
    std::string code;
    std::string name;   // UTF-8
    std::string pinyin; // lower-case abbreviation used by the suggestion service
    SecurityKind kind = SecurityKind::Stock;
    double basePrice = 10.0;
    double dailyTurnover = 1e9; // yuan, a typical day

    bool isShanghai() const { return symbol.rfind("sh", 0) == 0; }
    /// Tencent prints fund prices with three decimals, everything else with two.
    int decimals() const { return kind == SecurityKind::Etf ? 3 : 2; }
};

/// The securities the simulated market knows by name; any other well-formed code still trades
/// under a generic name.
namespace Universe {

/// Whether a six-digit code belongs to Shanghai (first character 5, 6 or 9).
bool isShanghaiCode(std::string_view code);
bool isSixDigits(std::string_view text);

/// The security of a Tencent symbol ("sh600519"); false for a symbol the market does not list
/// (no "sh"/"sz" prefix, not six digits, or a prefix that contradicts the code's exchange).
bool bySymbol(std::string_view symbol, Security& out);
/// The security of a bare code, on the exchange the code belongs to.
bool byCode(std::string_view code, Security& out);
/// The security of an Eastmoney id ("1.600519", "0.000001").
bool bySecid(std::string_view secid, Security& out);

/// Suggestion search: code prefix, pinyin prefix (ASCII case-insensitive) or part of the name.
std::vector<Security> search(std::string_view query, std::size_t limit);

/// The built-in list, in display order.
const std::vector<Security>& listed();

} // namespace Universe

} // namespace glimmer::sim
