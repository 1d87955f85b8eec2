#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace glimmer {

/// The longest body each kind of reply may have, many times the longest real one (measured on
/// the simulated market: 40 snapshot records 18 KB, a day of minutes 19 KB, of fund flow 43 KB,
/// 320 daily bars 36 KB, a search under 1 KB). Parsing costs about fifty bytes per byte of JSON,
/// so a longer reply is refused before it is parsed.
namespace ReplyLimit {
inline constexpr std::size_t snapshotBatch = 1u << 20;
inline constexpr std::size_t minutes = 1u << 20;
inline constexpr std::size_t fundFlow = 1u << 20;
inline constexpr std::size_t dailyBars = 2u << 20;
inline constexpr std::size_t search = 256u << 10;
} // namespace ReplyLimit

/// One GET as the client sends it.
struct HttpRequest {
    std::string url;
    std::string referer;
    std::string userAgent;
    /// Bounds connecting and any stall without data, seconds.
    double timeout = 10;
    /// The call returns nothing at the latest this many seconds after `timeout`.
    double graceSeconds = 3;
    /// Only an HTTP 200 reply gives a body unless this is set.
    bool acceptsAnyStatus = false;
    /// A longer body gives nothing and a warning in the event log.
    std::size_t maxBodyBytes = ReplyLimit::minutes;
};

/// The one blocking HTTP client of every market request (libcurl). Never call it on the UI thread;
/// safe to call from two threads at once.
class MarketAPI {
public:
    MarketAPI();
    ~MarketAPI();
    MarketAPI(const MarketAPI&) = delete;
    MarketAPI& operator=(const MarketAPI&) = delete;

    /// The browser identity every quote request carries.
    static constexpr const char* userAgent = "Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15 "
                                             "(KHTML, like Gecko) Version/16.0 Safari/605.1.15";

    /// GET with the two header fields; the body of an HTTP 200 reply no longer than `maxBodyBytes`,
    /// otherwise nothing. Gives up after `timeout` + 3 seconds whatever the server does.
    std::optional<std::string> httpGet(const std::string& url, const std::string& referer, double timeout = 10,
                                       std::size_t maxBodyBytes = ReplyLimit::minutes);
    /// The general form behind `httpGet`; nothing for an invalid URL, a transport error or time-out.
    std::optional<std::string> get(const HttpRequest& request);
    /// The program is ending: every running transfer stops at once and gives nothing, and so does
    /// every later request. There is no way back.
    void abandonTransfers();

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

} // namespace glimmer
