#pragma once

#include <nlohmann/json_fwd.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace glimmer {

/// The one blocking HTTP client of every market request (libcurl). Never call it on the UI thread;
/// safe to call from two threads at once.
class MarketAPI {
public:
    static MarketAPI& shared();

    MarketAPI();
    ~MarketAPI();
    MarketAPI(const MarketAPI&) = delete;
    MarketAPI& operator=(const MarketAPI&) = delete;

    /// GET with the two header fields; the body of an HTTP 200 reply, otherwise nothing. Gives up
    /// after `timeout` + 3 seconds whatever the server does.
    std::optional<std::string> httpGet(const std::string& url, const std::string& referer, double timeout = 10);

    /// UTF-8 when valid and non-empty, else GB 18030, else nothing.
    static std::optional<std::string> decodeText(const std::optional<std::string>& data);
    /// A JSON number as is, a numeric string parsed as a decimal number, anything else nothing.
    static std::optional<double> num(const nlohmann::json& value);

    /// Eastmoney push-host origins in the order the intraday and fund-flow fetchers try them.
    static std::vector<std::string> trendsHosts();
    static std::vector<std::string> flowHosts();

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

} // namespace glimmer
