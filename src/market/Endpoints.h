#pragma once

#include <filesystem>
#include <string>

namespace glimmer {

/// Provider origins ("scheme://host[:port]"). The built-in values are the real services; the JSON
/// file named by GLIMMERBOX_ENDPOINTS replaces any of them (tests, the demo and deployments point
/// them at the simulated market). A request URL is origin + path.
struct Endpoints {
    std::string eastmoneyHistory = "https://push2his.eastmoney.com";
    std::string eastmoneyMain = "https://push2.eastmoney.com";
    std::string eastmoneyDelayed = "https://push2delay.eastmoney.com";
    std::string tencentSnapshot = "https://qt.gtimg.cn";
    std::string tencentChart = "https://web.ifzq.gtimg.cn";
    std::string tencentFinance = "https://proxy.finance.qq.com";
    std::string tencentSuggest = "https://smartbox.gtimg.cn";
    std::string sinaQuotes = "https://money.finance.sina.com.cn";

    bool operator==(const Endpoints&) const = default;

    /// Reads an endpoints file; keys "eastmoney.history", "eastmoney.main", "eastmoney.delayed",
    /// "tencent.snapshot", "tencent.chart", "tencent.finance", "tencent.suggest", "sina.quotes".
    /// Missing keys keep the defaults. On failure returns false and sets `error`.
    static bool fromFile(const std::filesystem::path& file, Endpoints& out, std::string& error);

    /// "host[:port]" of an origin: the source-health key part, so loopback hosts on several ports
    /// stay separate keys.
    static std::string hostKey(const std::string& origin);
};

/// Referer origins of the providers' public quote pages.
namespace Referers {
inline constexpr const char* tencent = "https://gu.qq.com";
inline constexpr const char* eastmoneyQuote = "https://quote.eastmoney.com";
inline constexpr const char* eastmoneyData = "https://data.eastmoney.com";
inline constexpr const char* sina = "https://finance.sina.com.cn";
} // namespace Referers

} // namespace glimmer
