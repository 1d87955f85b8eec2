#include "market/MarketAPI.h"

#include "model/AppLog.h"

#include <curl/curl.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <vector>

namespace glimmer {

namespace {

constexpr int maxConnectionsPerHost = 4;

void initialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct BodySink {
    std::string body;
    std::size_t limit = 0;
    bool isTooLarge = false;
};

size_t appendBody(char* data, size_t size, size_t count, void* user) {
    auto* sink = static_cast<BodySink*>(user);
    const size_t bytes = size * count;
    if (bytes > sink->limit - sink->body.size()) {
        sink->isTooLarge = true;
        return 0; // aborts the transfer
    }
    sink->body.append(data, bytes);
    return bytes;
}

// Scheme, host and path: the query may be long and says nothing about where the reply came from.
std::string withoutQuery(const std::string& url) {
    return url.substr(0, url.find('?'));
}

/// "host[:port]" of a valid http(s) URL, nothing for anything curl would not accept as one.
std::optional<std::string> validatedHost(const std::string& url) {
    CURLU* parsed = curl_url();
    if (!parsed) return std::nullopt;
    std::optional<std::string> result;
    if (curl_url_set(parsed, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK) {
        char* scheme = nullptr;
        char* host = nullptr;
        char* port = nullptr;
        if (curl_url_get(parsed, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
            curl_url_get(parsed, CURLUPART_HOST, &host, 0) == CURLUE_OK) {
            const std::string name = scheme;
            if (name == "http" || name == "https") {
                result = std::string(host);
                if (curl_url_get(parsed, CURLUPART_PORT, &port, 0) == CURLUE_OK) *result += std::string(":") + port;
            }
        }
        curl_free(scheme);
        curl_free(host);
        curl_free(port);
    }
    curl_url_cleanup(parsed);
    return result;
}

// "scheme://authority" of a URL, which alone decides its host; nothing without "://".
std::optional<std::string> originOf(const std::string& url) {
    const std::size_t scheme = url.find("://");
    if (scheme == std::string::npos) return std::nullopt;
    return url.substr(0, url.find_first_of("/?#", scheme + 3));
}

} // namespace

/// An easy handle with the multi handle that runs it: the multi handle's poll can be woken from
/// another thread, which a plain curl_easy_perform cannot.
struct Transfer {
    CURL* easy = nullptr;
    CURLM* multi = nullptr;
};

struct MarketAPI::Impl {
    CURLSH* share = nullptr;
    std::array<std::mutex, CURL_LOCK_DATA_LAST> shareLocks;

    // Keeps at most four transfers, and so at most four connections, per host.
    std::mutex hostLock;
    std::condition_variable hostFreed;
    std::map<std::string, int> busyPerHost;

    // Parsing a URL with libcurl costs more than the rest of a loopback request; a refresh pass
    // asks a handful of origins hundreds of times.
    std::mutex originLock;
    std::map<std::string, std::optional<std::string>> hostOfOrigin;

    std::optional<std::string> hostOf(const std::string& url) {
        const std::optional<std::string> origin = originOf(url);
        if (!origin) return std::nullopt;
        std::lock_guard guard(originLock);
        const auto known = hostOfOrigin.find(*origin);
        if (known != hostOfOrigin.end()) return known->second;
        if (hostOfOrigin.size() >= 64) hostOfOrigin.clear();
        return hostOfOrigin[*origin] = validatedHost(*origin);
    }

    // Set once when the program ends: running transfers stop at once and no new one starts.
    std::atomic<bool> abandoned{false};
    std::mutex runningLock;
    std::set<CURLM*> running;

    static void lockShare(CURL*, curl_lock_data data, curl_lock_access, void* user) {
        static_cast<Impl*>(user)->shareLocks[static_cast<std::size_t>(data)].lock();
    }
    static void unlockShare(CURL*, curl_lock_data data, void* user) {
        static_cast<Impl*>(user)->shareLocks[static_cast<std::size_t>(data)].unlock();
    }

    /// False when the client was abandoned while waiting for a free slot.
    bool enterHost(const std::string& host) {
        std::unique_lock guard(hostLock);
        hostFreed.wait(guard, [&] { return abandoned || busyPerHost[host] < maxConnectionsPerHost; });
        if (abandoned) return false;
        ++busyPerHost[host];
        return true;
    }
    void leaveHost(const std::string& host) {
        {
            std::lock_guard guard(hostLock);
            if (--busyPerHost[host] <= 0) busyPerHost.erase(host);
        }
        hostFreed.notify_all();
    }

    // Idle handles are kept: a fresh pair per request costs a wake-up socket pair and its own
    // connection bookkeeping, which dominated the client's CPU time in a refresh pass.
    std::mutex handleLock;
    std::vector<Transfer> idleTransfers;

    std::optional<Transfer> takeTransfer() {
        {
            std::lock_guard guard(handleLock);
            if (!idleTransfers.empty()) {
                const Transfer transfer = idleTransfers.back();
                idleTransfers.pop_back();
                return transfer;
            }
        }
        Transfer fresh{curl_easy_init(), curl_multi_init()};
        if (fresh.easy && fresh.multi) return fresh;
        release(fresh);
        return std::nullopt;
    }
    void returnTransfer(const Transfer& transfer) {
        curl_easy_reset(transfer.easy);
        std::lock_guard guard(handleLock);
        if (idleTransfers.size() < static_cast<std::size_t>(maxConnectionsPerHost)) {
            idleTransfers.push_back(transfer);
            return;
        }
        release(transfer);
    }
    static void release(const Transfer& transfer) {
        if (transfer.multi) curl_multi_cleanup(transfer.multi);
        if (transfer.easy) curl_easy_cleanup(transfer.easy);
    }

    /// Runs one transfer to its end, or until the client is abandoned.
    CURLcode perform(const Transfer& transfer) {
        {
            std::lock_guard guard(runningLock);
            running.insert(transfer.multi);
        }
        CURLcode result = CURLE_ABORTED_BY_CALLBACK;
        if (curl_multi_add_handle(transfer.multi, transfer.easy) == CURLM_OK) {
            result = runUntilDone(transfer.multi);
            curl_multi_remove_handle(transfer.multi, transfer.easy);
        }
        std::lock_guard guard(runningLock);
        running.erase(transfer.multi);
        return result;
    }
    CURLcode runUntilDone(CURLM* multi) {
        int active = 1;
        while (!abandoned) {
            if (curl_multi_perform(multi, &active) != CURLM_OK) return CURLE_FAILED_INIT;
            if (active == 0) {
                int left = 0;
                const CURLMsg* message = curl_multi_info_read(multi, &left);
                return message && message->msg == CURLMSG_DONE ? message->data.result : CURLE_FAILED_INIT;
            }
            // libcurl shortens the wait to its own next time-out; abandon() wakes it at once.
            if (curl_multi_poll(multi, nullptr, 0, 1000, nullptr) != CURLM_OK) return CURLE_FAILED_INIT;
        }
        return CURLE_ABORTED_BY_CALLBACK;
    }

    void abandon() {
        {
            std::lock_guard guard(hostLock);
            abandoned = true;
        }
        hostFreed.notify_all();
        std::lock_guard guard(runningLock);
        for (CURLM* multi : running) curl_multi_wakeup(multi);
    }
};

MarketAPI::MarketAPI() : impl(std::make_unique<Impl>()) {
    initialiseCurlOnce();
    impl->share = curl_share_init();
    if (impl->share) {
        curl_share_setopt(impl->share, CURLSHOPT_LOCKFUNC, &Impl::lockShare);
        curl_share_setopt(impl->share, CURLSHOPT_UNLOCKFUNC, &Impl::unlockShare);
        curl_share_setopt(impl->share, CURLSHOPT_USERDATA, impl.get());
        curl_share_setopt(impl->share, CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT);
        curl_share_setopt(impl->share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
        curl_share_setopt(impl->share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
    }
}

MarketAPI::~MarketAPI() {
    for (const Transfer& transfer : impl->idleTransfers) Impl::release(transfer);
    if (impl->share) curl_share_cleanup(impl->share);
}

std::optional<std::string> MarketAPI::httpGet(const std::string& url, const std::string& referer, double timeout,
                                              std::size_t maxBodyBytes) {
    HttpRequest request{url, referer, userAgent, timeout};
    request.maxBodyBytes = maxBodyBytes;
    return get(request);
}

std::optional<std::string> MarketAPI::get(const HttpRequest& request) {
    const auto host = impl->hostOf(request.url);
    if (!host) return std::nullopt;
    const double timeout = request.timeout > 0 && std::isfinite(request.timeout) ? request.timeout : 10;
    const double grace = request.graceSeconds >= 0 && std::isfinite(request.graceSeconds) ? request.graceSeconds : 3;

    if (impl->abandoned) return std::nullopt;
    const std::optional<Transfer> transfer = impl->takeTransfer();
    if (!transfer) return std::nullopt;
    CURL* curl = transfer->easy;

    BodySink sink;
    sink.limit = request.maxBodyBytes;
    // Room for a typical reply up front, rather than a dozen regrowths of the larger ones.
    sink.body.reserve(std::min<std::size_t>(sink.limit, 64 * 1024));
    curl_slist* headers = nullptr;
    headers = curl_slist_append(headers, ("User-Agent: " + request.userAgent).c_str());
    headers = curl_slist_append(headers, ("Referer: " + request.referer).c_str());

    const long timeoutMs = static_cast<long>(timeout * 1000);
    curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    if (impl->share) curl_easy_setopt(curl, CURLOPT_SHARE, impl->share);
#if LIBCURL_VERSION_NUM >= 0x075500
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    // A redirect may move a request onto https, never off it; a libcurl too old to say so follows none.
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
#endif
    curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
    // `timeout` bounds connecting and any stall without data; the whole call gives up `grace` later.
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, std::max(1L, static_cast<long>(std::ceil(timeout))));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, timeoutMs + static_cast<long>(grace * 1000));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &appendBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);

    CURLcode code = CURLE_ABORTED_BY_CALLBACK;
    if (impl->enterHost(*host)) {
        code = impl->perform(*transfer);
        impl->leaveHost(*host);
    }

    long status = 0;
    if (code == CURLE_OK) curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    impl->returnTransfer(*transfer);
    curl_slist_free_all(headers);

    if (sink.isTooLarge) {
        AppLog::write("WARN", "回复超过 " + std::to_string(request.maxBodyBytes / 1024) + " KB 上限，已放弃：" +
                                  withoutQuery(request.url));
        return std::nullopt;
    }
    if (code != CURLE_OK) return std::nullopt;
    if (status != 200 && !request.acceptsAnyStatus) return std::nullopt;
    return std::move(sink.body);
}

void MarketAPI::abandonTransfers() {
    impl->abandon();
}

} // namespace glimmer
