#include "simmarket/SimMarket.h"

#include "simmarket/Replies.h"

#include <httplib.h>
#include <iconv.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <arpa/inet.h>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>

namespace glimmer::sim {

namespace {

std::string toGbk(const std::string& utf8) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return utf8;
    std::string out(utf8.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == static_cast<std::size_t>(-1)) return utf8;
    out.resize(out.size() - outLeft);
    return out;
}

/// Shuts down the connections accepted on these ports. The library only ends a kept-alive
/// connection when its idle time-out runs out, so without this a stop waits that long.
void shutDownConnections(const std::set<int>& ports) {
    std::error_code error;
    std::vector<int> fds;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/fd", error)) {
        int fd = -1;
        const std::string name = entry.path().filename().string();
        if (std::from_chars(name.data(), name.data() + name.size(), fd).ec == std::errc{}) fds.push_back(fd);
    }
    for (const int fd : fds) {
        sockaddr_storage local{};
        socklen_t length = sizeof local;
        if (::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length) != 0) continue;
        int port = 0;
        if (local.ss_family == AF_INET) port = ntohs(reinterpret_cast<const sockaddr_in&>(local).sin_port);
        if (local.ss_family == AF_INET6) port = ntohs(reinterpret_cast<const sockaddr_in6&>(local).sin6_port);
        if (ports.count(port) != 0) ::shutdown(fd, SHUT_RDWR);
    }
}

int readCount(const std::string& text, int fallback) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return fallback;
    return std::clamp(value, 1, 2000);
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const auto at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return parts;
        start = at + 1;
    }
}

int portOf(const sockaddr_storage& address) {
    if (address.ss_family == AF_INET) return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
    if (address.ss_family == AF_INET6) return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
    return -1;
}

/// Ends a client connection without a reply. The HTTP library gives handlers no socket, so the
/// socket is found by its two port numbers; shutdown (not close) leaves the descriptor to the
/// library, which then fails its write and closes it.
void dropConnection(const httplib::Request& request) {
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    const int last = static_cast<int>(std::min<rlim_t>(limit.rlim_cur, 65536));
    for (int fd = 3; fd < last; ++fd) {
        sockaddr_storage local{};
        sockaddr_storage peer{};
        socklen_t localSize = sizeof local;
        socklen_t peerSize = sizeof peer;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localSize) != 0) continue;
        if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerSize) != 0) continue;
        if (portOf(local) == request.local_port && portOf(peer) == request.remote_port) {
            shutdown(fd, SHUT_RDWR);
            return;
        }
    }
}

const char* const notJsonBody =
    "<html>\r\n<head><title>502 Bad Gateway</title></head>\r\n<body>\r\n<center><h1>502 Bad Gateway</h1></center>\r\n"
    "<hr><center>nginx</center>\r\n</body>\r\n</html>\r\n";

} // namespace

SimMarket::SimMarket() : SimMarket(Options{}) {
}

SimMarket::SimMarket(Options opts) : options(std::move(opts)), market(options.seed, options.holidays) {
    if (options.time) {
        manualClock.set(*options.time);
        isManualTime = true;
    }
    const int count = std::clamp(options.listeners, 1, 3);
    listeners.resize(static_cast<std::size_t>(count));
    const char* emRoles[] = {"eastmoney.history", "eastmoney.main", "eastmoney.delayed"};
    for (int i = 0; i < 3; ++i) listeners[static_cast<std::size_t>(i % count)].roles.push_back(emRoles[i]);
    for (const char* role : {"tencent.snapshot", "tencent.chart", "tencent.finance", "tencent.suggest", "sina.quotes"})
        listeners[0].roles.push_back(role);
}

SimMarket::~SimMarket() {
    stop();
}

bool SimMarket::start(std::string* error) {
    if (running) return true;
    {
        std::lock_guard guard(stateLock);
        isStopping = false;
    }
    for (std::size_t i = 0; i < listeners.size(); ++i) {
        Listener& l = listeners[i];
        l.server = std::make_unique<httplib::Server>();
        l.server->new_task_queue = [] { return new httplib::ThreadPool(6); };
        l.server->set_keep_alive_timeout(2);
        // Quote services keep a connection for many requests; the library's default of five made
        // every fifth request of a refresh pass open a new connection.
        l.server->set_keep_alive_max_count(100);
        // Small replies on a kept-alive connection would otherwise wait for the delayed ACK.
        l.server->set_tcp_nodelay(true);
        route(i);
        l.address = i < options.addresses.size() ? options.addresses[i] : options.host;
        bool bound = false;
        if (options.port == 0) {
            l.port = l.server->bind_to_any_port(l.address);
            bound = l.port > 0;
        } else {
            l.port = options.port + (options.addresses.empty() ? static_cast<int>(i) : 0);
            bound = l.server->bind_to_port(l.address, l.port);
        }
        if (!bound) {
            if (error) *error = "cannot listen on " + l.address + ":" + std::to_string(l.port);
            l.server.reset();
            stop();
            return false;
        }
        l.thread = std::thread([server = l.server.get()] { server->listen_after_bind(); });
        // The library ignores a stop that comes before its accept loop runs; wait for the loop.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!l.server->is_running() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    running = true;
    return true;
}

void SimMarket::stop() {
    {
        std::lock_guard guard(stateLock);
        isStopping = true;
        ++faultGeneration;
    }
    released.notify_all();
    std::set<int> ports;
    for (Listener& l : listeners) {
        if (!l.server) continue;
        l.server->stop();
        ports.insert(l.port);
    }
    shutDownConnections(ports);
    for (Listener& l : listeners) {
        if (l.thread.joinable()) l.thread.join();
        l.server.reset();
    }
    running = false;
}

int SimMarket::port(std::size_t listener) const {
    return listener < listeners.size() ? listeners[listener].port : 0;
}

std::string SimMarket::hostKey(std::size_t listener) const {
    if (listener >= listeners.size()) return {};
    const Listener& l = listeners[listener];
    const std::string address = l.address.empty() ? options.host : l.address;
    return address + ":" + std::to_string(l.port);
}

std::string SimMarket::origin(std::size_t listener) const {
    return "http://" + hostKey(listener);
}

Endpoints SimMarket::endpoints() const {
    Endpoints e;
    const std::size_t n = listeners.size();
    e.eastmoneyHistory = origin(0);
    e.eastmoneyMain = origin(1 % n);
    e.eastmoneyDelayed = origin(2 % n);
    e.tencentSnapshot = origin(0);
    e.tencentChart = origin(0);
    e.tencentFinance = origin(0);
    e.tencentSuggest = origin(0);
    e.sinaQuotes = origin(0);
    return e;
}

std::string SimMarket::endpointsJson() const {
    const Endpoints e = endpoints();
    nlohmann::ordered_json doc = {
        {"eastmoney.history", e.eastmoneyHistory}, {"eastmoney.main", e.eastmoneyMain},
        {"eastmoney.delayed", e.eastmoneyDelayed}, {"tencent.snapshot", e.tencentSnapshot},
        {"tencent.chart", e.tencentChart},         {"tencent.finance", e.tencentFinance},
        {"tencent.suggest", e.tencentSuggest},     {"sina.quotes", e.sinaQuotes},
    };
    return doc.dump(2) + "\n";
}

bool SimMarket::writeEndpointsFile(const std::filesystem::path& path) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << endpointsJson();
    return static_cast<bool>(out.flush());
}

void SimMarket::route(std::size_t index) {
    httplib::Server& s = *listeners[index].server;
    auto bind = [this, index](const char* family) {
        return [this, index, family](const httplib::Request& req, httplib::Response& res) {
            serve(index, family, req, res);
        };
    };
    s.Get("/api/qt/stock/trends2/get", bind("trends"));
    s.Get("/api/qt/stock/fflow/kline/get", bind("fflow"));
    s.Get(R"(/utf8/q=.*)", bind("snapshot"));
    s.Get(R"(/q=.*)", bind("snapshot"));
    s.Get("/appstock/app/minute/query", bind("minute"));
    s.Get("/cgi/cgi-bin/fundflow/hsfundtab", bind("fundflow"));
    s.Get("/appstock/app/fqkline/get", bind("fqkline"));
    s.Get("/s3/", bind("suggest"));
    s.Get("/quotes_service/api/json_v2.php/CN_MarketData.getKLineData", bind("sina"));
    auto controlHandler = [this](const httplib::Request& req, httplib::Response& res) { control(req, res); };
    s.Get(R"(/_sim/.*)", controlHandler);
    s.Post(R"(/_sim/.*)", controlHandler);
}

void SimMarket::serve(std::size_t index, const std::string& family, const httplib::Request& request,
                      httplib::Response& response) {
    std::uint64_t generation = 0;
    {
        std::lock_guard guard(stateLock);
        SimRequest entry;
        entry.sequence = nextSequence++;
        entry.family = family;
        entry.host = hostKey(index);
        entry.target = request.target;
        entry.time = now();
        if (log.size() >= 100000) log.erase(log.begin(), log.begin() + 50000);
        log.push_back(std::move(entry));
        generation = faultGeneration;
    }
    const std::optional<SimFault> fault = faultFor(family, index);
    ReplyShape shape = ReplyShape::Normal;
    if (fault) {
        switch (fault->kind) {
        case SimFault::Kind::Delay:
        case SimFault::Kind::Hang:
            if (!waitFor(fault->kind == SimFault::Kind::Hang ? -1 : fault->arg, generation)) {
                dropConnection(request);
                return;
            }
            break;
        case SimFault::Kind::Close:
            dropConnection(request);
            return;
        case SimFault::Kind::Empty:
            shape = ReplyShape::EmptyArray;
            break;
        case SimFault::Kind::NullData:
            shape = ReplyShape::NullData;
            break;
        default:
            break;
        }
    }
    Reply reply = build(family, request, shape);
    if (fault && fault->kind == SimFault::Kind::NotJson) {
        reply.body = notJsonBody;
        reply.contentType = "text/html";
    }
    if (fault && fault->kind == SimFault::Kind::Gbk) {
        reply.body = toGbk(reply.body);
        const auto charset = reply.contentType.find("charset=");
        if (charset != std::string::npos) reply.contentType = reply.contentType.substr(0, charset) + "charset=GBK";
    }
    if (fault && fault->kind == SimFault::Kind::Status) reply.status = fault->arg;
    response.status = reply.status;
    response.set_content(reply.body, reply.contentType.c_str());
}

SimMarket::Reply SimMarket::build(const std::string& family, const httplib::Request& request, ReplyShape shape) {
    Reply reply;
    const Instant at = now();
    Security security;
    if (family == "snapshot") {
        const bool utf8 = request.path.rfind("/utf8/", 0) == 0;
        const std::string list = request.path.substr(request.path.find("q=") + 2);
        std::vector<SimView> views;
        for (const std::string& symbol : split(list, ',')) {
            if (Universe::bySymbol(symbol, security)) views.push_back(market.view(security, at));
        }
        reply.body = Replies::snapshot(views, shape);
        for (const SimView& v : views) market.stepScript(v.security.code);
        reply.contentType = utf8 ? "text/html; charset=utf-8" : "text/html; charset=GBK";
        if (!utf8) reply.body = toGbk(reply.body);
    } else if (family == "trends" || family == "fflow") {
        const bool known = Universe::bySecid(request.get_param_value("secid"), security);
        const std::optional<SimView> v = known ? std::optional<SimView>(market.view(security, at)) : std::nullopt;
        reply.body = family == "trends" ? Replies::trends(v ? &*v : nullptr, shape)
                                        : Replies::eastmoneyFlow(v ? &*v : nullptr, shape);
    } else if (family == "minute" || family == "fundflow") {
        const std::string symbol = request.get_param_value("code");
        const bool known = Universe::bySymbol(symbol, security);
        const std::optional<SimView> v = known ? std::optional<SimView>(market.view(security, at)) : std::nullopt;
        reply.body = family == "minute" ? Replies::tencentMinutes(symbol, v ? &*v : nullptr, shape)
                                        : Replies::tencentFlow(symbol, v ? &*v : nullptr, shape);
    } else if (family == "fqkline") {
        const std::vector<std::string> param = split(request.get_param_value("param"), ',');
        const std::string symbol = param[0];
        const int count = param.size() > 4 ? readCount(param[4], 320) : 320;
        const bool adjusted = param.size() > 5 && param[5] == "qfq";
        if (Universe::bySymbol(symbol, security)) {
            const SimView v = market.view(security, at);
            reply.body = Replies::tencentCandles(symbol, &v, market.candles(v, count), adjusted, shape);
        } else {
            reply.body = Replies::tencentCandles(symbol, nullptr, {}, adjusted, shape);
        }
    } else if (family == "sina") {
        const int count = readCount(request.get_param_value("datalen"), 320);
        if (Universe::bySymbol(request.get_param_value("symbol"), security)) {
            const SimView v = market.view(security, at);
            reply.body = Replies::sinaCandles(&v, market.candles(v, count), shape);
        } else {
            reply.body = Replies::sinaCandles(nullptr, {}, shape);
        }
    } else if (family == "suggest") {
        reply.body = Replies::suggestion(Universe::search(request.get_param_value("q"), 20), shape);
        reply.contentType = "text/html; charset=utf-8";
    }
    return reply;
}

std::optional<SimFault> SimMarket::faultFor(const std::string& family, std::size_t index) const {
    std::lock_guard guard(stateLock);
    const std::string key = hostKey(index);
    const std::vector<std::string>& roles = listeners[index].roles;
    int bestScore = -1;
    std::optional<SimFault> best;
    for (const SimFaultRule& rule : rules) {
        if (rule.family != "*" && rule.family != family) continue;
        const bool hostMatches =
            rule.host.empty() || rule.host == key || std::find(roles.begin(), roles.end(), rule.host) != roles.end();
        if (!hostMatches) continue;
        const int score = (rule.host.empty() ? 0 : 2) + (rule.family == "*" ? 0 : 1);
        if (score >= bestScore) {
            bestScore = score;
            best = rule.fault;
        }
    }
    return best;
}

bool SimMarket::waitFor(int milliseconds, std::uint64_t generation) {
    std::unique_lock guard(stateLock);
    auto done = [&] { return isStopping || faultGeneration != generation; };
    if (milliseconds < 0)
        released.wait(guard, done);
    else
        released.wait_for(guard, std::chrono::milliseconds(milliseconds), done);
    return !isStopping;
}

void SimMarket::setFault(const SimFaultRule& rule) {
    {
        std::lock_guard guard(stateLock);
        std::erase_if(rules, [&](const SimFaultRule& r) { return r.family == rule.family && r.host == rule.host; });
        rules.push_back(rule);
        ++faultGeneration;
    }
    released.notify_all();
}

void SimMarket::setFault(const std::string& family, const std::string& host, SimFault fault) {
    setFault(SimFaultRule{family.empty() ? "*" : family, host, fault});
}

void SimMarket::clearFaults() {
    {
        std::lock_guard guard(stateLock);
        rules.clear();
        ++faultGeneration;
    }
    released.notify_all();
}

std::vector<SimFaultRule> SimMarket::faults() const {
    std::lock_guard guard(stateLock);
    return rules;
}

void SimMarket::pin(const std::string& code, double price, double prevClose) {
    market.pin(code, price, prevClose);
}

void SimMarket::script(const std::string& code, std::vector<double> prices, double stepSeconds) {
    market.script(code, std::move(prices), stepSeconds, now());
}

void SimMarket::suspend(const std::string& code) {
    market.suspend(code);
}

void SimMarket::clearPins() {
    market.clearOverrides();
}

Instant SimMarket::now() const {
    if (options.clock) return options.clock->now();
    if (isManualTime) return manualClock.now();
    return Clock::system().now();
}

bool SimMarket::setTime(Instant instant) {
    if (options.clock) return false;
    std::lock_guard guard(stateLock);
    manualClock.set(instant);
    isManualTime = true;
    return true;
}

bool SimMarket::advance(double seconds) {
    if (options.clock) return false;
    std::lock_guard guard(stateLock);
    if (!isManualTime) manualClock.set(Clock::system().now());
    isManualTime = true;
    manualClock.advance(seconds);
    return true;
}

std::size_t SimMarket::requestCount(const std::string& family, const std::string& host) const {
    std::lock_guard guard(stateLock);
    return static_cast<std::size_t>(std::count_if(log.begin(), log.end(), [&](const SimRequest& r) {
        return (family.empty() || r.family == family) && (host.empty() || r.host == host);
    }));
}

std::vector<SimRequest> SimMarket::requests() const {
    std::lock_guard guard(stateLock);
    return log;
}

void SimMarket::clearRequests() {
    std::lock_guard guard(stateLock);
    log.clear();
}

void SimMarket::reset() {
    clearFaults();
    clearPins();
    clearRequests();
}

std::optional<SimView> SimMarket::view(const std::string& codeOrSymbol) const {
    Security security;
    const bool found = codeOrSymbol.size() == 6 ? Universe::byCode(codeOrSymbol, security)
                                                : Universe::bySymbol(codeOrSymbol, security);
    if (!found) return std::nullopt;
    return market.view(security, now());
}

bool SimMarket::parseChinaTime(const std::string& text, Instant& out) {
    CivilTime t;
    char tail = 0;
    const int n = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &t.year, &t.month, &t.day, &t.hour, &t.minute,
                              &t.second, &tail);
    if (n != 5 && n != 6) return false;
    if (n == 5) t.second = 0;
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
        t.minute > 59 || t.second < 0 || t.second > 59)
        return false;
    out = Clock::instantAtOffset(t, 8 * 3600);
    return true;
}

std::string SimMarket::formatChinaTime(Instant instant) {
    const CivilTime t = Clock::chinaTime(instant);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", t.year % 10000, t.month, t.day, t.hour,
                  t.minute, t.second);
    return buffer;
}

} // namespace glimmer::sim
